#pragma once
// One season of hourly samples as the program holds it between the logger (or an archive, or a
// report read back) and whatever is made of it: daily figures, the season page, an archive.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/local_time.h"
#include "season/model/calendar.h"
#include "season/model/logger_clock.h"

namespace pt::season {

struct Sample {
  std::optional<std::uint16_t> word;  // unknown for a season read back from a report
  double temperature = 0.0;           // as the report computes it (a report read back: its rounded value)
  bool noWater = false;               // the report's "*"
  friend bool operator==(const Sample&, const Sample&) = default;
};

// Where and when the season was read out, as the PC saw it.
struct Readout {
  LocalTime localTime;
  int utcOffsetMinutes = 0;  // local time minus UTC: +540 in Japan
  std::string programVersion;
  std::string port;
  int baud = 0;
  // The logger's clock read after the last sample; none for a readout that did not try (an
  // archive of version 1).
  std::optional<ClockReading> clock;
  friend bool operator==(const Readout& a, const Readout& b) {
    return SameLocalTime(a.localTime, b.localTime) && a.utcOffsetMinutes == b.utcOffsetMinutes &&
           a.programVersion == b.programVersion && a.port == b.port && a.baud == b.baud && a.clock == b.clock;
  }
};

// What the logger sent, byte for byte with its LF and CR, for an archive that can be checked
// against the figures taken from it. One sample reply per sample, in order.
struct Replies {
  std::string memo, start, pointer;
  std::vector<std::string> samples;
  friend bool operator==(const Replies&, const Replies&) = default;
};

struct Season {
  std::string memoSjis;  // the memo reply without its line breaks, as the logger sent it
  std::string memoUtf8;  // the same in UTF-8, trailing blanks cut
  CivilHour start;       // the first sample's hour, on the real calendar
  bool startTyped = false;  // dated from a start typed in place of the logger's start record
  // No start: the start record gives none and none was typed. `start` means nothing then; such a
  // season can be archived, and dated later by a typed start, but nothing dated made of it.
  bool undated = false;
  std::vector<Sample> samples;  // one an hour from `start` on
  std::int32_t pointerCount = 0;
  std::optional<Readout> readout;
  std::optional<Replies> replies;
  // A calibration offset added to every temperature above (each word stays the logger's), so
  // that whatever is made of the season can say it was corrected and by how much.
  double offsetC = 0.0;
  friend bool operator==(const Season&, const Season&) = default;
};

// `season` with `offsetC` more added to every sample's temperature: the one place where a
// calibration offset reaches the figures, so that no CSV or page can show the readings otherwise.
Season WithOffset(Season season, double offsetC);

// A sample as the report decodes its word.
Sample SampleFromWord(std::uint16_t word);

// The first and last day with a sample, for saying what a season covers; none for no samples.
std::optional<std::pair<CivilDate, CivilDate>> SeasonDates(const Season& season);

// The hour of sample `index`.
inline CivilHour SampleHour(const Season& s, std::size_t index) {
  return AddHours(s.start, static_cast<std::int64_t>(index));
}

// What to make of a start record that gives no start when none was typed in its place.
enum class UndatedSeason { Refuse, Keep };

// The first sample's hour as the report decodes the start reply (its line breaks taken off), when
// that is a season's start: a real hour from 2000 to 2099.
std::optional<CivilHour> LoggerStartHour(std::string_view startReply);

// The season the logger's replies describe, as a download sees them: the memo as sent, the start
// record as the report decodes it (unless `typedStart` replaces it), the pointer's count and each
// sample's word, every reply checked as the download checks it. A start record that gives no
// start refuses the season, or with UndatedSeason::Keep makes it undated. A typed start must be a
// season's start. False with a message naming the reply that is wrong; `out` is then unspecified.
bool SeasonFromReplies(const Replies& replies, const std::optional<CivilHour>& typedStart, Season* out,
                       std::string* error, UndatedSeason undated = UndatedSeason::Refuse);

// The memo's text for people: `sjis` decoded as code page 932, trailing blanks cut, anything that
// is no character there shown as U+FFFD.
std::string MemoUtf8(std::string_view sjis);

}  // namespace pt::season
