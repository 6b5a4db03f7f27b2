// The report is read line by line against the writer's own layout: the row dates follow the
// report's calendar (a 28-day February), the first row has "---" up to the start hour, each full
// row ends with its three summaries and the date again.
#include "season/io/report_reader.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "report/html_report.h"
#include "report/samples.h"
#include "season/io/archive_text.h"
#include "season/io/messages.h"
#include "season/io/whole_file.h"

namespace pt::season {

namespace {

// The report writer's texts, Shift-JIS like the report's own (the Japanese ones in messages.cpp).
constexpr std::string_view kDoctype = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"";
constexpr std::string_view kCharset = " <meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">";
constexpr std::string_view kCaptionLines[] = {"  <caption>", "    <font size=\"5\" color=\"#0000FF\">"};
constexpr std::string_view kCaptionEnd[] = {"    </font>", "  </caption>"};
constexpr std::string_view kCaptionTail = ":00] ***********<br>";
constexpr std::string_view kRowOpen = "  <tr align=\"center\">";
constexpr std::string_view kRowClose = "  </tr>";
constexpr std::string_view kEmptyCell = "   <td>---</td>";
constexpr std::string_view kTableEnd = " </table>";
constexpr std::string_view kSummaryFont = "<font color=\"#0000FF\">";
constexpr int kReportDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The header row exactly as the writer forms it.
class StringSink : public ReportSink {
 public:
  bool Create() override { return true; }
  bool Write(const char* bytes, std::size_t length) override {
    text.append(bytes, length);
    return true;
  }
  bool Commit() override { return true; }
  void Close() override {}
  std::string text;
};

bool Take(std::string_view& s, std::string_view prefix) {
  if (s.substr(0, prefix.size()) != prefix) return false;
  s.remove_prefix(prefix.size());
  return true;
}

// The most a cell can show: the largest word's 255.9375, rounded.
constexpr int kMostTenths = 2559;

// Leading decimal digits of `s` as %d writes a number (no leading zero), taken off it; nullopt
// for more than nine digits, which no number of the report has.
std::optional<int> TakeNumber(std::string_view& s) {
  std::size_t n = 0;
  while (n < s.size() && n < 10 && s[n] >= '0' && s[n] <= '9') ++n;
  const auto value = ParseDecimal(s.substr(0, n));
  s.remove_prefix(n);
  return value;
}

// "25.3" as the writer's FormatOneDecimal forms it, in tenths: a temperature the report can show.
std::optional<int> TakeTenths(std::string_view& s) {
  const auto whole = TakeNumber(s);
  if (!whole || *whole > kMostTenths / 10 || !Take(s, ".") || s.empty() || s[0] < '0' || s[0] > '9') {
    return std::nullopt;
  }
  const int tenths = *whole * 10 + (s[0] - '0');
  s.remove_prefix(1);
  if (tenths > kMostTenths) return std::nullopt;
  return tenths;
}

bool IsHeatColour(std::string_view c) {
  for (double t : {0.0, 20.0, 25.0, 30.0, 35.0}) {
    if (c == HeatColour(t)) return true;
  }
  return false;
}

// `   <td bgcolor="#XXXXXX">` with one of the report's colours, taken off `s`.
bool TakeColouredCell(std::string_view& s) {
  if (!Take(s, "   <td bgcolor=\"") || s.size() < 9 || !IsHeatColour(s.substr(0, 7))) return false;
  s.remove_prefix(7);
  return Take(s, "\">");
}

class ReportParser {
 public:
  ReportParser(std::string_view bytes, std::string* error) : lines_(bytes), error_(error) {}

  bool Parse(Season* out) {
    std::string_view line;
    if (!Next(&line) || line != kDoctype) return Fail("not a paddytherm report: no HTML 4.01 head");
    // The rest of the head up to the caption; the charset says how to read the caption.
    bool charset = false;
    for (;;) {
      if (!Next(&line)) return Fail("not a paddytherm report: no caption");
      if (line == kCharset) charset = true;
      if (line == kCaptionLines[0]) break;
    }
    if (!charset) return Fail("not a paddytherm report: its head does not say Shift-JIS");
    if (!Expect(kCaptionLines[1]) || !Caption() || !Expect(kCaptionEnd[0]) || !Expect(kCaptionEnd[1])) return false;
    if (!HeaderRow()) return false;
    if (!Rows()) return false;
    if (!Tail()) return false;

    Season s;
    s.start = start_;
    s.samples = std::move(samples_);
    s.pointerCount = static_cast<std::int32_t>(s.samples.size());
    *out = std::move(s);
    return true;
  }

 private:
  bool Fail(const std::string& what) {
    *error_ = "line " + std::to_string(lines_.LineNumber() > 0 ? lines_.LineNumber() : 1) + ": " + what;
    return false;
  }

  bool EndsEarly() {
    *error_ = "line " + std::to_string(lines_.LineNumber() + 1) + ": the report ends here: it was cut short";
    return false;
  }

  bool Next(std::string_view* line) {
    bool terminated = false;
    if (!lines_.Next(line, &terminated)) return false;
    if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
    return true;
  }

