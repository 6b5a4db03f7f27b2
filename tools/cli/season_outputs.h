#pragma once
// What the console makes of a season beyond the report: the raw archive of a download, the daily
// figures and the season page, and the samples' CSV from a season read back.
#include <string>

#include "cli_options.h"
#include "exit_status.h"
#include "logger/jobs.h"
#include "season/season.h"

namespace cli {

// Keeps every reply a download keeps, as received, for the archive.
class ReadoutRecorder : public pt::ReadoutObserver {
 public:
  void OnHeaders(const char* memo, const char* start, const char* pointer) override;
  void OnSample(int index, const char* reply, std::uint32_t word) override;
  const pt::season::Replies& Replies() const { return replies_; }

 private:
  pt::season::Replies replies_;
};

// Where and when a readout that has just ended took place: the PC's local time with its UTC
// offset, this program's version, the port and its speed.
pt::season::Readout ReadoutNow(const std::string& port, unsigned baud);

// The typed start (--start YYYYMMDDhhmm) as the first sample's hour, or none.
std::optional<pt::season::CivilHour> TypedStart(const CliOptions& opts);

// Writes what the options ask for of `season`: the archive into `archiveDir` (when not empty),
// --daily and --season; prints a line for each file written. The worst status of them.
ExitStatus WriteSeasonOutputs(const CliOptions& opts, const pt::season::Season& season,
                              const std::string& archiveDir);

// The samples' CSV of a season (the rows of the download's CSV, from the season's values).
std::string FormatSeasonCsv(const pt::season::Season& season, bool byteOrderMark);

}  // namespace cli
