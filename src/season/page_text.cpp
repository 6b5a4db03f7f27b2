#include "season/page_text.h"

#include <cmath>
#include <cstdio>

namespace pt::season {

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c; break;
    }
  }
}

void AppendInt(std::string& out, long long value) {
  char text[24];
  const int n = std::snprintf(text, sizeof text, "%lld", value);
  if (n > 0) out.append(text, static_cast<std::size_t>(n));
}

void AppendCoord(std::string& out, double value) {
  // Coordinates are a few thousand at most; a tenth of a unit is finer than any screen or print.
  const long long tenths = std::llround(value * 10.0);
  const long long whole = tenths / 10;
  const long long tenth = tenths % 10;
  if (tenths < 0 && whole == 0) out += '-';
  AppendInt(out, whole);
  out += '.';
  out += static_cast<char>('0' + (tenth < 0 ? -tenth : tenth));
}

}  // namespace pt::season
