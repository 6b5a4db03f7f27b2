// The farmer's guide lists every box the program can show, each text as the box shows it, and
// every column of the season page's daily table. The texts are taken here from the program's own
// tables and pages, so a text that is changed or added without the guide fails this test. The
// guide, the zip's README.txt and the pages also keep to one word for the logger and one for a
// season.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/win32/messages.h"
#include "logger/messages.h"
#include "platform/sjis_utf8.h"
#include "report/messages.h"
#include "season/model/season.h"
#include "season/pages/compare.h"
#include "season/pages/kept_season.h"
#include "season/pages/page_text.h"
#include "season/pages/season_page.h"
#include "serial/messages.h"

namespace {

// One line of a Shift-JIS text, as the guide's UTF-8 shows it.
std::string LineUtf8(const std::string& sjis) { return pt::season::MemoUtf8(sjis); }

// A Shift-JIS text of one or more lines, converted line by line so the line breaks stay.
std::string TextUtf8(const std::string& sjis) {
  std::string out, line;
  std::istringstream in(sjis);
  bool first = true;
  while (std::getline(in, line)) {
    if (!first) out += '\n';
    out += LineUtf8(line);
    first = false;
  }
  if (!sjis.empty() && sjis.back() == '\n') out += '\n';
  return out;
}

std::string WideUtf8(const wchar_t* text) {
  std::string out;
  for (; *text != 0; ++text) pt::AppendCodePoint(static_cast<std::uint32_t>(*text), out);
  return out;
}

// How the text stands in the page's source.
std::string HtmlEscaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else out += c;
  }
  return out;
}

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ReadGuide() { return ReadFile(PT_GUIDE_PATH); }

// Every text the program can show in a box or in the port's status label, in UTF-8.
std::vector<std::string> ProgramTexts() {
  std::vector<std::string> texts;
  const auto add = [&texts](const char* sjis) { texts.push_back(TextUtf8(sjis)); };
  for (const char* t : {pt::kNoProperReplyText, pt::kCannotSendText, pt::kBadClockText,
                        pt::kBadSampleCountText, pt::kReportErrorCaption, pt::kReportOpenErrorText,
                        pt::kReportBadStampText, pt::kReportBadCountText, pt::kPortErrorCaption,
                        pt::kPortDisabledLabel, pt::kPortEventsStepText, pt::kPortQueuesStepText,
                        pt::kPortLineStepText}) {
    add(t);
  }
  for (const pt::ReadFailureTexts& r :
       {pt::kMemoReadTexts, pt::kStartReadTexts, pt::kPointerReadTexts, pt::kSampleReadTexts}) {
    add(r.cannotSend);
    add(r.noReply);
  }
  for (const auto& lines : {pt::kReportHeadLines, pt::kReportTailLines}) {
    for (const pt::ReportLine& line : lines) add(line.failure);
  }
  // The guide shows the port's box as its picture does: COM20, which the machine lacks, so the
  // system's "file not found".
  char port[256];
  std::snprintf(port, sizeof port, pt::kPortOpenFailureFormat, "COM20", 2);
  add(port);
  texts.push_back(WideUtf8(pt::kMainDialogFailedText));
  texts.push_back(WideUtf8(pt::kMainDialogFailedCaption));
  return texts;
}

TEST(GuideMessages, TheGuideShowsEveryTextOfTheProgram) {
  const std::string guide = ReadGuide();
  ASSERT_GT(guide.size(), 1000u) << "cannot read " << PT_GUIDE_PATH;
  for (const std::string& text : ProgramTexts()) {
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << "not Shift-JIS: " << text;
    EXPECT_NE(guide.find(HtmlEscaped(text)), std::string::npos) << "missing from the guide: " << text;
  }
}

// The guide names the folder the dialog keeps its seasons in, and the files as the program names
// them: the memo with its trailing blanks gone, then the start's date and hour.
TEST(GuideMessages, TheGuideNamesTheSeasonsFolderAndItsFilesAsTheProgramDoes) {
  const std::string guide = ReadGuide();
  pt::season::Season season;
  season.memoUtf8 = pt::season::U8(u8"田んぼA-1");
  season.memoSjis = "\x93\x63\x82\xF1\x82\xDA" "A-1       ";
  season.start = {2008, 4, 14, 6};
  const std::string stem = pt::season::SeasonFileStem(season);
  for (const std::string& name : {std::string(pt::season::kSeasonsFolder), stem + ".ptlog", stem + ".html"}) {
    EXPECT_NE(guide.find(name), std::string::npos) << "the guide does not name " << name;
  }
}

// One complete day at 20 degrees, from midnight: every part of the season page is drawn.
pt::season::Season OneDay() {
  pt::season::Season season;
  season.memoUtf8 = "A";
  season.start = {2008, 6, 1, 0};
  season.samples.assign(24, pt::season::SampleFromWord(0x140));
  season.pointerCount = 24;
  return season;
}

// The texts of the page's <th> cells, in order.
std::vector<std::string> HeadingCells(const std::string& page) {
  std::vector<std::string> cells;
  for (std::size_t at = page.find("<th>"); at != std::string::npos; at = page.find("<th>", at)) {
    at += 4;
    cells.push_back(page.substr(at, page.find("</th>", at) - at));
  }
  return cells;
}

TEST(GuideMessages, TheGuideNamesEveryColumnOfTheSeasonPage) {
  const std::string guide = ReadGuide();
  const std::vector<std::string> cells = HeadingCells(pt::season::FormatSeasonPage(OneDay(), {}));
  ASSERT_GE(cells.size(), 5u);
  for (const std::string& cell : cells) {
    EXPECT_NE(guide.find(cell), std::string::npos) << "the season page's column missing from the guide: " << cell;
  }
}

// The logger is ロガー and a season 作期 wherever a farmer reads about them. The dialog's caption,
// quoted as it stands, is the one 温度計 left.
TEST(GuideMessages, OneWordForTheLoggerAndOneForASeason) {
  using pt::season::U8;
  const std::string caption = U8(u8"田んぼ温度計用(HTML 4.01)");
  const std::vector<std::pair<std::string, std::string>> texts = {
      {"the guide", ReadGuide()},
      {"README.txt", ReadFile(PT_README_PATH)},
      {"the season page", pt::season::FormatSeasonPage(OneDay(), {})},
      {"the compare page", pt::season::FormatComparePage({{"A", OneDay()}}, {})},
  };
  for (const auto& [name, original] : texts) {
    ASSERT_GT(original.size(), 500u) << name;
    std::string text = original;
    for (std::size_t at = text.find(caption); at != std::string::npos; at = text.find(caption, at)) {
      text.erase(at, caption.size());
    }
    for (const char8_t* other : {u8"温度計", u8"季節", u8"シーズン"}) {
      EXPECT_EQ(text.find(U8(other)), std::string::npos) << name << " says " << U8(other);
    }
  }
}

}  // namespace
