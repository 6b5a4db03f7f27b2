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
// The bytes back, only from the text AppendEscaped gives them: nullopt for a stray backslash, a
// \x without two capital hexadecimal digits, a byte that should have been escaped, or one
// escaped that stands for itself.
std::optional<std::string> Unescape(std::string_view text);

// A decimal number of one to nine digits and nothing else, written as printf's %d writes it: no
// sign, no leading zero (0 alone excepted).
std::optional<int> ParseDecimal(std::string_view text);
// Exactly `width` decimal digits (1 to 9), leading zeros included: a field of a date or a time.
std::optional<int> ParseDigits(std::string_view text, std::size_t width);
// Exactly `digits` (1 to 8) hexadecimal digits, all in the one case the writer uses.
enum class HexCase { Upper, Lower };
std::optional<std::uint32_t> ParseHex(std::string_view text, int digits, HexCase letters);

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
