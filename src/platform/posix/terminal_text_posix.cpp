#include "platform/terminal_text.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>

namespace pt {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// glibc knows the Windows code page as CP932; SHIFT_JIS differs only in 0x5C and 0x7E.
iconv_t OpenConverter(const char* to, const char* from, bool sjisIsFrom) {
  iconv_t cd = iconv_open(to, from);
  if (cd != kNoConverter) return cd;
  return sjisIsFrom ? iconv_open(to, "SHIFT_JIS") : iconv_open("SHIFT_JIS", from);
}

// Converts `in`; on a byte or character that does not convert, calls `onBad` with the bytes
// left, which returns how many input bytes to skip (0: give up). False when it gave up.
template <typename OnBad>
bool Convert(iconv_t cd, const std::string& in, std::string& out, OnBad onBad) {
  out.clear();
  if (cd == kNoConverter) return false;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size();
  char buf[256];
  while (left > 0) {
    char* dst = buf;
    std::size_t room = sizeof buf;
    const std::size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    if (r != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    const std::size_t skip = onBad(src, left, out);
    if (skip == 0 || skip > left) return false;
    src += skip;
    left -= skip;
  }
  char* dst = buf;
  std::size_t room = sizeof buf;
  iconv(cd, nullptr, nullptr, &dst, &room);
  out.append(buf, static_cast<std::size_t>(dst - buf));
  return true;
}

}  // namespace

TerminalText::TerminalText(const std::string& terminalCodeset)
    : toTerminal_(OpenConverter(terminalCodeset.c_str(), "CP932", true)),
      fromTerminal_(OpenConverter("CP932", terminalCodeset.c_str(), false)) {}

TerminalText::~TerminalText() {
  if (static_cast<iconv_t>(toTerminal_) != kNoConverter) iconv_close(static_cast<iconv_t>(toTerminal_));
  if (static_cast<iconv_t>(fromTerminal_) != kNoConverter) iconv_close(static_cast<iconv_t>(fromTerminal_));
}

std::string TerminalText::LocaleCodeset() {
  const char* codeset = nl_langinfo(CODESET);
  return codeset != nullptr && codeset[0] != '\0' ? codeset : "ANSI_X3.4-1968";
}

std::string TerminalText::ToTerminal(const std::string& sjis) const {
  std::string clean = sjis;
  for (char& c : clean) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = '?';
  }
  std::string out;
  const bool ok = Convert(static_cast<iconv_t>(toTerminal_), clean, out,
                          [](const char*, std::size_t, std::string& o) -> std::size_t {
                            o += '?';
                            return 1;
                          });
  if (ok) return out;
  // No converter at all: show what ASCII there is.
  for (char& c : clean) {
    if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  }
  return clean;
}

bool TerminalText::FromTerminal(const std::string& text, std::string& sjis) const {
  if (static_cast<iconv_t>(fromTerminal_) == kNoConverter) {
    // A codeset iconv does not know: plain ASCII is the same in every one of them.
    for (char c : text) {
      if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    sjis = text;
    return true;
  }
  return Convert(static_cast<iconv_t>(fromTerminal_), text, sjis,
                 [](const char*, std::size_t, std::string&) -> std::size_t { return 0; });
}

}  // namespace pt
