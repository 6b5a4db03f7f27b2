#include "sim_protocol.h"

#include <cstdio>

namespace sim {
namespace {

bool AllDigits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return !s.empty();
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool LineAssembler::Feed(char c) {
  if (c == '\r') {
    line_ = std::move(pending_);
    length_ = pendingLength_;
    overLong_ = pendingLength_ > kMaxLine;
    pending_.clear();
    pendingLength_ = 0;
    return true;
  }
  ++pendingLength_;
  if (pending_.size() < kMaxLine) pending_.push_back(c);
  return false;
}

bool SampleIndex(std::string_view line, std::size_t& index) {
  if (!StartsWith(line, "Rdt") || line.size() != 7 || !AllDigits(line.substr(3))) return false;
  index = std::stoul(std::string(line.substr(3)));
  return true;
}

std::string ReplyLine(std::string_view text) {
  std::string out = "\n";
  out += text;
  out += '\r';
  return out;
}

Logger::Logger(LoggerData data) : data_(std::move(data)) {
  data_.memo.resize(kMemoSize, ' ');
  clockSeconds_ = SecondsFromCivil(data_.clock);
}

CivilTime Logger::ClockAt(std::int64_t nowMs) const {
  return CivilFromSeconds(clockSeconds_ + (nowMs - clockSetMs_) / 1000);
}

std::string Logger::Answer(std::string_view line, std::int64_t nowMs) {
  if (line == "Rmem") return ReplyLine(data_.memo);
  if (line == "Rstr") return ReplyLine(FormatStartRecord(data_.start));
  if (line == "Rpt")
    return ReplyLine(data_.pointerText ? *data_.pointerText : std::to_string(data_.words.size()));
  if (line == "Cget") return ReplyLine(FormatClock(ClockAt(nowMs)));
  if (line == "Calm1" || line == "Calm2") {
    if (data_.refuseAcks) return kRefusal;
    period_ = line[4] - '0';
    return kOk;
  }
  if (std::size_t index = 0; SampleIndex(line, index)) {
    if (index >= data_.words.size()) return kRefusal;
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", data_.words[index]);
    return ReplyLine(buf);
  }
  if (StartsWith(line, "Cset") && line.size() == 4 + 14) {
    CivilTime t;
    if (!ParseCompactTime(std::string(line.substr(4)), 14, t) || data_.refuseAcks) return kRefusal;
    clockSeconds_ = SecondsFromCivil(t);
    clockSetMs_ = nowMs;
    return kOk;
  }
  if (StartsWith(line, "Wmem") && line.size() == 4 + kMemoSize) {
    if (data_.refuseAcks) return kRefusal;
    data_.memo = std::string(line.substr(4));
    return kOk;
  }
  return kRefusal;
}

std::string EscapeLine(std::string_view line) {
  std::string out;
  char buf[8];
  for (char ch : line) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\r') {
      out += "\\r";
    } else if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += ch;
    } else {
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

}  // namespace sim
