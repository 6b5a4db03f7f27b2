#include "report/html_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "report/samples.h"
#include "support/fake_dialog.h"
#include "unit/report/memory_sink.h"
#include "app/program_state.h"

namespace pt {
namespace {

namespace fs = std::filesystem;
using test::FakeDialog;
using test::MemorySink;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The expected files, Shift-JIS, written by golden/make_goldens.py and not by the writer. Made
// absolute before any test changes the current directory.
const fs::path kGoldenDir = fs::absolute(fs::path(__FILE__).parent_path() / "golden");

std::string Golden(const char* name) {
  const fs::path path = kGoldenDir / name;
  std::string bytes = ReadBytes(path);
  EXPECT_FALSE(bytes.empty()) << "missing golden file " << path;
  return bytes;
}

// The head and tail lines with the message each one shows when it cannot be written.
struct CheckedLine {
  const char* text;
  const char* message;
};
const CheckedLine kHead[] = {
    {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"\n"
     "  \"http://www.w3.org/TR/html4/loose.dtd\">\n",
     "ﾌｧｲﾙﾗｲﾄｴﾗｰ<DOCTYPE...>"},
    {"<html lang=\"ja\">\n\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<html...>"},
    {"<head>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<head>"},
    {" <meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<meta...>"},
    {" <title>水温</title>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<title...>"},
    {"</head>\n\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</head>"},
    {"<body bgcolor=\"#C0C0C0\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<body...>"},
    {" <basefont size=\"2\">\n\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<basefont...>"},
    {" <table border=\"1\"  align=\"center\" cellpadding=\"3\" cellspacing=\"2\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<Ttable...>"},
};
const CheckedLine kTail[] = {
    {" </table>\n\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</TABLE>"},
    {" <table border=\"0\"  align=\"center\" cellpadding=\"5\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<Ttable...>"},
    {"  <tr bgcolor=\"#C0C0C0\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<tr bgcolor...>"},
    {"   <td  align=\"left\" valign=\"top\" width=\"1200\" height=\"10\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<td  align...>"},
    {"    <font size=\"3\" color=\"#000000\">\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ<font size...>"},
    {"     ＊印の付いた温度は水無しの時の温度です <br>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ ＊印の..."},
    {"    </font>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</font>"},
    {"   </td>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</td>"},
    {"  </tr>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</tr>"},
    {" </table>\n\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</table>"},
    {"</body>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</body...>"},
    {"</html>\n", "ﾌｧｲﾙﾗｲﾄｴﾗｰ</html...>"},
};

std::string Joined(const CheckedLine* lines, int count) {
  std::string all;
  for (int i = 0; i < count; ++i) all += lines[i].text;
  return all;
}
const std::string kHeadText = Joined(kHead, 9);
const std::string kTailText = Joined(kTail, 12);

const std::vector<std::uint32_t> kHour0Words = {
    0x00f0, 0x0105, 0x011a, 0x412f, 0x0134, 0x0149, 0x015e, 0x0163, 0x0178, 0x018d, 0xc192, 0x01a7,
    0x31bc, 0x01c1, 0x01d6, 0x01eb, 0x01f0, 0x4205, 0x021a, 0x022f, 0x0234, 0x0249, 0x025e, 0x0263};
const std::vector<std::uint32_t> kHour15Words = {0x0190, 0x4194, 0xC194, 0x3194, 0x0FFF,
                                                 0x0130, 0x013F, 0x0234, 0x0200, 0x0238};

class HtmlReportTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  // Program start, for each case of a table.
  void Reset() {
    ResetProgramState();
    table.assign(kSampleTableSize, 0);
    sink = MemorySink{};
    dlg = FakeDialog{};
  }

  void Fill(const std::vector<std::uint32_t>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) table[i] = words[i];
  }
  int Write(const char* stamp, const char* pointer) {
    return WriteReport(dlg, stamp, pointer, table.data());
  }
  void ExpectOneBox(const char* text, const char* caption, BoxOwner owner) {
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.boxes[0].text, text);
    EXPECT_EQ(dlg.boxes[0].caption, caption);
    EXPECT_EQ(dlg.boxes[0].owner, owner);
    EXPECT_EQ(dlg.beeps, 0);
  }

  FakeDialog dlg;
  MemorySink sink;
  ScopedReportSink installSink{&sink};
  std::vector<std::uint32_t> table;  // on the heap, so a read past slot 9999 is caught
};

