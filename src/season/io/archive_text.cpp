#include "season/io/archive_text.h"

namespace pt::season {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c, HexCase letters) {
  if (c >= '0' && c <= '9') return c - '0';
  if (letters == HexCase::Upper && c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (letters == HexCase::Lower && c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StaysAsIs(unsigned char c) { return c > 0x20 && c < 0x7F && c != '\\'; }

}  // namespace

void AppendEscaped(std::string_view bytes, std::string& out) {
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (StaysAsIs(c)) {
      out += ch;
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += "\\x";
      out += kHexDigits[c >> 4];
      out += kHexDigits[c & 0xF];
    }
  }
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (StaysAsIs(c)) {
      out += text[i];
      continue;
    }
    if (c != '\\' || i + 1 >= text.size()) return std::nullopt;
    if (text[i + 1] == '\\') {
      out += '\\';
      ++i;
      continue;
    }
    if (text[i + 1] != 'x' || i + 3 >= text.size()) return std::nullopt;
    const int hi = HexValue(text[i + 2], HexCase::Upper);
    const int lo = HexValue(text[i + 3], HexCase::Upper);
    if (hi < 0 || lo < 0) return std::nullopt;
    const auto byte = static_cast<unsigned char>(hi * 16 + lo);
    // A byte has one spelling: printable ones as themselves, the backslash doubled.
    if (StaysAsIs(byte) || byte == '\\') return std::nullopt;
    out += static_cast<char>(byte);
    i += 3;
  }
  return out;
}

std::optional<int> ParseDecimal(std::string_view text) {
  if (text.size() > 1 && text[0] == '0') return std::nullopt;
  return ParseDigits(text, text.size());
}

std::optional<int> ParseDigits(std::string_view text, std::size_t width) {
  // Nine digits stay below 2^31, so the value cannot overflow.
  if (width < 1 || width > 9 || text.size() != width) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<std::uint32_t> ParseHex(std::string_view text, int digits, HexCase letters) {
  if (digits < 1 || digits > 8 || static_cast<int>(text.size()) != digits) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    const int v = HexValue(c, letters);
    if (v < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(v);
  }
  return value;
}

bool LineReader::Next(std::string_view* line, bool* terminated) {
  if (pos_ >= text_.size()) return false;
  start_ = pos_;
  ++number_;
  const std::size_t lf = text_.find('\n', pos_);
  *terminated = lf != std::string_view::npos;
  const std::size_t end = *terminated ? lf : text_.size();
  *line = text_.substr(pos_, end - pos_);
  pos_ = *terminated ? lf + 1 : text_.size();
  return true;
}

}  // namespace pt::season
