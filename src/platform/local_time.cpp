#include "platform/local_time.h"

namespace pt {
namespace {

LocalTimeSource gSource = SystemLocalTime;

}  // namespace

LocalTime GetLocalTimeNow() { return gSource(); }

void SetLocalTimeSource(LocalTimeSource source) { gSource = source ? source : SystemLocalTime; }
LocalTimeSource CurrentLocalTimeSource() { return gSource; }

}  // namespace pt
