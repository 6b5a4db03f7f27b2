#pragma once
// A SerialDevice whose far end is a script: bytes arrive at set moments of a FakeDialog's virtual
// clock, or in answer to a written command; every write is kept byte for byte; each operation can
// be made to fail.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "serial/serial_device.h"
#include "support/fake_dialog.h"

namespace pt::test {

class ScriptedDevice : public SerialDevice {
 public:
  // `clock` gives the virtual time; without one every arrival is due at once.
  explicit ScriptedDevice(const FakeDialog* clock = nullptr) : clock_(clock) {}

  // --- the script -------------------------------------------------------------------------
  // `bytes` become readable once the clock reaches `atMs`; with `lineError` the device reports
  // a parity, framing or overrun error from then on until asked.
  void ArriveAt(std::int64_t atMs, const std::string& bytes, bool lineError = false);
  // Bytes readable at once.
  void Arrive(const std::string& bytes) { ArriveAt(Now(), bytes); }
  // After a write of exactly `command`, `reply` arrives `delayMs` later (0: by the next read).
  // Rules are tried in the order given; `times` limits how often one answers (-1: always).
  void ReplyTo(const std::string& command, const std::string& reply, std::int64_t delayMs = 0,
               int times = -1, bool lineError = false);
  // Answers any write the rules did not: returns the reply ("" for none). Also given delayMs.
  std::function<std::string(const std::string& written)> responder;
  std::int64_t responderDelayMs = 0;

  // --- failures -----------------------------------------------------------------------------
  int openError = 0;           // Open returns this code (and stays closed) when not 0
  // Configure fails at this step (None: it succeeds).
  ConfigureError configureFailure = ConfigureError::None;
  bool failWrite = false;
  bool failCount = false;      // the waiting-count query
  bool failRead = false;
  // Bytes that the count reports besides the real ones but that no read ever delivers.
  std::uint32_t phantomBytes = 0;

  // --- what happened ------------------------------------------------------------------------
  std::vector<std::string> opens;   // every path passed to Open
  std::vector<std::string> writes;  // every successful write, byte for byte
  int closes = 0;                   // closes of an open device
  int failedWrites = 0;
  int countCalls = 0;
  int readCalls = 0;
  std::vector<std::uint32_t> readSizes;  // the size asked for by each read
  std::vector<LineSettings> lineSets;  // the line of every successful Configure, in order
  std::string Wire() const;         // all writes joined
  std::size_t Pending() const { return rx_.size(); }  // readable now, before new arrivals

  // SerialDevice
  int Open(const char* path) override;
  bool IsOpen() const override { return open_; }
  ConfigureError Configure(const LineSettings& line) override;
  bool WaitingCount(std::uint32_t& count) override;
  bool TakeLineError() override;
  bool Read(void* buf, std::uint32_t size, std::uint32_t& got) override;
  bool Write(const void* data, std::uint32_t size) override;
  void Close() override;

 private:
  struct Arrival {
    std::int64_t at;
    std::string bytes;
    bool lineError;
  };
  struct Rule {
    std::string command;
    std::string reply;
    std::int64_t delayMs;
    int times;
    bool lineError;
  };
  std::int64_t Now() const { return clock_ != nullptr ? clock_->now : 0; }
  void DeliverDue();

  const FakeDialog* clock_;
  bool open_ = false;
  std::vector<Arrival> arrivals_;  // in the order they become due
  std::vector<Rule> rules_;
  std::deque<char> rx_;
  bool lineError_ = false;
};

}  // namespace pt::test
