// Reading an archive back: the version line decides the reader; every line is checked as it
// comes, so that a refusal names the first line that is wrong, and the checksum last.
#include <cstdio>
#include <cstring>
#include <vector>

#include "logger/text_numbers.h"
#include "season/io/archive.h"
#include "season/io/archive_text.h"
#include "season/io/crc32.h"
#include "season/io/whole_file.h"

namespace pt::season {

namespace {

class Refusal {
 public:
  explicit Refusal(std::string* error) : error_(error) {}
  bool operator()(int line, const std::string& what) const {
    *error_ = "line " + std::to_string(line) + ": " + what;
    return false;
  }

 private:
  std::string* error_;
};

// `line` cut at its first `count - 1` spaces; the last part may be empty but holds no space.
bool SplitFields(std::string_view line, std::size_t count, std::vector<std::string_view>* parts) {
  parts->clear();
  std::size_t pos = 0;
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const std::size_t space = line.find(' ', pos);
    if (space == std::string_view::npos) return false;
    parts->push_back(line.substr(pos, space - pos));
    pos = space + 1;
  }
  parts->push_back(line.substr(pos));
  return parts->back().find(' ') == std::string_view::npos;
}

bool HoldsNul(const std::string& s) { return s.find('\0') != std::string::npos; }

std::string Quoted(std::string_view s) {
  std::string out(1, '"');
  out.append(s);
  out += '"';
  return out;
}

// "YYYY-MM-DDThh:mm:ss+hh:mm"
bool ParseReadoutTime(std::string_view s, Readout* r) {
  if (s.size() != 25 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' || s[16] != ':' ||
      (s[19] != '+' && s[19] != '-') || s[22] != ':') {
    return false;
  }
  const auto n = [s](std::size_t at, std::size_t width) { return ParseDigits(s.substr(at, width), width); };
  const auto y = n(0, 4), mo = n(5, 2), d = n(8, 2), h = n(11, 2), mi = n(14, 2), se = n(17, 2), oh = n(20, 2),
             om = n(23, 2);
  if (!y || !mo || !d || !h || !mi || !se || !oh || !om) return false;
  if (!IsRealDate({*y, *mo, *d}) || *h > 23 || *mi > 59 || *se > 59 || *oh > 23 || *om > 59) return false;
  // The writer gives no offset a minus sign.
  if (s[19] == '-' && *oh == 0 && *om == 0) return false;
  r->localTime = LocalTime{*y, *mo, *d, *h, *mi, *se};
  r->utcOffsetMinutes = (s[19] == '-' ? -1 : 1) * (*oh * 60 + *om);
  return true;
}

// "YYYY-MM-DDThh:mm:ss"
std::optional<LocalTime> ParseStamp(std::string_view s) {
  Readout r;
  if (s.size() != 19 || !ParseReadoutTime(std::string(s) + "+00:00", &r)) return std::nullopt;
  return r.localTime;
}

// "YYYY-MM-DDThh", a season's start.
std::optional<CivilHour> ParseHour(std::string_view s) {
  if (s.size() != 13 || s[4] != '-' || s[7] != '-' || s[10] != 'T') return std::nullopt;
  const auto y = ParseDigits(s.substr(0, 4), 4), mo = ParseDigits(s.substr(5, 2), 2),
             d = ParseDigits(s.substr(8, 2), 2), h = ParseDigits(s.substr(11, 2), 2);
  if (!y || !mo || !d || !h) return std::nullopt;
  const CivilHour out{*y, *mo, *d, *h};
  if (!IsSeasonHour(out)) return std::nullopt;
  return out;
}

// Versions 1 to 3: version 2 adds the clock line after the readout line, version 3 the undated
// season's dated line.
class ArchiveReader {
 public:
  ArchiveReader(int version, std::string_view bytes, LineReader& lines, std::string* error, UndatedSeason undated)
      : version_(version), bytes_(bytes), lines_(lines), fail_(error), undated_(undated) {}