struct GoldenCase {
  const char* golden;
  const char* stamp;
  const char* pointer;
  std::vector<std::uint32_t> words;
  int presetCount;  // SampleCount left by an earlier report
  int result;
  ReportDate after;
};

TEST_F(HtmlReportTest, WritesTheGoldenFilesByteForByteOneLinePerWrite) {
  const GoldenCase cases[] = {
      {"worked_example.html", "STR:200804142200", "3", {0x0130, 0x4194, 0x0234}, 0, 0, {2008, 4, 15, 22}},
      {"count0.html", "STR:200804141500", "0", {0x0190}, 0, 0, {2008, 4, 14, 15}},
      {"count0.html", "STR:200804141500", "-5", {0x0190}, 0, 0, {2008, 4, 14, 15}},
      {"hour0_24.html", "STR:200805010000", "24", kHour0Words, 0, 0, {2008, 5, 2, 0}},
      {"hour23_1.html", "Rstr:200806302359", "\n1", {0x0234}, 0, 0, {2008, 7, 1, 23}},
      {"hour15_9.html", "START:20080414153", "9", kHour15Words, 0, 0, {2008, 4, 15, 15}},
      {"hour15_10.html", "START:20080414153", "10", kHour15Words, 0, 0, {2008, 4, 15, 15}},
      {"dec31.html", "STR:200812312200", "5", {0x0140, 0x0148, 0x4150, 0x0158, 0x0160}, 0, 0, {2009, 1, 1, 22}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.golden + std::string(" ") + c.pointer);
    Reset();
    Report.SampleCount = c.presetCount;
    Fill(c.words);
    EXPECT_EQ(Write(c.stamp, c.pointer), c.result);
    EXPECT_EQ(sink.Contents(), Golden(c.golden));
    EXPECT_EQ(sink.placed, Golden(c.golden));
    EXPECT_EQ(sink.closes, 1);
    EXPECT_FALSE(sink.open);
    EXPECT_EQ(Report.Date.year, c.after.year);
    EXPECT_EQ(Report.Date.month, c.after.month);
    EXPECT_EQ(Report.Date.day, c.after.day);
    EXPECT_EQ(Report.Date.hour, c.after.hour);
    EXPECT_TRUE(dlg.boxes.empty());
    // One write per line; the document type is the only write of two lines.
    for (std::size_t i = 0; i < sink.writes.size(); ++i) {
      const std::string& w = sink.writes[i];
      ASSERT_FALSE(w.empty());
      EXPECT_EQ(w.back(), '\n') << i;
      const std::string body = w.substr(0, w.find_last_not_of('\n') + 1);
      const bool doctype = i == 0;
      EXPECT_EQ(body.find('\n') == std::string::npos, !doctype) << w;
      EXPECT_EQ(w.find('\r'), std::string::npos);
    }
  }
}

