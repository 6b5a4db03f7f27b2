#include <windows.h>

#include "platform/system_error.h"
#include "platform/terminal_text.h"

namespace pt {

std::string SystemErrorText(int code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring wide = n > 0 && text != nullptr ? std::wstring(text, n) : std::wstring();
  if (text != nullptr) LocalFree(text);
  while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L'.' || wide.back() == L' ')) {
    wide.pop_back();
  }
  return wide.empty() ? "system error " + std::to_string(code) : Utf8FromWide(wide);
}

}  // namespace pt