  bool Read(Season* out) {
    Readout readout;
    Replies replies;
    std::string_view value;
    if (!Field("program", &value) || !Bytes(value, &readout.programVersion)) return false;
    if (!Field("port", &value) || !Bytes(value, &readout.port)) return false;
    if (!Field("baud", &value)) return false;
    const auto baud = ParseDecimal(value);
    if (!baud) return fail_(Line(), "the speed is not a number");
    readout.baud = *baud;
    if (!Field("readout", &value)) return false;
    if (!ParseReadoutTime(value, &readout)) return fail_(Line(), "the readout time is not YYYY-MM-DDThh:mm:ss+hh:mm");
    if (version_ >= 2 && !Clock(&readout)) return false;
    if (!Field("memo", &value) || !Bytes(value, &replies.memo)) return false;
    if (HoldsNul(replies.memo)) return fail_(Line(), "the memo reply holds a NUL byte");
    if (!Field("start", &value) || !Bytes(value, &replies.start)) return false;

    std::optional<CivilHour> typedStart;
    bool undated = false;
    if (!Dated(replies.start, &typedStart, &undated)) return false;

    if (!Field("pointer", &value) || !Bytes(value, &replies.pointer)) return false;
    std::int32_t pointer = 0;
    if (HoldsNul(replies.pointer) || !CheckPointerReply(replies.pointer.c_str(), &pointer)) {
      return fail_(Line(), "the pointer reply is not a count");
    }
    if (pointer > kMaxSampleCount) return fail_(Line(), "the pointer counts more samples than a logger holds");

    if (!Samples(&replies.samples)) return false;
    if (!End(replies.samples.size(), pointer)) return false;

    Season season;
    std::string why;
    if (!SeasonFromReplies(replies, typedStart, &season, &why,
                           undated ? UndatedSeason::Keep : UndatedSeason::Refuse)) {
      return fail_(Line(), why);
    }
    season.readout = readout;
    *out = std::move(season);
    return true;
  }

 private:
  int Line() const { return lines_.LineNumber(); }

  bool NextLine(std::string_view* line) {
    bool terminated = false;
    if (!lines_.Next(line, &terminated)) {
      return fail_(Line() + 1, "the archive ends here, before its end line: it was cut short");
    }
    if (!terminated) return fail_(Line(), "the line has no line end: the archive was cut short");
    if (line->find('\r') != std::string_view::npos) {
      return fail_(Line(), "a carriage return: the archive's line ends were changed");
    }
    return true;
  }

  // The next line, which must be `key` and one field.
  bool Field(const char* key, std::string_view* value) {
    std::string_view line;
    if (!NextLine(&line)) return false;
    std::vector<std::string_view> parts;
    if (!SplitFields(line, 2, &parts) || parts[0] != key) {
      return fail_(Line(), std::string("expected the ") + Quoted(key) + " line");
    }
    *value = parts[1];
    return true;
  }

  bool Bytes(std::string_view escaped, std::string* bytes) {
    auto raw = Unescape(escaped);
    if (!raw) return fail_(Line(), "a byte is not escaped as the archive escapes it");
    *bytes = std::move(*raw);
    return true;
  }

  // "clock LOGGER PC": the logger's clock (or "unread") and the PC's local time at that read.
  bool Clock(Readout* readout) {
    std::string_view line;
    if (!NextLine(&line)) return false;
    std::vector<std::string_view> parts;
    if (!SplitFields(line, 3, &parts) || parts[0] != "clock") return fail_(Line(), "expected the \"clock\" line");
    ClockReading reading;
    const auto pc = ParseStamp(parts[2]);
    if (!pc) return fail_(Line(), "the PC's time is not a real YYYY-MM-DDThh:mm:ss");
    reading.pc = *pc;
    if (parts[1] != "unread") {
      reading.logger = ParseStamp(parts[1]);
      if (!reading.logger) return fail_(Line(), "the logger's clock is neither \"unread\" nor a real YYYY-MM-DDThh:mm:ss");
    }
    readout->clock = reading;
    return true;
  }

  // "dated YYYY-MM-DDThh logger|typed": the start the season is dated from; from the logger, it
  // must be what the start reply gives. From version 3, "dated none": the start reply gives no
  // start, and none was typed.
  bool Dated(const std::string& startReply, std::optional<CivilHour>* typedStart, bool* undated) {
    std::string_view line;
    if (!NextLine(&line)) return false;
    if (version_ >= 3 && line == "dated none") {
      if (LoggerStartHour(startReply)) return fail_(Line(), "undated, but the start reply gives a start");
      if (undated_ == UndatedSeason::Refuse) {
        return fail_(Line(), "the season is undated: its start record gives no start, and none was typed");
      }
      *undated = true;
      return true;
    }
    std::vector<std::string_view> parts;
    if (!SplitFields(line, 3, &parts) || parts[0] != "dated") return fail_(Line(), "expected the \"dated\" line");
    // A dated season is written as version 1 or 2, which earlier programs read.
    if (version_ >= 3) return fail_(Line(), "a version 3 archive holds an undated season: expected \"dated none\"");
    const auto hour = ParseHour(parts[1]);
    if (!hour) return fail_(Line(), "the start is not a real date and hour YYYY-MM-DDThh from 2000 to 2099");
    if (parts[2] == "typed") {
      *typedStart = *hour;
      return true;
    }
    if (parts[2] != "logger") return fail_(Line(), "the start is neither \"logger\" nor \"typed\"");
    if (LoggerStartHour(startReply) != *hour) return fail_(Line(), "the start is not what the start reply gives");
    return true;
  }

