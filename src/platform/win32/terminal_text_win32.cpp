#include "platform/terminal_text.h"

#include <windows.h>

namespace pt {

namespace {

constexpr UINT kShiftJis = 932;

// "" stays "" and so does text the code page refuses; `flags` as MultiByteToWideChar takes them.
std::wstring Widen(UINT codePage, DWORD flags, const std::string& text, bool& ok) {
  ok = true;
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) {
    ok = false;
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

}  // namespace

std::string Utf8FromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WideFromUtf8(const std::string& utf8) {
  bool ok = false;
  return Widen(CP_UTF8, 0, utf8, ok);
}

// The command line arrives as UTF-16 and is handed on as UTF-8, and everything shown is UTF-8
// until it is written (WriteConsoleW on a console), so the "terminal" here is always UTF-8.
TerminalText::TerminalText(const std::string&) : toTerminal_(nullptr), fromTerminal_(nullptr) {}

TerminalText::~TerminalText() = default;

std::string TerminalText::LocaleCodeset() { return "UTF-8"; }

std::string TerminalText::ToTerminal(const std::string& sjis) const {
  std::string clean = sjis;
  for (char& c : clean) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = '?';
  }
  // Without MB_ERR_INVALID_CHARS a byte that is no Shift-JIS becomes U+30FB or '?', never fails.
  bool ok = false;
  return Utf8FromWide(Widen(kShiftJis, 0, clean, ok));
}

bool TerminalText::FromTerminal(const std::string& text, std::string& sjis) const {
  sjis.clear();
  bool ok = false;
  const std::wstring wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, text, ok);
  if (!ok) return false;
  if (wide.empty()) return true;
  // No best fit: a character code page 932 lacks must be refused, not quietly replaced.
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  sjis.assign(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), sjis.data(), n,
                      nullptr, &usedDefault);
  return !usedDefault;
}

}  // namespace pt
