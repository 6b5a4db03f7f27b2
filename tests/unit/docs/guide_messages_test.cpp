// The farmer's guide lists every box the program can show, each text as the box shows it. The
// texts are taken here from the program's own tables, so a text that is changed or added without
// the guide fails this test.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/win32/messages.h"
#include "logger/messages.h"
#include "report/messages.h"
#include "season/season.h"
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
  for (; *text != 0; ++text) pt::season::AppendCodePoint(static_cast<std::uint32_t>(*text), out);
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

std::string ReadGuide() {
  std::ifstream in(PT_GUIDE_PATH, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

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

}  // namespace
