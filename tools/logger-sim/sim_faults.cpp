#include "sim_faults.h"

namespace sim {

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

}  // namespace sim
