#include "season/season.h"

#include <cstring>

#include "logger/text_numbers.h"
#include "report/samples.h"
#include "season/cp932_table.h"

namespace pt::season {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

int LeadRow(unsigned char c) {
  if (c >= 0x81 && c <= 0x9F) return c - 0x81;
  if (c >= 0xE0 && c <= 0xFC) return c - 0xE0 + 31;
  return -1;
}

int TrailColumn(unsigned char c) {
  if (c >= 0x40 && c <= 0x7E) return c - 0x40;
  if (c >= 0x80 && c <= 0xFC) return c - 0x80 + 63;
  return -1;
}

// The UTF-8 bytes of character `column` of a generated row.
void AppendRowCharacter(const char8_t* row, int column, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(row);
  for (int i = 0; i < column; ++i) {
    p += *p < 0x80 ? 1 : *p < 0xE0 ? 2 : *p < 0xF0 ? 3 : 4;
  }
  const int length = *p < 0x80 ? 1 : *p < 0xE0 ? 2 : *p < 0xF0 ? 3 : 4;
  out.append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(length));
}

std::string WithoutLineBreaks(const std::string& reply) {
  std::string out;
  for (char c : reply) {
    if (c != '\r' && c != '\n') out += c;
  }
  return out;
}

bool HoldsNul(const std::string& s) { return s.find('\0') != std::string::npos; }

}  // namespace

void AppendCodePoint(std::uint32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

Sample SampleFromWord(std::uint16_t word) {
  const std::uint32_t table[1] = {word};
  const DecodedSample d = DecodeSampleWord(table, 0);
  return Sample{word, d.temperature, d.starred};
}

std::string MemoUtf8(std::string_view sjis) {
  std::string out;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto c = static_cast<unsigned char>(sjis[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else if (c >= 0xA1 && c <= 0xDF) {
      AppendCodePoint(0xFF61 + (c - 0xA1), out);  // half-width katakana
    } else if (const int row = LeadRow(c); row >= 0 && i + 1 < sjis.size() &&
                                           TrailColumn(static_cast<unsigned char>(sjis[i + 1])) >= 0 &&
                                           kCp932Rows[row] != nullptr) {
      AppendRowCharacter(kCp932Rows[row], TrailColumn(static_cast<unsigned char>(sjis[++i])), out);
    } else {
      // Control bytes are line noise, and a lead byte without its trail is half a character.
      out += kReplacement;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
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

}  // namespace pt::season
