#pragma once
// What a front end keeps of a download for its archive: every reply as received, and where and
// when the readout took place.
#include <cstdint>
#include <string>

#include "logger/jobs.h"
#include "season/model/season.h"

namespace pt::season {

// Keeps every reply a download keeps, as received.
class ReadoutRecorder : public ReadoutObserver {
 public:
  void OnHeaders(const char* memo, const char* start, const char* pointer) override;
  void OnSample(int index, const char* reply, std::uint32_t word) override;
  const Replies& Recorded() const { return replies_; }

 private:
  Replies replies_;
};

// A readout that has just ended: the PC's local time with its UTC offset, this program's version,
// the port and its speed.
Readout ReadoutNow(const std::string& port, unsigned baud);
// The same on the port and speed the last job opened, as the dialog chose them.
Readout PortReadoutNow();

}  // namespace pt::season
