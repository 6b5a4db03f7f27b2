#include "window_ops.h"

#include <vector>

#include "deadline.h"

namespace uidriver {
namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kPollMs = 20;

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

struct BoxSearch {
  DWORD pid;
  HWND dialog;
  HWND found;
};

BOOL CALLBACK ConsiderBox(HWND wnd, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid != search->pid || wnd == search->dialog || !IsWindowVisible(wnd)) return TRUE;
  if (ClassOf(wnd) != L"#32770") return TRUE;
  search->found = wnd;
  return FALSE;
}

BOOL CALLBACK CollectStatics(HWND wnd, LPARAM param) {
  auto* list = reinterpret_cast<std::vector<HWND>*>(param);
  std::wstring cls = ClassOf(wnd);
  if (_wcsicmp(cls.c_str(), L"Static") == 0) list->push_back(wnd);
  return TRUE;
}

}  // namespace

bool Send(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  DWORD_PTR out = 0;
  if (!SendMessageTimeoutW(wnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &out)) {
    return false;
  }
  result = static_cast<LRESULT>(out);
  return true;
}

bool ReadText(HWND wnd, std::wstring& text) {
  // The text may change between asking its length and fetching it (a label the program rewrites
  // every few ticks), so the buffer has room to spare and a full buffer is fetched again larger.
  LRESULT len = 0;
  if (!Send(wnd, WM_GETTEXTLENGTH, 0, 0, len)) return false;
  for (size_t size = static_cast<size_t>(len) + 256;; size *= 2) {
    std::vector<wchar_t> buf(size, L'\0');
    LRESULT got = 0;
    if (!Send(wnd, WM_GETTEXT, size, reinterpret_cast<LPARAM>(buf.data()), got)) return false;
    if (static_cast<size_t>(got) + 1 < size) {
      text.assign(buf.data(), static_cast<size_t>(got));
      return true;
    }
  }
}

bool WriteText(HWND wnd, const std::wstring& text) {
  LRESULT ok = 0;
  return Send(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), ok) && ok;
}

std::wstring BoxText(HWND box) {
  std::wstring text;
  if (HWND label = GetDlgItem(box, 0xFFFF); label && ReadText(label, text)) return text;
  std::vector<HWND> statics;
  EnumChildWindows(box, CollectStatics, reinterpret_cast<LPARAM>(&statics));
  std::wstring best;
  for (HWND s : statics) {
    if (ReadText(s, text) && text.size() > best.size()) best = text;
  }
  return best;
}

bool Session::FindDialog(const std::wstring& caption, DWORD timeoutMs) {
  const Deadline deadline(timeoutMs);
  for (;;) {
    // The caption exists before the controls do; a dialog is shown only once it is initialised.
    HWND wnd = FindWindowW(nullptr, caption.c_str());
    if (wnd && IsWindowVisible(wnd)) {
      dlg_ = wnd;
      GetWindowThreadProcessId(wnd, &pid_);
      return true;
    }
    if (deadline.Passed()) return false;
    Sleep(kPollMs);
  }
}

HWND Session::Control(int id) const {
  if (!Alive()) return nullptr;
  return id == 0 ? dlg_ : GetDlgItem(dlg_, id);
}

HWND Session::FindBox() const {
  if (pid_ == 0) return nullptr;
  BoxSearch search{pid_, dlg_, nullptr};
  EnumWindows(ConsiderBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Session::PressOk(HWND box, DWORD timeoutMs) const {
  HWND button = GetDlgItem(box, IDOK);
  if (!button) button = GetDlgItem(box, IDCANCEL);
  if (!button) return false;
  // Posted, not sent: closing the box lets the program go on, possibly into another modal box,
  // and a sent click would wait for all of that.
  PostMessageW(button, BM_CLICK, 0, 0);
  const Deadline deadline(timeoutMs);
  while (IsWindow(box) && IsWindowVisible(box)) {
    if (deadline.Passed()) return false;
    Sleep(kPollMs);
  }
  return true;
}

}  // namespace uidriver
