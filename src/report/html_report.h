#pragma once
// The temperature report "tavovalu.html": one row per day, one column per hour.
#include <cstdint>

#include "platform/dialog.h"
#include "report/report_sink.h"

namespace pt {

inline constexpr int kSampleTableSize = 10000;

// What became of a report.
enum class ReportResult {
  NotAsked,     // no report was to be written
  Written,      // in place, whole
  NotCreated,   // the file could not be made or put in place; the earlier report is kept
  WriteFailed,  // a line of it could not be written; the earlier report is kept
  BadStamp,     // the start stamp is no date: nothing written, the earlier report is kept
  BadCount,     // more samples than the table holds: nothing written, the earlier report is kept
};
struct ReportOutcome {
  ReportResult result = ReportResult::NotAsked;
  const char* message = "";  // the box that was shown, Shift-JIS; "" when none
};

// Writes "tavovalu.html" into the current directory in one go; it replaces the earlier report
// only when every line was written. Failures are shown in message boxes. The caller ends its job
// whatever this returns (0 written whole, -1 otherwise); `outcome`, when given, says more.
int WriteReport(Dialog& owner, const char* startStamp, const char* pointerText,
                const std::uint32_t* sampleTable, ReportOutcome* outcome = nullptr);

// The start the user typed is no real minute: the box of a refused start stamp, and nothing
// written, so the earlier report stays.
ReportOutcome RefuseTypedStart(Dialog& owner);

// The pieces of the report below the head, each line written to `sink` as it is formed. They
// go on past a failed line; WriteReport keeps a report with a failed line out of place.
void WriteCaption(ReportSink& sink);
void WriteHeaderRow(ReportSink& sink);
// The day rows for Report.SampleCount samples from Report.Date on; a count above the table's
// size gives no rows.
void WriteBody(ReportSink& sink, const std::uint32_t* sampleTable);
void WriteDateCell(ReportSink& sink);
double WriteSampleCell(ReportSink& sink, int index, const std::uint32_t* sampleTable);
void WriteEmptyCell(ReportSink& sink);
void WriteSummaryCell(ReportSink& sink, double value);

}  // namespace pt
