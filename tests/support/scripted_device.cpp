#include "support/scripted_device.h"

#include <algorithm>

namespace pt::test {

void ScriptedDevice::ArriveAt(std::int64_t atMs, const std::string& bytes, bool lineError) {
  // Stable: bytes due at the same moment arrive in the order they were scripted.
  auto pos = std::upper_bound(arrivals_.begin(), arrivals_.end(), atMs,
                              [](std::int64_t t, const Arrival& a) { return t < a.at; });
  arrivals_.insert(pos, Arrival{atMs, bytes, lineError});
}

void ScriptedDevice::ReplyTo(const std::string& command, const std::string& reply,
                             std::int64_t delayMs, int times, bool lineError) {
  rules_.push_back(Rule{command, reply, delayMs, times, lineError});
}

std::string ScriptedDevice::Wire() const {
  std::string all;
  for (const std::string& w : writes) all += w;
  return all;
}

void ScriptedDevice::DeliverDue() {
  const std::int64_t now = Now();
  auto it = arrivals_.begin();
  for (; it != arrivals_.end() && it->at <= now; ++it) {
    rx_.insert(rx_.end(), it->bytes.begin(), it->bytes.end());
    if (it->lineError) lineError_ = true;
  }
  arrivals_.erase(arrivals_.begin(), it);
}

int ScriptedDevice::Open(const char* path) {
  opens.emplace_back(path);
  if (openError != 0) return openError;
  open_ = true;
  return 0;
}

ConfigureError ScriptedDevice::Configure(const LineSettings& line) {
  if (!open_) return ConfigureError::Events;
  if (configureFailure != ConfigureError::None) return configureFailure;
  lineSets.push_back(line);
  return ConfigureError::None;
}

bool ScriptedDevice::WaitingCount(std::uint32_t& count) {
  ++countCalls;
  if (!open_ || failCount) return false;
  DeliverDue();
  count = static_cast<std::uint32_t>(rx_.size()) + phantomBytes;
  return true;
}

bool ScriptedDevice::TakeLineError() {
  DeliverDue();
  const bool seen = lineError_;
  lineError_ = false;
  return seen;
}

bool ScriptedDevice::Read(void* buf, std::uint32_t size, std::uint32_t& got) {
  ++readCalls;
  readSizes.push_back(size);
  got = 0;
  if (!open_ || failRead) return false;
  DeliverDue();
  char* out = static_cast<char*>(buf);
  while (got < size && !rx_.empty()) {
    out[got++] = rx_.front();
    rx_.pop_front();
  }
  return true;
}

bool ScriptedDevice::Write(const void* data, std::uint32_t size) {
  if (!open_ || failWrite) {
    ++failedWrites;
    return false;
  }
  const std::string written(static_cast<const char*>(data), size);
  writes.push_back(written);
  for (Rule& rule : rules_) {
    if (rule.times == 0 || rule.command != written) continue;
    if (rule.times > 0) --rule.times;
    ArriveAt(Now() + rule.delayMs, rule.reply, rule.lineError);
    return true;
  }
  if (responder) {
    const std::string reply = responder(written);
    if (!reply.empty()) ArriveAt(Now() + responderDelayMs, reply);
  }
  return true;
}

void ScriptedDevice::Close() {
  if (!open_) return;
  open_ = false;
  ++closes;
}

}  // namespace pt::test
