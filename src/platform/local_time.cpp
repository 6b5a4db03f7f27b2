#include "platform/local_time.h"

namespace pt {
namespace {

LocalTimeSource gSource = SystemLocalTime;
ZonedTimeSource gZonedSource = SystemZonedTime;

}  // namespace

LocalTime GetLocalTimeNow() { return gSource(); }

void SetLocalTimeSource(LocalTimeSource source) { gSource = source ? source : SystemLocalTime; }
LocalTimeSource CurrentLocalTimeSource() { return gSource; }

ZonedTime GetZonedTimeNow() { return gZonedSource(); }

void SetZonedTimeSource(ZonedTimeSource source) { gZonedSource = source ? source : SystemZonedTime; }

}  // namespace pt
