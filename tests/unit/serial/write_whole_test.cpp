#include "serial/write_whole.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pt {
namespace {

// One answer of the write call: did it succeed, and how many bytes it says it took.
struct Answer {
  bool ok;
  std::uint32_t took;
};

TEST(WriteWhole, GoesOnAfterAShortWriteAndEndsOnFailureOrNothingTaken) {
  struct Case {
    const char* name;
    std::vector<Answer> answers;
    bool result;
    std::vector<std::string> asked;  // the bytes each call was offered
  };
  const Case cases[] = {
      {"all at once", {{true, 8}}, true, {"Rdt0001\r"}},
      {"short, then the rest", {{true, 3}, {true, 5}}, true, {"Rdt0001\r", "0001\r"}},
      {"short twice", {{true, 3}, {true, 1}, {true, 4}}, true, {"Rdt0001\r", "0001\r", "001\r"}},
      // The driver's write time-out with the line stalled: not a failure, nothing more offered.
      {"succeeds taking nothing", {{true, 0}}, true, {"Rdt0001\r"}},
      {"short, then nothing", {{true, 3}, {true, 0}}, true, {"Rdt0001\r", "0001\r"}},
      {"fails", {{false, 0}}, false, {"Rdt0001\r"}},
      {"fails having taken some", {{false, 8}}, false, {"Rdt0001\r"}},
      {"short, then fails", {{true, 3}, {false, 0}}, false, {"Rdt0001\r", "0001\r"}},
      {"says it took more than offered", {{true, 99}}, true, {"Rdt0001\r"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> asked;
    std::size_t next = 0;
    const bool result =
        WriteWhole("Rdt0001\r", 8, [&](const char* p, std::uint32_t n, std::uint32_t& written) {
          asked.emplace_back(p, n);
          if (next == c.answers.size()) {
            written = 0;
            return false;  // called once more than scripted
          }
          written = c.answers[next].took;
          return c.answers[next++].ok;
        });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(asked, c.asked);
  }
}

}  // namespace
}  // namespace pt
