#include "season/model/season.h"

#include <cstring>

#include "logger/text_numbers.h"
#include "platform/sjis_utf8.h"
#include "report/samples.h"

namespace pt::season {

namespace {

std::string WithoutLineBreaks(const std::string& reply) {
  std::string out;
  for (char c : reply) {
    if (c != '\r' && c != '\n') out += c;
  }
  return out;
}

bool HoldsNul(const std::string& s) { return s.find('\0') != std::string::npos; }

}  // namespace

Sample SampleFromWord(std::uint16_t word) {
  const std::uint32_t table[1] = {word};
  const DecodedSample d = DecodeSampleWord(table, 0);
  return Sample{word, d.temperature, d.starred};
}

std::string MemoUtf8(std::string_view sjis) {
  std::string out = SjisToUtf8(sjis);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

Season WithOffset(Season season, double offsetC) {
  if (offsetC == 0.0) return season;
  for (Sample& s : season.samples) s.temperature += offsetC;
  season.offsetC += offsetC;
  return season;
}

std::optional<CivilHour> LoggerStartHour(std::string_view startReply) {
  const std::string stamp = WithoutLineBreaks(std::string(startReply));
  if (HoldsNul(stamp)) return std::nullopt;
  const DecodedStamp d = DecodeStartStamp(stamp.c_str());
  const CivilHour start{d.date.year, d.date.month, d.date.day, d.date.hour};
  // The report takes 31 April as a date; a season on the real calendar cannot.
  if (d.result != 0 || !IsSeasonHour(start)) return std::nullopt;
  return start;
}

bool SeasonFromReplies(const Replies& replies, const std::optional<CivilHour>& typedStart, Season* out,
                       std::string* error, UndatedSeason undated) {
  const auto fail = [error](std::string message) {
    *error = std::move(message);
    return false;
  };
  Season s;
  if (HoldsNul(replies.memo)) return fail("the memo reply holds a NUL byte");
  s.memoSjis = WithoutLineBreaks(replies.memo);
  s.memoUtf8 = MemoUtf8(s.memoSjis);

  if (typedStart) {
    if (!IsSeasonHour(*typedStart)) return fail("the typed start is not a real date and hour from 2000 to 2099");
    s.start = *typedStart;
    s.startTyped = true;
  } else if (const auto start = LoggerStartHour(replies.start)) {
    s.start = *start;
  } else if (undated == UndatedSeason::Keep) {
    s.undated = true;
  } else {
    return fail("the start reply is not a start record the report can date");
  }

  if (HoldsNul(replies.pointer) || !CheckPointerReply(replies.pointer.c_str(), &s.pointerCount)) {
    return fail("the pointer reply is not a count");
  }
  if (s.pointerCount > kMaxSampleCount) return fail("the pointer counts more samples than a logger holds");
  if (replies.samples.size() != static_cast<std::size_t>(s.pointerCount)) {
    return fail(std::to_string(replies.samples.size()) + " sample replies for a pointer of " +
                std::to_string(s.pointerCount));
  }

  s.samples.reserve(replies.samples.size());
  for (std::size_t i = 0; i < replies.samples.size(); ++i) {
    std::uint32_t value = 0;
    if (HoldsNul(replies.samples[i]) || !CheckSampleReply(replies.samples[i].c_str(), &value)) {
      return fail("the reply of sample " + std::to_string(i) + " is not a sample word");
    }
    s.samples.push_back(SampleFromWord(static_cast<std::uint16_t>(value & 0xFFFFu)));
  }
  s.replies = replies;
  *out = std::move(s);
  return true;
}

std::optional<std::pair<CivilDate, CivilDate>> SeasonDates(const Season& season) {
  if (season.samples.empty()) return std::nullopt;
  return std::pair{season.start.Date(), SampleHour(season, season.samples.size() - 1).Date()};
}

}  // namespace pt::season
