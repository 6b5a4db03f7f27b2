// The report reader against arbitrary bytes: never a read past them, never an overflow; a report
// it takes starts in a year the program writes and holds only temperatures a report can show.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "report/html_report.h"
#include "season/io/report_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  pt::season::Season season;
  std::string error;
  if (pt::season::ReadReport(bytes, &season, &error)) {
    if (!pt::season::IsSeasonHour(season.start) || season.samples.size() > pt::kSampleTableSize) std::abort();
    for (const pt::season::Sample& s : season.samples) {
      if (s.temperature < 0.0 || s.temperature > 255.9 || s.word) std::abort();
    }
  } else if (error.rfind("line ", 0) != 0) {
    std::abort();
  }
  return 0;
}
