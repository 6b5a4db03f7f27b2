// Writing an archive: the fixed header lines, a line per sample, the end line with its checksum.
#include <cstdio>
#include <cstdlib>

#include "season/io/archive.h"
#include "season/io/archive_text.h"
#include "season/io/crc32.h"
#include "season/io/whole_file.h"

namespace pt::season {

namespace {

void AppendField(std::string& out, const char* key, std::string_view bytes) {
  out += key;
  out += ' ';
  AppendEscaped(bytes, out);
  out += '\n';
}

template <typename... Args>
void AppendFormatted(std::string& out, const char* format, Args... args) {
  char line[128];
  const int n = std::snprintf(line, sizeof line, format, args...);
  if (n > 0) out.append(line, static_cast<std::size_t>(n) < sizeof line ? static_cast<std::size_t>(n) : sizeof line - 1);
}

// "YYYY-MM-DDThh:mm:ss", a local time without its offset (the readout line has it).
void AppendStamp(std::string& out, const LocalTime& t) {
  AppendFormatted(out, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

}  // namespace

std::string ArchiveFileName(const LocalTime& t) {
  char name[64];
  std::snprintf(name, sizeof name, "paddytherm-%04d%02d%02d-%02d%02d%02d.ptlog", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  return name;
}

bool FormatArchive(const Season& season, std::string* text, std::string* error) {
  if (!season.readout || !season.replies) {
    *error = "the season has no readout or no replies to archive";
    return false;
  }
  const Replies& replies = *season.replies;
  if (replies.samples.size() != season.samples.size()) {
    *error = "the season has not one reply for each sample";
    return false;
  }
  const Readout& r = *season.readout;
  // Each version adds to the one before it: an undated season needs version 3, which keeps the
  // clock line of version 2.
  if (season.undated && !r.clock) {
    *error = "an undated season is archived with the read of the logger's clock, and this one has none";
    return false;
  }
  const LocalTime& t = r.localTime;
  std::string out;
  out.reserve(256 + season.samples.size() * 40);
  AppendFormatted(out, "%s %d\n", kArchiveMagic, season.undated ? kArchiveVersion : r.clock ? 2 : 1);
  AppendField(out, "program", r.programVersion);
  AppendField(out, "port", r.port);
  AppendFormatted(out, "baud %d\n", r.baud);
  const int offset = std::abs(r.utcOffsetMinutes);
  AppendFormatted(out, "readout %04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d\n", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, r.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
  if (r.clock) {
    out += "clock ";
    if (r.clock->logger) {
      AppendStamp(out, *r.clock->logger);
    } else {
      out += "unread";
    }
    out += ' ';
    AppendStamp(out, r.clock->pc);
    out += '\n';
  }
  AppendField(out, "memo", replies.memo);
  AppendField(out, "start", replies.start);
  const CivilHour& s = season.start;
  if (season.undated) {
    out += "dated none\n";
  } else {
    AppendFormatted(out, "dated %04d-%02d-%02dT%02d %s\n", s.year, s.month, s.day, s.hour,
                    season.startTyped ? "typed" : "logger");
  }
  AppendField(out, "pointer", replies.pointer);
  for (std::size_t i = 0; i < season.samples.size(); ++i) {
    if (!season.samples[i].word) {
      *error = "sample " + std::to_string(i) + " has no word to archive";
      return false;
    }
    AppendFormatted(out, "sample %llu %04X ", static_cast<unsigned long long>(i), static_cast<unsigned>(*season.samples[i].word));
    AppendEscaped(replies.samples[i], out);
    out += '\n';
  }
  AppendFormatted(out, "end %llu %08x\n", static_cast<unsigned long long>(season.samples.size()), static_cast<unsigned>(Crc32(out.data(), out.size())));
  *text = std::move(out);
  return true;
}

bool WriteArchiveFile(const std::string& path, const Season& season, std::string* error) {
  std::string text;
  return FormatArchive(season, &text, error) && WriteWholeFile(path, text, error);
}

}  // namespace pt::season
