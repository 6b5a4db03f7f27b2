// The archive reader against arbitrary bytes: never a read past them, never an overflow, and an
// archive it takes is one the writer gives back byte for byte; what it refuses names a line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "season/io/archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  pt::season::Season season;
  std::string error;
  if (pt::season::ReadArchive(bytes, &season, &error, pt::season::UndatedSeason::Keep)) {
    std::string again;
    if (!pt::season::FormatArchive(season, &again, &error) || again != bytes) std::abort();
  } else if (error.rfind("line ", 0) != 0) {
    std::abort();
  }
  return 0;
}
