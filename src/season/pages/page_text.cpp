#include "season/pages/page_text.h"

#include <cmath>
#include <cstdio>

namespace pt::season {

// Screen and print alike: the charts take the page's width; on paper the table's head repeats.
const char* const kPageStyle =
    "@page { size: A4 landscape; margin: 10mm }\n"
    "body { font-family: sans-serif; margin: 1em auto; max-width: 1120px; color: #222 }\n"
    "h1 { font-size: 1.4em; margin: 0 0 .3em }\n"
    "p.meta { margin: .2em 0 .8em; font-size: .95em }\n"
    "h2 { font-size: 1.1em; margin: 1em 0 .3em }\n"
    "svg { display: block; width: 100%; height: auto; font-size: 12px }\n"
    "svg .band { fill-opacity: .45 }\n"
    "svg .dry { fill: #8b5a2b; fill-opacity: .22 }\n"
    "svg .grid { stroke: #888; stroke-width: .5; stroke-opacity: .6; fill: none }\n"
    "svg .major { stroke: #444; stroke-width: .8; fill: none }\n"
    "svg .frame { fill: none; stroke: #222; stroke-width: 1 }\n"
    "svg .range { fill: #2050b0; fill-opacity: .18; stroke: none }\n"
    "svg .hourly { fill: none; stroke: #1a3a8a; stroke-width: .7; stroke-linejoin: round }\n"
    "svg .sum { fill: none; stroke: #a02020; stroke-width: 1.6 }\n"
    ".legend span { display: inline-block; margin-right: 1.2em; font-size: .85em }\n"
    ".legend i { display: inline-block; width: 1.6em; height: .8em; margin-right: .3em; vertical-align: middle;"
    " border: 1px solid #999; font-style: normal; line-height: .8em; overflow: hidden }\n"
    "table { border-collapse: collapse; font-size: .8em; margin-top: .5em }\n"
    "th, td { border: 1px solid #999; padding: 1px 6px; text-align: right }\n"
    "th { background: #eee }\n"
    "thead { display: table-header-group }\n"
    "tr { break-inside: avoid }\n"
    "figure { margin: 0; break-inside: avoid }\n"
    "p.stress { margin: .2em 0 }\n"
    "p.stress .dates { font-size: .85em }\n"
    "p.note { margin: .2em 0 .6em; font-size: .85em; color: #555 }\n"
    "td.mark { text-align: left }\n"
    "@media print { body { max-width: none; margin: 0 } }\n";

std::string DateText(const CivilDate& d) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
  return text;
}

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
