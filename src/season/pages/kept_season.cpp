#include "season/pages/kept_season.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "logger/text_numbers.h"
#include "platform/file_names.h"
#include "platform/replacement_file.h"
#include "report/samples.h"
#include "season/io/archive.h"
#include "season/pages/season_page.h"

namespace pt::season {

namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

// Windows opens these as devices, with any extension after them: "CON.A_2008..." is the console.
bool IsDeviceName(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  std::string upper;
  for (const char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
         upper[3] <= '9';
}

Kept KeepDownload(const Replies& replies, const char* typedStamp, const std::string& folder,
                  SeasonKeeper::ReadoutSource now) {
  // An empty logger is still asked for sample 0, but what it answers is no sample.
  std::int32_t count = 0;
  if (CheckPointerReply(replies.pointer.c_str(), &count) && count == 0) return Kept::NoSamples;
  std::optional<CivilHour> typed;
  if (typedStamp != nullptr) {
    // Decoded as the report decoded it; the report was written, so the stamp gave every field.
    const DecodedStamp d = DecodeStartStamp(typedStamp);
    typed = CivilHour{d.date.year, d.date.month, d.date.day, d.date.hour};
    if (d.result != 0 || !IsSeasonHour(*typed)) return Kept::Undated;
  }
  Season season;
  std::string error;
  if (!SeasonFromReplies(replies, typed, &season, &error, UndatedSeason::Keep)) return Kept::NotWritten;
  season.readout = now();
  return KeepSeason(season, folder);
}

}  // namespace

std::string SeasonFileStem(const Season& season) {
  // No Shift-JIS character has a byte below 0x20 or DEL in it, so these go before decoding.
  std::string sjis = season.memoSjis;
  for (char& c : sjis) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
  }
  std::string name = MemoUtf8(sjis);
  // In UTF-8 an ASCII byte is always a character of its own: the "\" of "ソ" (83 5C) is gone.
  for (char& c : name) {
    if (c != '\0' && std::strchr("<>:\"/\\|?*", c) != nullptr) c = '_';
  }
  while (name.ends_with(' ') || name.ends_with(kIdeographicSpace)) {
    name.resize(name.size() - (name.back() == ' ' ? 1 : kIdeographicSpace.size()));
  }
  const std::size_t dot = name.find('.');
  if (dot != std::string::npos && IsDeviceName(std::string_view(name).substr(0, dot))) name[dot] = '_';
  char start[32];
  std::snprintf(start, sizeof start, "%04d-%02d-%02d_%02d", season.start.year, season.start.month, season.start.day,
                season.start.hour);
  return name.empty() ? std::string(start) : name + "_" + start;
}

Kept KeepSeason(const Season& season, const std::string& folder) {
  if (season.undated) return Kept::Undated;
  if (season.samples.empty()) return Kept::NoSamples;
  std::string archive, error;
  if (!FormatArchive(season, &archive, &error)) return Kept::NotWritten;
  const std::string page = FormatSeasonPage(season);
  int code = 0;
  if (!MakeFolder(folder, NameBytes::Utf8, &code)) return Kept::NotWritten;
  const std::string stem = folder + "/" + SeasonFileStem(season);
  ReplacementFile archiveFile(NameBytes::Utf8);
  ReplacementFile pageFile(NameBytes::Utf8);
  const bool written =
      archiveFile.Open((stem + ".ptlog").c_str()) && archiveFile.Write(archive.data(), archive.size()) &&
      pageFile.Open((stem + ".html").c_str()) && pageFile.Write(page.data(), page.size());
  // The readout itself goes in first: should the page then fail, the season is still kept.
  if (!written || !archiveFile.Commit() || !pageFile.Commit()) return Kept::NotWritten;
  return Kept::Written;
}

void SeasonKeeper::OnReport(ReportResult result, const char* typedStamp) {
  last_ = result == ReportResult::Written ? KeepDownload(Recorded(), typedStamp, folder_, now_) : Kept::NotAsked;
}

}  // namespace pt::season
