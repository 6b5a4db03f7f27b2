#include "platform/sjis_utf8.h"

#include "platform/cp932_table.h"

namespace pt {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

int LeadRow(unsigned char c) {
  if (c >= 0x81 && c <= 0x9F) return c - 0x81;
  if (c >= 0xE0 && c <= 0xFC) return c - 0xE0 + 31;
  return -1;
}

int TrailColumn(unsigned char c) {
  if (c >= 0x40 && c <= 0x7E) return c - 0x40;
  if (c >= 0x80 && c <= 0xFC) return c - 0x80 + 63;
  return -1;
}

// The UTF-8 bytes of character `column` of a generated row.
void AppendRowCharacter(const char8_t* row, int column, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(row);
  for (int i = 0; i < column; ++i) {
    p += *p < 0x80 ? 1 : *p < 0xE0 ? 2 : *p < 0xF0 ? 3 : 4;
  }
  const int length = *p < 0x80 ? 1 : *p < 0xE0 ? 2 : *p < 0xF0 ? 3 : 4;
  out.append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(length));
}

}  // namespace

void AppendCodePoint(std::uint32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string SjisToUtf8(std::string_view sjis) {
  std::string out;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto c = static_cast<unsigned char>(sjis[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else if (c >= 0xA1 && c <= 0xDF) {
      AppendCodePoint(0xFF61 + (c - 0xA1), out);  // half-width katakana
    } else if (const int row = LeadRow(c); row >= 0 && i + 1 < sjis.size() &&
                                           TrailColumn(static_cast<unsigned char>(sjis[i + 1])) >= 0 &&
                                           kCp932Rows[row] != nullptr) {
      AppendRowCharacter(kCp932Rows[row], TrailColumn(static_cast<unsigned char>(sjis[++i])), out);
    } else {
      // Control bytes are line noise, and a lead byte without its trail is half a character.
      out += kReplacement;
    }
  }
  return out;
}

}  // namespace pt
