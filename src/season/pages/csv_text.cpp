#include "season/pages/csv_text.h"

#include <cstring>

#include "report/decimal_text.h"

namespace pt::season {

std::string CsvStart(const char* headerLine, bool byteOrderMark) {
  std::string out = byteOrderMark ? kUtf8Bom : "";
  out += headerLine;
  return out;
}

void AppendDecimalCell(std::string& out, const std::optional<double>& value) {
  if (!value) return;
  char number[kDecimalTextSize];
  const int n = FormatOneDecimal(*value, number, sizeof number);
  if (n <= 0) return;
  out += std::strcmp(number, "-0.0") == 0 ? "0.0" : number;
}

}  // namespace pt::season
