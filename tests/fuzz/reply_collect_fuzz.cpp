// Gathering a reply from pieces as a noisy line delivers them (NULs, CRs, bursts longer than the
// buffer, pieces of any size): the 80-byte reply buffer is never overrun, a complete reply ends in
// a CR, and a reply that is not marked flawed is exactly the bytes received, nothing lost.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "logger/exchange.h"
#include "serial/port.h"
#include "serial/serial_device.h"

namespace {

// The far end: the input, cut into pieces. The first byte of each piece is its length (0 to
// 255), the bytes after it its content; a piece becomes readable at the next collection.
class PieceDevice : public pt::SerialDevice {
 public:
  PieceDevice(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool NextPiece() {
    if (pos_ >= size_) return false;
    const std::size_t n = data_[pos_++];
    const std::size_t take = n < size_ - pos_ ? n : size_ - pos_;
    queue_.append(reinterpret_cast<const char*>(data_ + pos_), take);
    pos_ += take;
    lineError_ = (n & 0x80) != 0 && take == 0;  // an empty piece with the high bit: a line error
    return true;
  }
  std::string taken;  // every byte a read handed over

  int Open(const char*) override { return 0; }
  bool IsOpen() const override { return true; }
  pt::ConfigureError Configure(const pt::LineSettings&) override { return pt::ConfigureError::None; }
  bool WaitingCount(std::uint32_t& count) override {
    count = static_cast<std::uint32_t>(queue_.size());
    return true;
  }
  bool TakeLineError() override {
    const bool seen = lineError_;
    lineError_ = false;
    return seen;
  }
  bool Read(void* buf, std::uint32_t size, std::uint32_t& got) override {
    got = size < queue_.size() ? size : static_cast<std::uint32_t>(queue_.size());
    std::memcpy(buf, queue_.data(), got);
    taken.append(queue_, 0, got);
    queue_.erase(0, got);
    return true;
  }
  bool Write(const void*, std::uint32_t) override { return true; }
  void Close() override {}

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  std::string queue_;
  bool lineError_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  PieceDevice device(data, size);
  pt::SetPortDevice(&device);
  pt::Exchange = pt::ExchangeState{};
  // Guard bytes behind the buffer: ASan sees a write past it, the check below a changed guard.
  char buffer[pt::kReplyBufferSize + 8];
  std::memset(buffer, 0x5A, sizeof buffer);
  char* reply = buffer;
  reply[0] = '\0';
  int complete = 0;
  while (complete == 0 && device.NextPiece()) complete = pt::CollectReply(reply);

  for (std::size_t i = pt::kReplyBufferSize; i < sizeof buffer; ++i) {
    if (buffer[i] != 0x5A) std::abort();
  }
  const std::size_t length = strnlen(reply, pt::kReplyBufferSize);
  if (length >= static_cast<std::size_t>(pt::kReplyBufferSize)) std::abort();
  const bool hasCr = std::memchr(reply, '\r', length) != nullptr;
  if ((complete == 1) != hasCr) std::abort();
  if (pt::Exchange.ReplyFlawed == 0 && device.taken != std::string(reply, length)) std::abort();
  pt::SetPortDevice(nullptr);
  return 0;
}
