#include "logger/messages.h"

namespace pt {

const char* const kNoProperReplyText = "正常な応答がありません";
const char* const kCannotSendText = "送信出来ません";
const char* const kBadClockText = "設定日時が異常です";
const char* const kBadSampleCountText = "温度データの数のデータが異常 !!";

const ReadFailureTexts kMemoReadTexts = {"送信出来ません[MEM] ！！", "応答が有りません[MEM] ！！"};
const ReadFailureTexts kStartReadTexts = {"送信出来ません[STR] ！！", "応答が有りません[STR] ！！"};
const ReadFailureTexts kPointerReadTexts = {"送信出来ません[PT] ！！", "応答が有りません[PT] ！！"};
const ReadFailureTexts kSampleReadTexts = {"送信出来ません[TAVO] ！！", "応答が有りません[TAVO] ！！"};

// Full-width vertical line, slash, horizontal bar and backslash.
const char* const kSpinnerFrames[4] = {"｜", "／", "―", "＼"};

}  // namespace pt
