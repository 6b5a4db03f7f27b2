#include "report/html_report.h"

#include <cstdio>
#include <cstring>

#include "report/decimal_text.h"
#include "report/messages.h"
#include "report/samples.h"

namespace pt {

namespace {

// Longer than any line, even a summary cell of the largest double.
constexpr int kLineSize = 512;

constexpr const char* kRowOpen = "  <tr align=\"center\">\n";
constexpr const char* kRowClose = "  </tr>\n";

bool Put(ReportSink& sink, const char* text) { return sink.Write(text, std::strlen(text)); }

// Emits a line formed by snprintf; a line that did not fit is cut at the buffer, never overrun.
void PutFormatted(ReportSink& sink, const char* line, int formatted) {
  if (formatted < 0) return;
  const std::size_t length = formatted < kLineSize ? static_cast<std::size_t>(formatted) : kLineSize - 1;
  sink.Write(line, length);
}

// Writes the lines until one fails; that line's message, shown, or nullptr when all were written.
const char* PutChecked(ReportSink& sink, Dialog& owner, std::span<const ReportLine> lines) {
  for (const ReportLine& line : lines) {
    if (!Put(sink, line.text)) {
      owner.ShowMessage(line.failure, kReportErrorCaption, BoxOwner::Frame);
      return line.failure;
    }
  }
  return nullptr;
}

// Passes the lines on and remembers whether any of them failed, so that a report with a line
// missing anywhere is never put in place, whatever the sink itself keeps track of.
class CheckedSink : public ReportSink {
 public:
  explicit CheckedSink(ReportSink& sink) : sink_(sink) {}
  bool Create() override { return sink_.Create(); }
  bool Write(const char* bytes, std::size_t length) override {
    const bool ok = sink_.Write(bytes, length);
    if (!ok) writeFailed_ = true;
    return ok;
  }
  bool Commit() override { return !writeFailed_ && sink_.Commit(); }
  void Close() override { sink_.Close(); }