  bool Expect(std::string_view wanted) {
    std::string_view line;
    if (!Next(&line)) return EndsEarly();
    if (line != wanted) return Fail("expected \"" + std::string(wanted) + "\"");
    return true;
  }

  bool Caption() {
    std::string_view line;
    if (!Next(&line)) return EndsEarly();
    std::optional<int> y, m, d, h;
    if (!Take(line, kReportCaptionHead) || !(y = TakeNumber(line)) || !Take(line, "-") || !(m = TakeNumber(line)) ||
        !Take(line, "-") || !(d = TakeNumber(line)) || !Take(line, " ") || !(h = TakeNumber(line)) ||
        line != kCaptionTail) {
      return Fail("the caption is not the report's start time");
    }
    start_ = {*y, *m, *d, *h};
    if (!IsSeasonHour(start_)) return Fail("the caption's start is not a real date and hour from 2000 to 2099");
    rowMonth_ = *m;
    rowDay_ = *d;
    return true;
  }

  bool HeaderRow() {
    StringSink sink;
    WriteHeaderRow(sink);
    std::string_view wanted = sink.text;
    std::string_view line;
    while (!wanted.empty()) {
      const std::size_t lf = wanted.find('\n');
      if (!Next(&line)) return EndsEarly();
      if (line != wanted.substr(0, lf)) return Fail("expected the report's header row");
      wanted.remove_prefix(lf + 1);
    }
    return true;
  }

  bool DateCell(std::string_view line) {
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, "   <td>%2d/%-2d</td>", rowMonth_, rowDay_);
    if (line != wanted) return Fail(std::string("expected the date cell \"") + wanted + "\"");
    return true;
  }

  void AdvanceRowDate() {
    if (++rowDay_ > kReportDays[rowMonth_ - 1]) {
      rowDay_ = 1;
      rowMonth_ = rowMonth_ % 12 + 1;
    }
  }

  bool Rows() {
    std::string_view line;
    if (!Next(&line)) return EndsEarly();
    // A report without samples closes the header row a second time.
    if (line == kRowClose) {
      if (!Next(&line)) return EndsEarly();
      return line == kTableEnd || Fail("expected the end of the table");
    }
    for (bool first = true;; first = false) {
      if (line != kRowOpen) return Fail("expected a day row");
      if (!Next(&line)) return EndsEarly();
      if (!DateCell(line)) return false;
      const std::size_t rowStart = samples_.size();
      int column = 0;
      for (; column < kHoursPerDay; ++column) {
        if (!Next(&line)) return EndsEarly();
        if (line == kRowClose) break;
        if (first && column < start_.hour) {
          if (line != kEmptyCell) return Fail("expected \"---\" before the start hour");
          continue;
        }
        if (!SampleCell(line)) return false;
      }
      if (column < kHoursPerDay) {
        // A short row is the last one, and the writer opens a row only for a sample.
        if (samples_.size() == rowStart) return Fail("a day row without samples");
        if (!Next(&line)) return EndsEarly();
        return line == kTableEnd || Fail("expected the end of the table after a short row");
      }
      for (int i = 0; i < 3; ++i) {
        if (!Next(&line)) return EndsEarly();
        if (!SummaryCell(line)) return Fail("expected the day's mean, maximum and minimum");
      }
      if (!Next(&line)) return EndsEarly();
      if (!DateCell(line) || !Expect(kRowClose)) return false;
      AdvanceRowDate();
      if (!Next(&line)) return EndsEarly();
      if (line == kTableEnd) return true;
    }
  }

  bool SampleCell(std::string_view line) {
    if (!TakeColouredCell(line)) return Fail("expected a sample cell");
    const bool star = Take(line, "*");
    const auto tenths = TakeTenths(line);
    if (!tenths || line != "</td>") return Fail("expected a sample cell's temperature");
    if (samples_.size() >= static_cast<std::size_t>(kSampleTableSize)) return Fail("more samples than a logger holds");
    samples_.push_back(Sample{std::nullopt, *tenths / 10.0, star});
    return true;
  }

  bool SummaryCell(std::string_view line) {
    return TakeColouredCell(line) && Take(line, kSummaryFont) && TakeTenths(line) && line == "</font></td>";
  }

  // The note under the table and the end of the document.
  bool Tail() {
    std::string_view line, last;
    while (Next(&line)) last = line;
    return last == "</html>" || Fail("the report does not end with </html>: it was cut short");
  }

  LineReader lines_;
  std::string* error_;
  CivilHour start_;
  int rowMonth_ = 0, rowDay_ = 0;
  std::vector<Sample> samples_;
};

}  // namespace

bool ReadReport(std::string_view bytes, Season* out, std::string* error) {
  return ReportParser(bytes, error).Parse(out);
}

bool ReadReportFile(const std::string& path, Season* out, std::string* error) {
  std::string bytes;
  if (!ReadWholeFile(path, &bytes, error)) return false;
  if (ReadReport(bytes, out, error)) return true;
  *error = path + ": " + *error;
  return false;
}

}  // namespace pt::season