  bool Samples(std::vector<std::string>* replies) {
    std::string_view line;
    for (;;) {
      if (!NextLine(&line)) return false;
      if (line.substr(0, 4) == "end ") return true;
      std::vector<std::string_view> parts;
      if (!SplitFields(line, 4, &parts) || parts[0] != "sample") {
        return fail_(Line(), "expected a \"sample\" or the \"end\" line");
      }
      const std::size_t expected = replies->size();
      const auto index = ParseDecimal(parts[1]);
      if (!index || static_cast<std::size_t>(*index) != expected) {
        return fail_(Line(), "expected sample " + std::to_string(expected) + ", found " + Quoted(parts[1]));
      }
      if (expected >= static_cast<std::size_t>(kMaxSampleCount)) {
        return fail_(Line(), "more samples than a logger holds");
      }
      const auto word = ParseHex(parts[2], 4, HexCase::Upper);
      if (!word) return fail_(Line(), "the word is not four capital hexadecimal digits");
      std::string reply;
      if (!Bytes(parts[3], &reply)) return false;
      std::uint32_t value = 0;
      if (HoldsNul(reply) || !CheckSampleReply(reply.c_str(), &value)) {
        return fail_(Line(), "the reply is not a sample word");
      }
      if ((value & 0xFFFFu) != *word) return fail_(Line(), "the word is not what the reply gives");
      replies->push_back(std::move(reply));
    }
  }

  // The line NextLine gave last starts with "end ".
  bool End(std::size_t samples, std::int32_t pointer) {
    const std::uint32_t crc = Crc32(bytes_.data(), lines_.LineStart());
    const std::string_view line = bytes_.substr(lines_.LineStart());
    std::vector<std::string_view> parts;
    std::string_view body = line.substr(0, line.find('\n'));
    if (!SplitFields(body, 3, &parts)) return fail_(Line(), "expected \"end COUNT CRC\"");
    const auto count = ParseDecimal(parts[1]);
    const auto written = ParseHex(parts[2], 8, HexCase::Lower);
    if (!count || !written) return fail_(Line(), "expected \"end COUNT CRC\"");
    if (static_cast<std::size_t>(*count) != samples) {
      return fail_(Line(), "the end line counts " + std::to_string(*count) + " samples, the archive holds " +
                               std::to_string(samples));
    }
    if (*written != crc) {
      char text[96];
      std::snprintf(text, sizeof text, "the checksum %08x is not the archive's (%08x): a byte was changed",
                    static_cast<unsigned>(*written), static_cast<unsigned>(crc));
      return fail_(Line(), text);
    }
    if (samples != static_cast<std::size_t>(pointer)) {
      return fail_(Line(), std::to_string(samples) + " samples for a pointer of " + std::to_string(pointer));
    }
    if (!lines_.AtEnd()) return fail_(Line() + 1, "text after the end line");
    return true;
  }

  int version_;
  std::string_view bytes_;
  LineReader& lines_;
  Refusal fail_;
  UndatedSeason undated_;
};

}  // namespace

bool ReadArchive(std::string_view bytes, Season* out, std::string* error, UndatedSeason undated) {
  const Refusal fail(error);
  LineReader lines(bytes);
  std::string_view line;
  bool terminated = false;
  if (!lines.Next(&line, &terminated)) return fail(1, "empty: not a paddytherm archive");
  if (!line.empty() && line.back() == '\r') return fail(1, "a carriage return: the archive's line ends were changed");
  std::vector<std::string_view> parts;
  if (!SplitFields(line, 2, &parts) || parts[0] != kArchiveMagic) return fail(1, "not a paddytherm archive");
  const auto version = ParseDecimal(parts[1]);
  if (!version || *version < 1) return fail(1, "the archive's version is not a version number");
  if (!terminated) return fail(1, "the line has no line end: the archive was cut short");
  // Every earlier version stays readable: a later one only adds lines, which the reader asks for
  // by the version.
  switch (*version) {
    case 1:
    case 2:
    case 3: return ArchiveReader(*version, bytes, lines, error, undated).Read(out);
    default:
      return fail(1, "archive version " + std::to_string(*version) + " is newer than this program reads (" +
                         std::to_string(kArchiveVersion) + ")");
  }
}

bool ReadArchiveFile(const std::string& path, Season* out, std::string* error, UndatedSeason undated) {
  std::string bytes;
  if (!ReadWholeFile(path, &bytes, error)) return false;
  if (ReadArchive(bytes, out, error, undated)) return true;
  *error = path + ": " + *error;
  return false;
}

}  // namespace pt::season
