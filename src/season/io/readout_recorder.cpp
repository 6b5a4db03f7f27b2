#include "season/io/readout_recorder.h"

#include <iterator>

#include "platform/local_time.h"
#include "serial/port.h"
#include "version.h"

namespace pt::season {

void ReadoutRecorder::OnHeaders(const char* memo, const char* start, const char* pointer) {
  replies_ = Replies{memo, start, pointer, {}};
}

void ReadoutRecorder::OnSample(int index, const char* reply, std::uint32_t) {
  // Samples come in order from 0; a repeated index (never seen in a download) would replace.
  const auto at = static_cast<std::size_t>(index);
  if (at < replies_.samples.size()) {
    replies_.samples[at] = reply;
  } else {
    replies_.samples.emplace_back(reply);
  }
}

Readout ReadoutNow(const std::string& port, unsigned baud) {
  const ZonedTime now = SystemZonedTime();
  Readout r;
  r.localTime = now.local;
  r.utcOffsetMinutes = now.utcOffsetMinutes;
  r.programVersion = PT_VERSION_FULL_TEXT;
  r.port = port;
  r.baud = static_cast<int>(baud);
  return r;
}

Readout PortReadoutNow() {
  const std::int32_t port = Port.Settings.port;
  const std::int32_t speed = Port.Settings.speed;
  // An index outside its table is opened as COM1 at 19200, as the port itself does.
  const auto speeds = static_cast<std::int32_t>(std::size(SpeedTable));
  return ReadoutNow(PortTable[port >= 0 && port < kPortCount ? port : 0].name,
                    SpeedTable[speed >= 0 && speed < speeds ? speed : 5].rate);
}

}  // namespace pt::season
