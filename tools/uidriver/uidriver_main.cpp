// uidriver.exe: reads one command per line on stdin and answers one line on stdout, "ok ..." or
// "err ...", so that one driver process serves a whole scenario. Texts travel as UTF-8; texts in
// answers, and text arguments that start with a double quote, are JSON string literals.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "deadline.h"
#include "text_codec.h"
#include "window_ops.h"

namespace uidriver {
namespace {

const wchar_t kDefaultCaption[] = L"田んぼ温度計用(HTML 4.01)";
constexpr DWORD kPollMs = 20;

// Undoes Quote(); anything that does not start with a quote is taken as it stands.
std::string Unquote(const std::string& arg) {
  if (arg.size() < 2 || arg.front() != '"' || arg.back() != '"') return arg;
  std::string out;
  for (size_t i = 1; i + 1 < arg.size(); ++i) {
    char c = arg[i];
    if (c != '\\' || i + 2 >= arg.size()) {
      out += c;
      continue;
    }
    char e = arg[++i];
    switch (e) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'u': {
        if (i + 4 >= arg.size()) return out;
        unsigned long code = std::strtoul(arg.substr(i + 1, 4).c_str(), nullptr, 16);
        out += WideToUtf8(std::wstring(1, static_cast<wchar_t>(code)));
        i += 4;
        break;
      }
      default: out += e;
    }
  }
  return out;
}

// The rest of the line after `count` blank-separated words.
std::string RestAfter(const std::string& line, int count) {
  size_t pos = 0;
  for (int i = 0; i < count; ++i) {
    pos = line.find_first_not_of(' ', pos);
    if (pos == std::string::npos) return {};
    pos = line.find(' ', pos);
    if (pos == std::string::npos) return {};
  }
  return Unquote(line.substr(pos + 1));
}

class Interpreter {
 public:
  // Returns false after "quit".
  bool Run(const std::string& line, std::string& answer);

 private:
  HWND Need(int id, std::string& answer) {
    HWND wnd = session_.Control(id);
    if (!wnd) answer = session_.Alive() ? "err no control " + std::to_string(id) : "err no dialog";
    return wnd;
  }
  std::string TextOf(HWND wnd) {
    std::wstring text;
    ReadText(wnd, text);
    return WideToUtf8(text);
  }
  std::string DescribeBox(HWND box) {
    return "ok " + Quote(TextOf(box)) + " " + Quote(WideToUtf8(BoxText(box)));
  }

