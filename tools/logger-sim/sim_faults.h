#pragma once
// What goes wrong on a real line, made reproducible: a wrong line setting, noise, a stray NUL,
// a reply that arrives in pieces.
#include <cstdint>
#include <string>
#include <vector>

#include <termios.h>

namespace sim {

// A small deterministic generator (xorshift64*), so a run with the same seed replays exactly.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint64_t Next();
  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Next() % n); }

 private:
  std::uint64_t state_;
};

// True when the client set the line as the logger speaks: 8 data bits, even parity, one stop
// bit, at 9600 or 19200 baud, as far as a pseudo-terminal lets it be seen: odd parity, two stop
// bits and other speeds are caught; 7 data bits and no parity are not (the pty driver resets
// both).
bool LineMatchesLogger(const termios& t);
// Microseconds one byte takes on the line at that setting: 11 bits with 8E1.
unsigned ByteTimeMicros(const termios& t);

// `length` bytes as a device at the wrong speed would deliver them: never CR, never NUL, and
// never beginning with LF, so it can't pass for an acknowledgement. With `ended` the last byte
// is a CR, so the garbage still completes a reply.
std::string Garble(std::size_t length, bool ended, Rng& rng);
// `count` printable bytes of line noise (no CR, no NUL, no LF).
std::string Noise(std::size_t count, Rng& rng);
// The reply with a NUL right after its leading LF (or at its start when it has none).
std::string WithNul(const std::string& reply);
// Two or three non-empty pieces that together are `reply`; a reply of one byte stays whole.
std::vector<std::string> SplitReply(const std::string& reply, Rng& rng);

}  // namespace sim
