#include <cstring>

#include "platform/system_error.h"

namespace pt {

std::string SystemErrorText(int code) { return std::strerror(code); }

}  // namespace pt