TEST_F(HtmlReportTest, AFailedWriteOrCommitShowsOneMessageAndKeepsLastSeasonsReport) {
  const std::string whole = Golden("worked_example.html");
  ASSERT_EQ(whole.substr(0, kHeadText.size()), kHeadText);
  ASSERT_EQ(whole.substr(whole.size() - kTailText.size()), kTailText);
  const std::string middle =
      whole.substr(kHeadText.size(), whole.size() - kHeadText.size() - kTailText.size());
  // Caption 5 lines, header row 31, body 35 (two row openings, 31 cells, two closings).
  const int middleWrites = 5 + 31 + 35;

  struct FailCase {
    std::string what;
    int failAt;           // the write that fails, 1-based; 0 for none
    bool failCommit;
    const CheckedLine* line;  // a head or tail line: its message, what was written before it
    bool head;
  };
  std::vector<FailCase> cases;
  for (int i = 0; i < 9; ++i) cases.push_back({"head " + std::to_string(i + 1), i + 1, false, &kHead[i], true});
  for (int i = 0; i < 12; ++i) {
    cases.push_back({"tail " + std::to_string(i + 1), 9 + middleWrites + i + 1, false, &kTail[i], false});
  }
  // A line of the table and the final move show no message of their own.
  cases.push_back({"caption line 1", 9 + 1, false, nullptr, false});
  cases.push_back({"header cell 2:00", 9 + 5 + 5, false, nullptr, false});
  cases.push_back({"last body line", 9 + middleWrites, false, nullptr, false});
  cases.push_back({"commit", 0, true, nullptr, false});

  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    Fill({0x0130, 0x4194, 0x0234});
    sink.failAtWrite = c.failAt;
    sink.failCommit = c.failCommit;
    EXPECT_EQ(Write("STR:200804142200", "3"), -1);
    EXPECT_EQ(sink.placed, "last season's report");
    EXPECT_EQ(sink.commits, 0);
    EXPECT_EQ(sink.closes, 1);
    EXPECT_FALSE(sink.open);
    if (c.line == nullptr) {
      ExpectOneBox("ﾌｧｲﾙｵｰﾌﾟﾝｴﾗｰ", "ｴﾗｰ", BoxOwner::Dialog);
      EXPECT_EQ(sink.writeCalls, 9 + middleWrites + 12) << "the rest of the report is still formed";
      continue;
    }
    ExpectOneBox(c.line->message, "ｴﾗｰ", BoxOwner::Frame);
    const int index = static_cast<int>(c.line - (c.head ? kHead : kTail));
    const std::string expected =
        c.head ? Joined(kHead, index) + middle : kHeadText + middle + Joined(kTail, index);
    EXPECT_EQ(sink.Contents(), expected);
    // A failed tail write is the last write; after a failed head line the middle still follows.
    EXPECT_EQ(sink.writeCalls, c.head ? index + 1 + middleWrites : sink.failAtWrite);
  }
}

TEST_F(HtmlReportTest, RefusedOpenShowsItsMessageAndTouchesNothing) {
  sink.failCreate = true;
  Report.Date = {2007, 1, 2, 3};
  Report.SampleCount = 5;
  EXPECT_EQ(Write("STR:200804142200", "3"), -1);
  ExpectOneBox("ﾌｧｲﾙｵｰﾌﾟﾝｴﾗｰ", "ｴﾗｰ", BoxOwner::Dialog);
  EXPECT_EQ(sink.writeCalls, 0);
  EXPECT_EQ(sink.placed, "last season's report");
  EXPECT_EQ(Report.Date.year, 2007);
  EXPECT_EQ(Report.SampleCount, 5);
}