  Session session_;
};

bool Interpreter::Run(const std::string& line, std::string& answer) {
  std::istringstream in(line);
  std::string cmd;
  in >> cmd;
  if (cmd.empty()) {
    answer = "err empty command";
    return true;
  }
  if (cmd == "quit") {
    answer = "ok";
    return false;
  }
  if (cmd == "find") {
    DWORD timeout = 10000;
    in >> timeout;
    std::string caption = RestAfter(line, 2);
    std::wstring wanted = caption.empty() ? std::wstring(kDefaultCaption) : Utf8ToWide(caption);
    answer = session_.FindDialog(wanted, timeout) ? "ok" : "err timeout";
    return true;
  }
  if (cmd == "alive") {
    answer = session_.Alive() ? "ok 1" : "ok 0";
    return true;
  }
  if (cmd == "wait-gone") {
    DWORD timeout = 10000;
    in >> timeout;
    const Deadline deadline(timeout);
    while (session_.Alive() && !deadline.Passed()) Sleep(kPollMs);
    answer = session_.Alive() ? "err timeout" : "ok";
    return true;
  }
  if (cmd == "box") {
    HWND box = session_.FindBox();
    answer = box ? DescribeBox(box) : "ok none";
    return true;
  }
  if (cmd == "wait-box") {
    DWORD timeout = 10000;
    in >> timeout;
    const Deadline deadline(timeout);
    HWND box = session_.FindBox();
    while (!box && !deadline.Passed()) {
      Sleep(kPollMs);
      box = session_.FindBox();
    }
    // A box is filled in after it appears; give it a moment to get its text.
    if (box) Sleep(100);
    answer = box ? DescribeBox(box) : "err timeout";
    return true;
  }
  if (cmd == "press-ok") {
    DWORD timeout = 5000;
    in >> timeout;
    HWND box = session_.FindBox();
    if (!box) answer = "err no box";
    else answer = session_.PressOk(box, timeout) ? "ok" : "err box stayed";
    return true;
  }
  if (cmd == "close") {
    if (!session_.Alive()) {
      answer = "err no dialog";
      return true;
    }
    PostMessageW(session_.dialog(), WM_CLOSE, 0, 0);
    answer = "ok";
    return true;
  }

  // Everything below addresses one control by id.
  int id = -1;
  if (!(in >> id)) {
    answer = "err bad command: " + line;
    return true;
  }
  HWND wnd = Need(id, answer);
  if (!wnd) return true;
  LRESULT r = 0;

  if (cmd == "text") {
    std::wstring text;
    answer = ReadText(wnd, text) ? "ok " + Quote(WideToUtf8(text)) : "err no answer";
  } else if (cmd == "enabled") {
    answer = IsWindowEnabled(wnd) ? "ok 1" : "ok 0";
  } else if (cmd == "click") {
    // Posted: the button's handler may show a modal box and not return for a long time.
    PostMessageW(wnd, BM_CLICK, 0, 0);
    answer = "ok";
  } else if (cmd == "type") {
    answer = WriteText(wnd, Utf8ToWide(RestAfter(line, 2))) ? "ok" : "err no answer";
  } else if (cmd == "checked") {
    answer = Send(wnd, BM_GETCHECK, 0, 0, r) ? "ok " + std::to_string(r) : "err no answer";
  } else if (cmd == "check") {
    int want = 1;
    in >> want;
    // A click, not BM_SETCHECK: the dialog must hear of the change as it would from a person.
    if (Send(wnd, BM_GETCHECK, 0, 0, r) && static_cast<int>(r) != want) Send(wnd, BM_CLICK, 0, 0, r);
    answer = Send(wnd, BM_GETCHECK, 0, 0, r) && static_cast<int>(r) == want
                 ? "ok " + std::to_string(want)
                 : "err state stayed";
  } else if (cmd == "select") {
    int index = 0;
    in >> index;
    answer = Send(wnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0, r) && r == index
                 ? "ok " + std::to_string(index)
                 : "err no such entry";
  } else if (cmd == "combo") {
    LRESULT sel = -1, count = 0;
    Send(wnd, CB_GETCURSEL, 0, 0, sel);
    Send(wnd, CB_GETCOUNT, 0, 0, count);
    std::wstring item;
    if (sel >= 0) {
      LRESULT len = 0;
      Send(wnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0, len);
      std::wstring buf(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
      if (Send(wnd, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(buf.data()), r) && r > 0) {
        item.assign(buf.data(), static_cast<size_t>(r));
      }
    }
    answer = "ok " + std::to_string(sel) + " " + std::to_string(count) + " " + Quote(WideToUtf8(item));
  } else if (cmd == "progress") {
    LRESULT pos = 0, low = 0, high = 0;
    bool ok = Send(wnd, PBM_GETPOS, 0, 0, pos) && Send(wnd, PBM_GETRANGE, TRUE, 0, low) &&
              Send(wnd, PBM_GETRANGE, FALSE, 0, high);
    answer = ok ? "ok " + std::to_string(pos) + " " + std::to_string(low) + " " + std::to_string(high)
                : "err no answer";
  } else if (cmd == "key") {
    std::string name;
    in >> name;
    WPARAM vk = name == "enter" ? VK_RETURN : name == "escape" ? VK_ESCAPE : name == "tab" ? VK_TAB : 0;
    if (vk == 0) {
      answer = "err unknown key " + name;
    } else {
      // Posted to the thread's queue, so the program's message loop sees it as typed.
      PostMessageW(wnd, WM_KEYDOWN, vk, 1);
      PostMessageW(wnd, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
      answer = "ok";
    }
  } else if (cmd == "wait-text") {
    DWORD timeout = 10000;
    in >> timeout;
    std::string want = RestAfter(line, 3);
    const Deadline deadline(timeout);
    std::string last = TextOf(wnd);
    while (last != want && !deadline.Passed()) {
      Sleep(kPollMs);
      last = TextOf(wnd);
    }
    answer = last == want ? "ok " + Quote(last) : "err timeout " + Quote(last);
  } else if (cmd == "wait-enabled") {
    int want = 1;
    DWORD timeout = 10000;
    in >> want >> timeout;
    const Deadline deadline(timeout);
    while ((IsWindowEnabled(wnd) ? 1 : 0) != want && !deadline.Passed()) Sleep(kPollMs);
    answer = (IsWindowEnabled(wnd) ? 1 : 0) == want ? "ok" : "err timeout";
  } else {
    answer = "err unknown command " + cmd;
  }
  return true;
}

}  // namespace
}  // namespace uidriver

int main() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  uidriver::Interpreter interpreter;
  char buf[4096];
  bool more = true;
  while (more && std::fgets(buf, sizeof buf, stdin)) {
    std::string line(buf);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    std::string answer;
    more = interpreter.Run(line, answer);
    std::fputs((answer + "\n").c_str(), stdout);
    std::fflush(stdout);
  }
  return 0;
}
