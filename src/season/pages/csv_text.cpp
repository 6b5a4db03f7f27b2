#include "season/pages/csv_text.h"

#include <cmath>
#include <cstdio>
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

void AppendOffset(std::string& out, double offsetC, bool sign) {
  const long long hundredths = std::llround(offsetC * 100.0);
  char text[32];
  std::snprintf(text, sizeof text, sign ? "%+.2f" : "%.2f", static_cast<double>(hundredths) / 100.0);
  std::string number = hundredths == 0 ? "0.00" : text;
  if (number.back() == '0') number.pop_back();
  out += number;
}

}  // namespace pt::season
