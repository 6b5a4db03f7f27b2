#include "failure_kind.h"

#include <cstring>

namespace cli {

namespace {

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

FailureReading ReadFailure(const char* text, const char* caption, bool ackJob, const char* reply,
                           const std::string& port, const std::string& report) {
  if (std::strcmp(caption, "Error") == 0) return {kExitPort, "cannot use " + port};
  if (std::strcmp(text, "正常な応答がありません") == 0) {
    // The exchange empties its buffer at each send: anything left after the resend was an answer.
    if (ackJob && reply != nullptr && reply[0] != '\0') {
      return {kExitRefused, "the logger on " + port + " refused the command"};
    }
    return {kExitNoReply, "no proper reply from the logger on " + port};
  }
  if (StartsWith(text, "送信出来ません")) return {kExitPort, "cannot send the command to " + port};
  if (StartsWith(text, "応答が有りません")) return {kExitNoReply, "no reply from the logger on " + port};
  if (std::strcmp(text, "設定日時が異常です") == 0) {
    return {kExitBadInput, "the clock must be 14 characters, YYYYMMDDhhmmss"};
  }
  if (StartsWith(text, "温度データの数のデータが異常")) {
    return {kExitData, "the logger's sample count is unreadable or more than a download can hold; no report written"};
  }
  if (std::strcmp(text, "年月日時分のデータが異常") == 0) {
    return {kExitData, "the start record is not a usable date; " + report + " is incomplete"};
  }
  // The report is replaced whole: after either failure the earlier one is still in place.
  if (StartsWith(text, "ﾌｧｲﾙｵｰﾌﾟﾝｴﾗｰ")) return {kExitFile, "cannot create " + report};
  if (StartsWith(text, "ﾌｧｲﾙﾗｲﾄｴﾗｰ")) return {kExitFile, "writing " + report + " failed; the earlier one is kept"};
  return {kExitOther, ""};
}

}  // namespace cli
