#pragma once
// The pieces of an archive line: escaped bytes, fixed-width numbers, and the text read a line at a
// time with its number.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pt::season {

// Printable ASCII stays, a backslash doubles, any other byte (a space included, so that the
// field keeps its trailing blanks visible) becomes \xNN in capitals.
void AppendEscaped(std::string_view bytes, std::string& out);
// The bytes back; nullopt for a stray backslash, a bad \x or a byte that should have been escaped.
std::optional<std::string> Unescape(std::string_view text);

// A decimal number of one to nine digits and nothing else.
std::optional<int> ParseDecimal(std::string_view text);
// Exactly `digits` hexadecimal digits, either case.
std::optional<std::uint32_t> ParseHex(std::string_view text, int digits);

// Hands out the text's lines one by one without their LF.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  // False at the end of the text. A last line without its LF comes back with *terminated false.
  bool Next(std::string_view* line, bool* terminated);
  int LineNumber() const { return number_; }     // of the line Next gave last
  std::size_t LineStart() const { return start_; }  // its offset in the text
  bool AtEnd() const { return pos_ >= text_.size(); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t start_ = 0;
  int number_ = 0;
};

}  // namespace pt::season