// A season that cannot be dated or laid out writes nothing: last season's report stays in place,
// and the stamp's fields are still taken as the report's date.
TEST_F(HtmlReportTest, ARefusedStampOrCountKeepsLastSeasonsReport) {
  struct Case {
    const char* stamp;
    const char* pointer;
    const char* message;
    ReportDate date;
  } const cases[] = {
      {"STR:199904141500", "3", "年月日時分のデータが異常", {1999, 4, 14, 15}},
      {"STR:200813141500", "3", "年月日時分のデータが異常", {2008, 13, 14, 15}},
      {"STR:200800141500", "3", "年月日時分のデータが異常", {2008, 0, 14, 15}},
      {"STR:200804142400", "3", "年月日時分のデータが異常", {2008, 4, 14, 24}},
      {"STR:20080414-100", "3", "年月日時分のデータが異常", {2008, 4, 14, -1}},
      {"short:2008", "3", "年月日時分のデータが異常", {2007, 1, 2, 3}},
      {"STR:200804141500", "10001", "温度データの数のデータが異常 !!", {2008, 4, 14, 15}},
      {"STR:200804141500", "99999999999", "温度データの数のデータが異常 !!", {2008, 4, 14, 15}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.stamp) + " " + c.pointer);
    Reset();
    Report.Date = {2007, 1, 2, 3};
    Report.SampleCount = 3;  // an earlier report's count must not be laid out either
    Fill({0x0190, 0x4194, 0x0234});
    EXPECT_EQ(Write(c.stamp, c.pointer), -1);
    ExpectOneBox(c.message, "", BoxOwner::Dialog);
    EXPECT_EQ(sink.creates, 1);
    EXPECT_EQ(sink.writeCalls, 0);
    EXPECT_EQ(sink.commits, 0);
    EXPECT_EQ(sink.closes, 1);
    EXPECT_EQ(sink.placed, "last season's report");
    EXPECT_EQ(Report.Date.year, c.date.year);
    EXPECT_EQ(Report.Date.month, c.date.month);
    EXPECT_EQ(Report.Date.day, c.date.day);
    EXPECT_EQ(Report.Date.hour, c.date.hour);
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(HtmlReportTest, AFullTableGivesFourHundredAndEighteenRows) {
  for (int i = 0; i < kSampleTableSize; ++i) table[i] = 0x0100 + static_cast<std::uint32_t>(i % 400);
  EXPECT_EQ(Write("STR:200804141500", "10000"), 0);
  EXPECT_TRUE(dlg.boxes.empty());
  const std::string all = sink.Contents();
  ASSERT_EQ(all.substr(0, kHeadText.size()), kHeadText);
  ASSERT_EQ(all.substr(all.size() - kTailText.size()), kTailText);

  // Split the table into rows and count each row's cells.
  std::vector<int> cells;
  std::vector<std::string> firstCell, lastCell;
  for (const std::string& line : Lines(all)) {
    if (line == "  <tr align=\"center\">") {
      cells.push_back(0);
      firstCell.emplace_back();
    } else if (!cells.empty() && (line.rfind("   <td", 0) == 0 || line.rfind("   <th", 0) == 0)) {
      if (cells.back() == 0) firstCell.back() = line;
      ++cells.back();
      lastCell.resize(cells.size());
      lastCell.back() = line;
    } else if (line == " </table>") {
      break;
    }
  }
  // The header row, 417 whole days (15 + 10000 = 417 * 24 + 7) and seven samples of a last day.
  ASSERT_EQ(cells.size(), 1u + 418u);
  for (std::size_t r = 0; r + 1 < cells.size(); ++r) EXPECT_EQ(cells[r], 29) << "row " << r;
  EXPECT_EQ(cells.back(), 1 + 7);
  // 14 April 2008 plus 417 days without leap days is 5 June 2009.
  EXPECT_EQ(firstCell.back(), "   <td> 6/5 </td>");
  EXPECT_EQ(firstCell[1], "   <td> 4/14</td>");
  EXPECT_EQ(firstCell[2], "   <td> 4/15</td>");
  // Slot 9999 holds 0x0100 + 399 = 0x028F: 40.9375.
  EXPECT_EQ(lastCell.back(), "   <td bgcolor=\"#FF0000\">40.9</td>");
  EXPECT_EQ(Report.Date.year, 2009);
  EXPECT_EQ(Report.Date.month, 6);
  EXPECT_EQ(Report.Date.day, 5);
}

class ReportFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    previous = fs::current_path();
    // Unique per run: other build trees may run these tests at the same time.
    dir = fs::temp_directory_path() /
          ("pt_report_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
           "_" + std::to_string(std::random_device{}()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::current_path(dir);
  }
  void TearDown() override {
    fs::current_path(previous);
    fs::remove_all(dir);
  }
  fs::path previous, dir;
  ScopedReportSink useTheFile{nullptr};
  FakeDialog dlg;
  std::uint32_t table[kSampleTableSize] = {0x0130, 0x4194, 0x0234};
};

TEST_F(ReportFileTest, ReplacesTheFileInTheCurrentDirectory) {
  std::ofstream(kReportFileName, std::ios::binary) << std::string(10000, 'x');
  EXPECT_EQ(WriteReport(dlg, "STR:200804142200", "3", table), 0);
  EXPECT_EQ(ReadBytes(dir / kReportFileName), Golden("worked_example.html"));

  // A refused stamp leaves it as it was, and no temporary file beside it.
  Report = ReportState{};
  EXPECT_EQ(WriteReport(dlg, "STR:199904141500", "3", table), -1);
  EXPECT_EQ(ReadBytes(dir / kReportFileName), Golden("worked_example.html"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(ReportFileTest, AFileThatCannotBeCreatedIsReported) {
  fs::create_directory(kReportFileName);  // a folder of that name cannot be opened for writing
  EXPECT_EQ(WriteReport(dlg, "STR:200804142200", "3", table), -1);
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "ﾌｧｲﾙｵｰﾌﾟﾝｴﾗｰ");
  EXPECT_EQ(dlg.boxes[0].caption, "ｴﾗｰ");
  EXPECT_EQ(dlg.boxes[0].owner, BoxOwner::Dialog);
  EXPECT_TRUE(fs::is_directory(dir / kReportFileName));
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    ++entries;
    EXPECT_EQ(entry.path().filename(), kReportFileName) << "no temporary file is left";
  }
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace pt
