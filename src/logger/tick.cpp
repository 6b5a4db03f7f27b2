#include "logger/tick.h"

#include "logger/exchange.h"
#include "logger/jobs.h"
#include "serial/port.h"

namespace pt {

void HandleTimer(Dialog& dlg, unsigned timerId) {
  switch (timerId & 0xFFFFu) {
    case kReplyTimerId:
      // One-shot: it fires once for each send that started it.
      dlg.StopTimer(kReplyTimerId);
      OnReplyTimerExpired();
      break;
    case kSettleTimerId:
      dlg.StopTimer(kSettleTimerId);
      OnSettleTimerExpired();
      break;
    case kTickTimerId:
      // Stopped while the tick's work runs, so a step that shows a box is never entered again.
      dlg.StopTimer(kTickTimerId);
      if (Port.ClosePortFlag != 0) {
        Port.ClosePortFlag = 0;
        ClosePort();
      } else {
        JobTick(dlg);
      }
      // A job that ended in this tick gives the fine resolution back at once.
      SyncFineTimers(dlg);
      dlg.StartTimer(kTickTimerId, kTickTimerMs);
      break;
    default:
      break;
  }
}

}  // namespace pt
