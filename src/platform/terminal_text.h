#pragma once
// Shift-JIS, the program's own encoding, to and from the terminal's (the locale's codeset; on
// Windows always UTF-8, which the console output turns into UTF-16).
#include <string>

namespace pt {

class TerminalText {
 public:
  // `terminalCodeset` as nl_langinfo(CODESET) names it, e.g. "UTF-8" or "ANSI_X3.4-1968".
  explicit TerminalText(const std::string& terminalCodeset);
  ~TerminalText();
  TerminalText(const TerminalText&) = delete;
  TerminalText& operator=(const TerminalText&) = delete;

  // The terminal's codeset of the current locale, after setlocale(LC_ALL, "").
  static std::string LocaleCodeset();

  // For display: a character the terminal cannot show, a byte that is no Shift-JIS, and every
  // control byte (a reply may carry line noise; it must not reach the terminal as escapes)
  // become '?'.
  std::string ToTerminal(const std::string& sjis) const;
  // From the command line: false when the text holds a character Shift-JIS does not have, or
  // bytes that are not valid in the terminal's codeset.
  bool FromTerminal(const std::string& text, std::string& sjis) const;

 private:
  void* toTerminal_;    // iconv_t, kept opaque so the header stays light
  void* fromTerminal_;
};

#ifdef _WIN32
// UTF-16, Windows' own text, to and from UTF-8, the program's text for everything shown.
std::string Utf8FromWide(const std::wstring& wide);
std::wstring WideFromUtf8(const std::string& utf8);
#endif

}  // namespace pt
