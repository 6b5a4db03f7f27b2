#pragma once
// The report's fixed texts, Shift-JIS at run time: the lines around the table, the table's
// Japanese headings and the boxes shown when the report cannot be written. They live in
// messages.cpp, the one file of this folder that needs the Shift-JIS execution character set.
#include <span>

namespace pt {

// A fixed line of the report, and the box shown when it does not reach the file.
struct ReportLine {
  const char* text;
  const char* failure;
};
extern const std::span<const ReportLine> kReportHeadLines;  // from the doctype to the table
extern const std::span<const ReportLine> kReportTailLines;  // the table's end, the legend, the end

// The caption's format: year, month, day and hour of the first sample, as ints.
extern const char* const kReportCaptionFormat;
// The header row's cells around the hours: the date at both ends, then the day's figures.
extern const char* const kReportDateHeading;
extern const char* const kReportMeanHeading;
extern const char* const kReportMaxHeading;
extern const char* const kReportMinHeading;

extern const char* const kReportErrorCaption;  // the caption of the file's failure boxes
extern const char* const kReportOpenErrorText; // the file could not be made or put in place
extern const char* const kReportBadStampText;  // the start stamp is no date
extern const char* const kReportBadCountText;  // more samples than the table holds

}  // namespace pt
