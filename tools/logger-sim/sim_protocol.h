#pragma once
// The logger's side of the line: command lines in, reply lines out. No I/O here; the pty loop
// feeds bytes in and writes the replies out.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim_season.h"

namespace sim {

inline constexpr std::size_t kMaxLine = 64;
inline constexpr std::size_t kMemoSize = 16;

// Gathers received bytes into CR-ended command lines. A line that grows past kMaxLine bytes
// keeps only its first kMaxLine bytes and is marked over-long, so noise without a CR never
// grows memory.
class LineAssembler {
 public:
  // True when `c` ended a line; Line() and OverLong() then describe it until the next Feed.
  bool Feed(char c);
  const std::string& Line() const { return line_; }
  bool OverLong() const { return overLong_; }
  std::size_t Length() const { return length_; }  // bytes of the line before its CR

 private:
  std::string line_, pending_;
  std::size_t length_ = 0, pendingLength_ = 0;
  bool overLong_ = false;
};

struct LoggerData {
  std::string memo = std::string(kMemoSize, ' ');  // exactly kMemoSize bytes
  CivilTime start;                                  // the start record's stamp
  std::vector<std::uint16_t> words;
  std::optional<std::string> pointerText;  // replaces the real count in the "Rpt" reply
  CivilTime clock;                         // the clock at time 0 of the run
  bool refuseAcks = false;
};

// The index of a sample command, "Rdt" and 4 digits; false for any other line.
bool SampleIndex(std::string_view line, std::size_t& index);

// "\n" + text + "\r".
std::string ReplyLine(std::string_view text);
inline const std::string kOk = "\nOK\r";
inline const std::string kRefusal = "\nNG\r";

class Logger {
 public:
  explicit Logger(LoggerData data);
  // The reply to one command line (without its CR), received `nowMs` after the start of the run.
  std::string Answer(std::string_view line, std::int64_t nowMs);

  const LoggerData& Data() const { return data_; }
  int Period() const { return period_; }  // 0 until "Calm1"/"Calm2" chose one
  CivilTime ClockAt(std::int64_t nowMs) const;

 private:
  LoggerData data_;
  std::int64_t clockSeconds_ = 0;  // the clock's reading at clockSetMs_
  std::int64_t clockSetMs_ = 0;
  int period_ = 0;
};

// A command line as the transcript shows it: printable ASCII as is, CR as "\r", every other
// byte (control bytes, bytes above 7E, and the backslash itself) as "\xNN".
std::string EscapeLine(std::string_view line);

}  // namespace sim
