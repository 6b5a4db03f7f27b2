#include "sim_faults.h"

#include <algorithm>
#include <iterator>

namespace sim {
namespace {

// splitmix64's finaliser: every bit of the input stirs every bit of the output.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::uint64_t Rng::Next() {
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  return state_ * 0x2545F4914F6CDD1Dull;
}

bool LineMatchesLogger(const termios& t) {
  const speed_t out = cfgetospeed(&t);
  const speed_t in = cfgetispeed(&t);
  const bool speedOk = (out == B9600 || out == B19200) && (in == out || in == B0);
  // Linux's pty driver forces CS8 and clears PARENB on every tcsetattr, so the data bits and
  // whether parity is on cannot be seen from here; PARODD, CSTOPB and the speed survive.
  return (t.c_cflag & CSIZE) == CS8 && !(t.c_cflag & PARODD) && !(t.c_cflag & CSTOPB) && speedOk;
}

unsigned ByteTimeMicros(const termios& t) {
  const unsigned baud = cfgetospeed(&t) == B19200 ? 19200 : 9600;
  return 11u * 1000000u / baud;
}

std::string Garble(std::size_t length, bool ended, Rng& rng) {
  std::string out;
  for (std::size_t i = 0; i < length; ++i) {
    if (ended && i + 1 == length) {
      out += '\r';
      break;
    }
    unsigned char c;
    do {
      c = static_cast<unsigned char>(rng.Next() >> 56);
    } while (c == 0 || c == '\r' || (i == 0 && c == '\n'));
    out += static_cast<char>(c);
  }
  return out;
}

std::string Noise(std::size_t count, Rng& rng) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += static_cast<char>(0x21 + rng.Below(0x7F - 0x21));
  return out;
}

std::string WithNul(const std::string& reply) {
  std::string out = reply;
  out.insert(out.empty() || out[0] != '\n' ? 0 : 1, 1, '\0');
  return out;
}

std::vector<std::string> SplitReply(const std::string& reply, Rng& rng) {
  if (reply.size() < 2) return {reply};
  const std::size_t pieces = reply.size() >= 3 ? 2 + rng.Below(2) : 2;
  std::vector<std::string> out;
  std::size_t pos = 0;
  for (std::size_t k = pieces; k > 1; --k) {
    // Leave at least one byte for each piece still to come.
    const std::size_t room = reply.size() - pos - (k - 1);
    const std::size_t len = 1 + rng.Below(static_cast<std::uint32_t>(room));
    out.push_back(reply.substr(pos, len));
    pos += len;
  }
  out.push_back(reply.substr(pos));
  return out;
}

const char* SpoilKindName(SpoilKind kind) {
  switch (kind) {
    case SpoilKind::kLetters: return "letters";
    case SpoilKind::kStrayByte: return "stray-byte";
    case SpoilKind::kStrayDigit: return "stray-digit";
    case SpoilKind::kHighByte: return "high-byte";
    case SpoilKind::kNul: return "nul";
    case SpoilKind::kSilent: return "silent";
  }
  return "?";
}

bool ParseSpoilKinds(const std::string& list, std::vector<SpoilKind>& kinds) {
  std::vector<SpoilKind> out;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t comma = std::min(list.find(',', pos), list.size());
    const std::string name = list.substr(pos, comma - pos);
    const auto* k = std::find_if(std::begin(kAllSpoilKinds), std::end(kAllSpoilKinds),
                                 [&](SpoilKind kind) { return name == SpoilKindName(kind); });
    if (k == std::end(kAllSpoilKinds)) return false;
    out.push_back(*k);
    if (comma == list.size()) break;
    pos = comma + 1;
  }
  kinds = out;
  return true;
}

Spoiler::Spoiler(std::uint32_t seed, double percent, std::vector<SpoilKind> kinds,
                 std::vector<int> always)
    : seed_(Mix(seed)), percent_(percent), kinds_(std::move(kinds)), always_(std::move(always)) {}

std::uint64_t Spoiler::Hash(std::size_t index, std::uint64_t salt) const {
  return Mix(seed_ ^ Mix(index * 8 + salt));
}

std::optional<SpoilKind> Spoiler::For(std::size_t index, bool repeat) const {
  if (std::find(always_.begin(), always_.end(), static_cast<int>(index)) != always_.end())
    return SpoilKind::kLetters;
  if (repeat || kinds_.empty() || percent_ <= 0) return std::nullopt;
  // The top 53 bits as a fraction in [0, 1): below PCT/100 for PCT per cent of the indexes.
  const double u = static_cast<double>(Hash(index, 0) >> 11) * 0x1.0p-53;
  if (u * 100 >= percent_) return std::nullopt;
  return kinds_[Hash(index, 1) % kinds_.size()];
}

bool Spoiler::LateFirstAsk(std::size_t index, bool repeat, double percent) const {
  if (repeat || percent <= 0) return false;
  const double u = static_cast<double>(Hash(index, 3) >> 11) * 0x1.0p-53;
  return u * 100 < percent;
}

std::string Spoiler::Apply(SpoilKind kind, const std::string& reply, std::size_t index) const {
  Rng rng(Hash(index, 2));
  std::string out = reply;
  // The digits lie between the leading LF and the ending CR.
  const std::size_t digits = reply.size() >= 3 ? reply.size() - 2 : 0;
  const std::size_t at = 1 + (digits > 0 ? rng.Below(static_cast<std::uint32_t>(digits)) : 0);
  switch (kind) {
    case SpoilKind::kLetters: {
      // Never an X: "0111" with its second digit an X reads "0x11", a well-formed reply of
      // another number, which is noise no check could see.
      static constexpr char kNotHex[] = "GHIJKLMNOPQRSTUVWYZ";
      out[at] = kNotHex[rng.Below(sizeof kNotHex - 1)];
      break;
    }
    case SpoilKind::kStrayByte: {
      char c;
      do {
        c = static_cast<char>(0x21 + rng.Below(0x7F - 0x21));
      } while (IsHexDigit(c));
      out.insert(out.begin(), c);
      break;
    }
    case SpoilKind::kStrayDigit:
      out.insert(out.begin(), static_cast<char>('0' + rng.Below(10)));
      break;
    case SpoilKind::kHighByte: {
      // In place of a digit, or inserted anywhere from just after the LF to just before the CR.
      const char c = static_cast<char>(0x80 + rng.Below(0x80));
      if (rng.Below(2) == 0)
        out[at] = c;
      else
        out.insert(out.begin() + 1 + rng.Below(static_cast<std::uint32_t>(digits + 1)), c);
      break;
    }
    case SpoilKind::kNul:
      out = WithNul(out);
      break;
    case SpoilKind::kSilent:
      out.clear();
      break;
  }
  return out;
}

}  // namespace sim
