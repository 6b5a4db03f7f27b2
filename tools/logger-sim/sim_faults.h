#pragma once
// What goes wrong on a real line, made reproducible: a wrong line setting, noise, a stray NUL,
// a reply that arrives in pieces, a spoilt sample reply.
#include <cstdint>
#include <optional>
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
// `count` bytes of line noise, each from 0x21 to 0x7E: never white space or NUL, so noise
// before a reply always makes it malformed and is never skipped as blank.
std::string Noise(std::size_t count, Rng& rng);
// The reply with a NUL right after its leading LF (or at its start when it has none).
std::string WithNul(const std::string& reply);
// Two or three non-empty pieces that together are `reply`; a reply of one byte stays whole.
std::vector<std::string> SplitReply(const std::string& reply, Rng& rng);

// The ways a sample reply "\nXXXX\r" is spoilt. Each leaves a reply that a strict reader
// (LF, 1 to 8 hex digits, CR, nothing else but white space) refuses, never another number.
enum class SpoilKind {
  kLetters,     // a digit replaced by a letter from G to Z
  kStrayByte,   // a printable byte, neither white space nor a hex digit, before the LF
  kStrayDigit,  // a decimal digit before the LF ("7\n1A2F\r": a naive reader takes the 7)
  kHighByte,    // a byte from 0x80 up in place of a digit, or inserted among them
  kNul,         // a NUL right after the LF
  kSilent,      // no reply at all
};
inline constexpr SpoilKind kAllSpoilKinds[] = {SpoilKind::kLetters,  SpoilKind::kStrayByte,
                                               SpoilKind::kStrayDigit, SpoilKind::kHighByte,
                                               SpoilKind::kNul,      SpoilKind::kSilent};
const char* SpoilKindName(SpoilKind kind);
// A comma list of kind names ("letters,nul") into `kinds`; false on an empty or unknown name.
bool ParseSpoilKinds(const std::string& list, std::vector<SpoilKind>& kinds);

// Which sample replies are spoilt and how: a function of the seed and the sample's index
// alone, so the same seed spoils the same samples the same way in every run and every
// download. A chosen sample is spoilt on its first ask, an `always` one on every ask.
class Spoiler {
 public:
  Spoiler(std::uint32_t seed, double percent, std::vector<SpoilKind> kinds,
          std::vector<int> always);
  // The spoil for an ask of sample `index`, if any; `repeat`: the command answered just
  // before was this same one (the client asking again).
  std::optional<SpoilKind> For(std::size_t index, bool repeat) const;
  // Whether the first ask of sample `index` is answered late, for `percent` per cent of the
  // samples: like the spoils, a function of the seed and the index alone.
  bool LateFirstAsk(std::size_t index, bool repeat, double percent) const;
  // `reply` ("\nXXXX\r") spoilt that way; "" for kSilent. The same bytes for the same index.
  std::string Apply(SpoilKind kind, const std::string& reply, std::size_t index) const;

 private:
  std::uint64_t Hash(std::size_t index, std::uint64_t salt) const;

  std::uint64_t seed_;
  double percent_;
  std::vector<SpoilKind> kinds_;
  std::vector<int> always_;
};

}  // namespace sim
