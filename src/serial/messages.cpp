#include "serial/messages.h"

namespace pt {

const char* const kPortOpenFailureFormat =
    "%s 通信機能は使えません！\n   Error = %d\n他のアプリケーションが通信していませんか？\n"
    "通信ポート番号は正しいですか？\n通信ドライバーは正常ですか？\n";

const char* const kPortErrorCaption = "Error";
const char* const kPortDisabledLabel = "[Disable]";

const char* const kPortEventsStepText = "SetCommMask()";
const char* const kPortQueuesStepText = "SetupComm";
const char* const kPortLineStepText = "SetCommState";

}  // namespace pt
