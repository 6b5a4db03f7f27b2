#include "interrupt.h"

namespace cli {

void CatchInterrupt() {}
bool Interrupted() { return false; }

}  // namespace cli
