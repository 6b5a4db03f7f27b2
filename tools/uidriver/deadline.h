#pragma once
// A time limit on the steady clock, for the driver's waits.
#include <chrono>

namespace uidriver {

class Deadline {
 public:
  explicit Deadline(unsigned long ms)
      : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)) {}
  bool Passed() const { return std::chrono::steady_clock::now() >= end_; }

 private:
  std::chrono::steady_clock::time_point end_;
};

}  // namespace uidriver
