#pragma once
// What the program's CSV files share: UTF-8, LF line ends, numbers with the report's one decimal.
#include <optional>
#include <string>

namespace pt::season {

inline constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

// The start of a CSV text: the byte-order mark when asked for (a spreadsheet on Windows then
// reads the file as UTF-8 rather than in its ANSI code page), then the header line.
std::string CsvStart(const char* headerLine, bool byteOrderMark);

// `value` with one decimal, rounded half up on the exact value as the report rounds; nothing
// for no value. A value that rounds to zero is written "0.0", never "-0.0".
void AppendDecimalCell(std::string& out, const std::optional<double>& value);

// A calibration offset as given, to its hundredths ("0.5", "-0.25", "0.0"); `sign` puts a "+"
// before a positive one.
void AppendOffset(std::string& out, double offsetC, bool sign = false);

}  // namespace pt::season
