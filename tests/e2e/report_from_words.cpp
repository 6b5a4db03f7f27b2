// pt-report-from-words: writes "tavovalu.html" with the native report writer from a start stamp,
// a pointer text and a word file ("%04X" per line, as the simulated logger dumps them), so the
// end-to-end test can compare the Windows program's report with it byte for byte.
//
//   pt-report-from-words START_STAMP POINTER_TEXT WORDS_FILE OUT_DIR
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "report/html_report.h"

namespace {

// The report's only use of its window is to show failures; here they go to stderr and fail the run.
class ConsoleDialog : public pt::Dialog {
 public:
  int boxes = 0;
  void SetItemText(int, const char*) override {}
  int GetItemText(int, char* buf, int size) override {
    if (size > 0) buf[0] = '\0';
    return 0;
  }
  int IsButtonChecked(int) override { return 0; }
  void CheckRadioButton(int, int, int) override {}
  void EnableItem(int, bool) override {}
  void ComboInsertString(int, int, const char*) override {}
  void ComboSetCurSel(int, int) override {}
  int ComboGetCurSel(int) override { return -1; }
  void ProgressMessage(int, unsigned, std::intptr_t, std::intptr_t) override {}
  void StartTimer(int, unsigned) override {}
  void StopTimer(int) override {}
  void ShowMessage(const char* text, const char* caption, pt::BoxOwner) override {
    ++boxes;
    std::fprintf(stderr, "pt-report-from-words: box [%s] %s\n", caption, text);
  }
  void Beep() override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s START_STAMP POINTER_TEXT WORDS_FILE OUT_DIR\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[3]);
  if (!in) {
    std::fprintf(stderr, "pt-report-from-words: cannot read %s\n", argv[3]);
    return 2;
  }
  static std::uint32_t table[pt::kSampleTableSize] = {};
  std::string token;
  int count = 0;
  while (in >> token) {
    if (count == pt::kSampleTableSize) {
      std::fprintf(stderr, "pt-report-from-words: more than %d words\n", pt::kSampleTableSize);
      return 2;
    }
    char* end = nullptr;
    unsigned long value = std::strtoul(token.c_str(), &end, 16);
    if (*end != '\0' || value > 0xFFFF) {
      std::fprintf(stderr, "pt-report-from-words: bad word '%s'\n", token.c_str());
      return 2;
    }
    table[count++] = static_cast<std::uint32_t>(value);
  }
  if (chdir(argv[4]) != 0) {
    std::perror(argv[4]);
    return 2;
  }
  ConsoleDialog owner;
  int result = pt::WriteReport(owner, argv[1], argv[2], table);
  return result == 0 && owner.boxes == 0 ? 0 : 1;
}
