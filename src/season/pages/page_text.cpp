#include "season/pages/page_text.h"

#include <cmath>
#include <cstdio>

namespace pt::season {

// Screen and print alike: the charts take the page's width; on paper the table's head repeats.
const char* const kPageStyle =
    "@page { size: A4 landscape; margin: 12mm 10mm 10mm }\n"
    "body { font-family: sans-serif; margin: 1em auto; max-width: 1120px; color: #222 }\n"
    "h1 { font-size: 1.4em; margin: 0 0 .3em }\n"
    "p.meta { margin: .2em 0 .6em; font-size: .95em }\n"
    "h2 { font-size: 1.1em; margin: .8em 0 .3em }\n"
    "svg { display: block; width: 100%; height: auto; font-size: 12px }\n"
    "svg .band { fill-opacity: .45 }\n"
    "svg .dry { fill: #8b5a2b; fill-opacity: .22 }\n"
    "svg .grid { stroke: #888; stroke-width: .5; stroke-opacity: .6; fill: none }\n"
    "svg .major { stroke: #444; stroke-width: .8; fill: none }\n"
    "svg .frame { fill: none; stroke: #222; stroke-width: 1 }\n"
    "svg .range { fill: #2050b0; fill-opacity: .18; stroke: none }\n"
    "svg .hourly { fill: none; stroke: #1a3a8a; stroke-width: .7; stroke-linejoin: round }\n"
    "svg .sum { fill: none; stroke: #a02020; stroke-width: 1.6 }\n"
    "svg .goal { stroke: #a02020; stroke-width: .8; stroke-dasharray: 5 3; fill: none }\n"
    "svg .reached { fill: #a02020 }\n"
    "svg .stage { fill: #3c6e28; fill-opacity: .10 }\n"
    "svg .stage.dark { fill-opacity: .20 }\n"
    "figure { margin: 0; break-inside: avoid }\n"
    // A chart with its legend in a narrow column beside it, so that the two charts fit one page.
    "figure.chart { display: flex; align-items: flex-start; gap: 1em }\n"
    "figure.chart > svg { flex: 1 1 0; min-width: 0 }\n"
    "figure.chart .legend { flex: 0 0 9.5em; margin: 1.5em 0 0 }\n"
    ".legend span { display: inline-block; margin-right: 1.2em; font-size: .85em }\n"
    "figure.chart .legend span { display: block; margin: 0 0 .35em }\n"
    ".legend i { display: inline-block; width: 1.6em; height: .8em; margin-right: .3em; vertical-align: middle;"
    " border: 1px solid #999; font-style: normal; line-height: .8em; overflow: hidden }\n"
    "table { border-collapse: collapse; font-size: .8em; margin-top: .5em }\n"
    "th, td { border: 1px solid #999; padding: 1px 6px; text-align: right }\n"
    "th { background: #eee }\n"
    "thead { display: table-header-group }\n"
    "tr { break-inside: avoid }\n"
    // The daily table in columns side by side, a block of them to a printed page at most.
    ".months { display: flex; flex-wrap: wrap; gap: 0 1.2em; align-items: flex-start; break-inside: avoid }\n"
    ".months td:first-child { white-space: nowrap }\n"
    ".months table { margin-top: .3em }\n"
    "tr.first td { border-top: 2px solid #555 }\n"
    ".summary { display: flex; gap: 0 2.5em; align-items: flex-start }\n"
    ".summary > div { flex: 0 0 auto }\n"
    ".summary > div:first-child { flex: 1 1 auto }\n"
    ".stages .summary > div { flex: 1 1 0; min-width: 0 }\n"
    ".stages .summary > div:first-child { flex-grow: 1.4 }\n"
    "p.stress { margin: .2em 0 }\n"
    "p.stress .dates { font-size: .85em }\n"
    "p.note { margin: .2em 0 .6em; font-size: .85em; color: #555 }\n"
    "td.mark { text-align: left }\n"
    "@media print { body { max-width: none; margin: 0; font-size: 11px } h2 { margin-top: .5em }"
    " .months { flex-wrap: nowrap } .months table { font-size: 8.5px } .months th, .months td { padding: 0 3px }"
    " .days { break-before: page } }\n";

void AppendPrintedTitle(std::string& out, std::string_view title) {
  // A CSS string: every byte that could end it, or end the style element, as a hex escape.
  out += "@page { @top-left { content: \"";
  for (char c : title) {
    if (c == '"' || c == '\\' || c == '<' || c == '>' || c == '&' || static_cast<unsigned char>(c) < 0x20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\%x ", static_cast<unsigned>(static_cast<unsigned char>(c)));
      out += hex;
    } else {
      out += c;
    }
  }
  out += "\"; font: 10px sans-serif; color: #444 }\n"
         "  @top-right { content: counter(page) \" / \" counter(pages); font: 10px sans-serif; color: #444 } }\n"
         "@page :first { @top-left { content: none } }\n";
}

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
