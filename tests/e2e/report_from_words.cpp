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

#include "report/html_report.h"
#include "support/fake_dialog.h"

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
  // The report's only use of its window is to show failures: they go to stderr and fail the run.
  pt::test::FakeDialog owner;
  const int result = pt::WriteReport(owner, argv[1], argv[2], table);
  for (const auto& box : owner.boxes) {
    std::fprintf(stderr, "pt-report-from-words: box [%s] %s\n", box.caption.c_str(), box.text.c_str());
  }
  return result == 0 && owner.boxes.empty() ? 0 : 1;
}
