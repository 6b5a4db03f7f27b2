#include "config/messages.h"

namespace pt {

const char* const kPortSettingsTitleLine = "; ********* 温度測定　通信用 *********";

}  // namespace pt
