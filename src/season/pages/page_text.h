#pragma once
// Small writers shared by the season page's parts. The page is UTF-8 while the program's own
// literals are Shift-JIS, so every Japanese text of the page is a u8 literal passed through U8.
#include <string>
#include <string_view>

#include "season/model/calendar.h"

namespace pt::season {

// The style sheet of the program's pages.
extern const char* const kPageStyle;

inline const char* U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// The legend's key of the growth stages' shade, for every chart that shades them.
inline const char* const kStageLegendKey = reinterpret_cast<const char*>(
    u8"<span><i style=\"background:#3c6e28;opacity:.3\">&emsp;</i>生育段階</span>");

// Text for an element or an attribute value.
void AppendHtmlEscaped(std::string& out, std::string_view text);
// `value` with one decimal, as short as it goes ("12.5", "-3.0", "7.0"): SVG coordinates.
void AppendCoord(std::string& out, double value);
void AppendInt(std::string& out, long long value);
// Style rules that print `title` at the top of every printed page after the first (which has it as
// its heading) and the page number with the count at the top right.
void AppendPrintedTitle(std::string& out, std::string_view title);
// "YYYY-MM-DD".
std::string DateText(const CivilDate& d);

}  // namespace pt::season