 private:
  ReportSink& sink_;
  bool writeFailed_ = false;
};

}  // namespace

void WriteCaption(ReportSink& sink) {
  Put(sink, "  <caption>\n");
  Put(sink, "    <font size=\"5\" color=\"#0000FF\">\n");
  char line[kLineSize];
  const ReportDate& d = Report.Date;
  PutFormatted(sink, line,
               std::snprintf(line, sizeof line, kReportCaptionFormat, static_cast<int>(d.year),
                             static_cast<int>(d.month), static_cast<int>(d.day), static_cast<int>(d.hour)));
  Put(sink, "    </font>\n");
  Put(sink, "  </caption>\n");
}

void WriteHeaderRow(ReportSink& sink) {
  Put(sink, kRowOpen);
  Put(sink, kReportDateHeading);
  char line[kLineSize];
  for (int hour = 0; hour < kHoursPerDay; ++hour) {
    PutFormatted(sink, line, std::snprintf(line, sizeof line, "   <th>%d:00</th>\n", hour));
  }
  Put(sink, kReportMeanHeading);
  Put(sink, kReportMaxHeading);
  Put(sink, kReportMinHeading);
  Put(sink, kReportDateHeading);
  Put(sink, kRowClose);
}

void WriteDateCell(ReportSink& sink) {
  char line[kLineSize];
  PutFormatted(sink, line,
               std::snprintf(line, sizeof line, "   <td>%2d/%-2d</td>\n",
                             static_cast<int>(Report.Date.month), static_cast<int>(Report.Date.day)));
}

double WriteSampleCell(ReportSink& sink, int index, const std::uint32_t* sampleTable) {
  const DecodedSample s = DecodeSampleWord(sampleTable, index);
  char number[kDecimalTextSize];
  FormatOneDecimal(s.temperature, number, sizeof number);
  char line[kLineSize];
  PutFormatted(sink, line,
               std::snprintf(line, sizeof line, "   <td bgcolor=\"%s\">%s%s</td>\n",
                             HeatColour(s.temperature), s.starred ? "*" : "", number));
  return s.temperature;
}

void WriteEmptyCell(ReportSink& sink) { Put(sink, "   <td>---</td>\n"); }

void WriteSummaryCell(ReportSink& sink, double value) {
  char number[kDecimalTextSize];
  FormatOneDecimal(value, number, sizeof number);
  char line[kLineSize];
  PutFormatted(sink, line,
               std::snprintf(line, sizeof line,
                             "   <td bgcolor=\"%s\"><font color=\"%s\">%s</font></td>\n",
                             HeatColour(value), "#0000FF", number));
}

void WriteBody(ReportSink& sink, const std::uint32_t* sampleTable) {
  // A count beyond the table cannot be written without reading past it.
  const int count = Report.SampleCount <= kSampleTableSize ? Report.SampleCount : 0;
  const int startHour = Report.Date.hour;
  int column = 0;
  bool started = false;
  bool rowOpen = false;
  int k = 0;
  double day[kHoursPerDay];
  int dayCount = 0;

  while (k < count) {
    if (column == 0) {
      if (rowOpen) Put(sink, kRowClose);
      Put(sink, kRowOpen);
      WriteDateCell(sink);
      rowOpen = true;
      dayCount = 0;
    }
    if (!started && column != startHour) {
      WriteEmptyCell(sink);
      ++column;
      continue;
    }
    started = true;
    const double t = WriteSampleCell(sink, k, sampleTable);
    if (dayCount < kHoursPerDay) day[dayCount++] = t;
    ++k;
    ++column;
    if (column >= kHoursPerDay) {
      const DayStats stats = ComputeDayStats(day, dayCount);
      WriteSummaryCell(sink, stats.mean);
      WriteSummaryCell(sink, stats.maximum);
      WriteSummaryCell(sink, stats.minimum);
      WriteDateCell(sink);
      AdvanceReportDate();
      column = 0;
    }
  }
  Put(sink, kRowClose);
}

namespace {

ReportOutcome RefusedStamp(Dialog& owner) {
  owner.ShowMessage(kReportBadStampText, "", BoxOwner::Dialog);
  return ReportOutcome{ReportResult::BadStamp, kReportBadStampText};
}

ReportOutcome WriteWholeReport(Dialog& owner, const char* startStamp, const char* pointerText,
                               const std::uint32_t* sampleTable) {
  CheckedSink sink(CurrentReportSink());
  const auto box = [&owner](ReportResult result, const char* text, const char* caption) {
    owner.ShowMessage(text, caption, BoxOwner::Dialog);
    return ReportOutcome{result, text};
  };
  if (!sink.Create()) return box(ReportResult::NotCreated, kReportOpenErrorText, kReportErrorCaption);

  // A season that cannot be dated or laid out is refused before anything is written: its
  // report could only be a table without head and tail, and last season's is worth more than
  // that. The new file is abandoned and the earlier report stays as it was.
  const auto refuse = [&](ReportResult result, const char* text) {
    sink.Close();
    return box(result, text, "");
  };
  const DecodedStamp stamp = DecodeStartStamp(startStamp, Report.Date);
  Report.Date = stamp.date;
  if (stamp.result != 0) {
    sink.Close();
    return RefusedStamp(owner);
  }
  ParseSampleCount(pointerText);
  if (Report.SampleCount > kSampleTableSize) return refuse(ReportResult::BadCount, kReportBadCountText);

  // A line that fails to be written keeps the earlier report too.
  ReportOutcome outcome{ReportResult::Written, ""};
  if (const char* failure = PutChecked(sink, owner, kReportHeadLines)) outcome = {ReportResult::WriteFailed, failure};

  WriteCaption(sink);
  WriteHeaderRow(sink);
  WriteBody(sink, sampleTable);

  if (outcome.result == ReportResult::Written) {
    if (const char* failure = PutChecked(sink, owner, kReportTailLines)) outcome = {ReportResult::WriteFailed, failure};
  }

  // The message of a line that failed has been shown; a report lost otherwise (a line of the
  // table, or the final move) is a file that could not be made.
  const bool placed = outcome.result != ReportResult::WriteFailed && sink.Commit();
  if (!placed && outcome.result == ReportResult::Written) {
    outcome = box(ReportResult::NotCreated, kReportOpenErrorText, kReportErrorCaption);
  }
  sink.Close();
  return outcome;
}

}  // namespace

int WriteReport(Dialog& owner, const char* startStamp, const char* pointerText,
                const std::uint32_t* sampleTable, ReportOutcome* outcome) {
  const ReportOutcome result = WriteWholeReport(owner, startStamp, pointerText, sampleTable);
  if (outcome != nullptr) *outcome = result;
  return result.result == ReportResult::Written ? 0 : -1;
}

ReportOutcome RefuseTypedStart(Dialog& owner) { return RefusedStamp(owner); }

}  // namespace pt
