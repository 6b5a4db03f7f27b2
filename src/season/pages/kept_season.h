#pragma once
// Every season the dialog reads is kept beside its report: the raw archive and the season page in
// a folder of their own, both named after the paddy's memo and the season's start, so that the
// next paddy's or the next year's download adds to them and reading the same logger again
// replaces its own.
#include <string>

#include "season/io/readout_recorder.h"
#include "season/model/season.h"

namespace pt::season {

// Beside the report, in the folder it is written to.
inline constexpr const char* kSeasonsFolder = "seasons";

// "田んぼA-2_2008-04-14_06": the memo in UTF-8, then the first sample's date and hour; the start
// alone when the memo is blank. The memo's trailing blanks go, and every character a Windows file
// name cannot hold becomes "_": control bytes, < > : " / \ | ? *, and the dot after a device
// name such as CON.
std::string SeasonFileStem(const Season& season);

enum class Kept {
  Written,     // both files are in place
  NotAsked,    // the report was not written: nothing is kept of this download
  NoSamples,   // an empty logger: nothing to keep
  Undated,     // the start gives no hour on the calendar: nothing dated can be made
  NotWritten,  // the folder or a file could not be written
};

// Writes `season`'s archive (STEM.ptlog) and its page (STEM.html, default options) into `folder`,
// made when missing, each replacing whatever had its name. Both are written whole under temporary
// names before either is put in place, the archive first; a failure leaves no temporary behind.
// Names are UTF-8 whatever the program's file names are.
Kept KeepSeason(const Season& season, const std::string& folder);

// The dialog's keeper: records a download's replies and, once its report is written, keeps the
// season dated as the report was, with the readout `now` gives.
class SeasonKeeper : public ReadoutRecorder {
 public:
  using ReadoutSource = Readout (*)();
  SeasonKeeper(std::string folder, ReadoutSource now) : folder_(std::move(folder)), now_(now) {}
  void OnReport(ReportResult result, const char* typedStamp) override;
  Kept LastKept() const { return last_; }

 private:
  std::string folder_;
  ReadoutSource now_;
  Kept last_ = Kept::NotAsked;
};

}  // namespace pt::season
