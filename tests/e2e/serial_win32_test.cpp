// The Win32 serial backend against the simulated logger: the harness maps COM1 to the
// simulator's pseudo-terminal and leaves COM20 unmapped, then runs this program under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>

#include "serial/platform_serial_device.h"
#include "serial/win32/serial_device_win32.h"

namespace {

// Sends one command and gathers the reply up to its CR, polling as the program does.
std::string Exchange(pt::SerialDevice& dev, const std::string& command, DWORD timeoutMs = 3000) {
  if (!dev.Write(command.data(), static_cast<std::uint32_t>(command.size()))) return "<write failed>";
  std::string reply;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (reply.find('\r') == std::string::npos && std::chrono::steady_clock::now() < end) {
    std::uint32_t waiting = 0;
    if (!dev.WaitingCount(waiting)) return "<count failed>";
    if (waiting == 0) {
      Sleep(10);
      continue;
    }
    char buf[128];
    std::uint32_t got = 0;
    if (!dev.Read(buf, waiting < sizeof buf ? waiting : sizeof buf, got)) return "<read failed>";
    reply.append(buf, got);
  }
  return reply;
}

void Configure(pt::SerialDevice& dev, std::uint32_t baud) {
  ASSERT_EQ(dev.Configure(pt::LineSettings{baud, 2, 8, 0}), pt::ConfigureError::None)
      << "GetLastError " << GetLastError();
}

TEST(SerialWin32, ExchangesCommandsWithTheLoggerAtBothSpeeds) {
  pt::SerialDevice& dev = pt::PlatformSerialDevice();
  for (std::uint32_t baud : {9600u, 19200u}) {
    SCOPED_TRACE(baud);
    ASSERT_EQ(dev.Open("COM1"), 0);
    ASSERT_TRUE(dev.IsOpen());
    Configure(dev, baud);
    DCB back{};
    back.DCBlength = sizeof back;
    ASSERT_TRUE(GetCommState(static_cast<HANDLE>(static_cast<pt::Win32SerialDevice&>(dev).Handle()), &back));
    // A pseudo-terminal forces 8 bits and drops the parity flag, so only the rate reads back.
    EXPECT_EQ(back.BaudRate, baud);
    // The harness starts the logger with a pointer of 30 and acknowledgements on.
    EXPECT_EQ(Exchange(dev, "Rpt\r"), "\n30\r");
    EXPECT_EQ(Exchange(dev, "Calm2\r").substr(0, 3), "\nOK");
    dev.Close();
    EXPECT_FALSE(dev.IsOpen());
    Sleep(30);  // see ReopensAndConfiguresAfterEachClose
  }
}

// Every job opens and closes the port once, so a session is many opens of the same device.
TEST(SerialWin32, ReopensAndConfiguresAfterEachClose) {
  pt::SerialDevice& dev = pt::PlatformSerialDevice();
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(dev.Open("COM1"), 0);
    Configure(dev, round % 2 ? 19200 : 9600);
    if (HasFatalFailure()) return;
    ASSERT_EQ(Exchange(dev, "Rpt\r"), "\n30\r");
    dev.Close();
    // The simulator hands its pseudo-terminal back fresh once the client has closed it; a pty
    // refuses a parity request that changes nothing it can see, so an open in the same moment
    // can fail SetCommState with error 87. A real port has no such window.
    Sleep(30);
  }
}

TEST(SerialWin32, UnmappedPortFailsWithFileNotFound) {
  pt::SerialDevice& dev = pt::PlatformSerialDevice();
  EXPECT_EQ(dev.Open("\\\\.\\COM20"), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(dev.IsOpen());
  dev.Close();  // closing nothing is harmless
  EXPECT_FALSE(dev.IsOpen());
}

// Last, because a read that blocks can only be abandoned, not undone.
TEST(SerialWin32, ReadingWithNothingWaitingReturnsAtOnce) {
  pt::SerialDevice& dev = pt::PlatformSerialDevice();
  ASSERT_EQ(dev.Open("COM1"), 0);
  Configure(dev, 9600);
  ASSERT_EQ(Exchange(dev, "Rpt\r"), "\n30\r");
  std::uint32_t waiting = 99;
  ASSERT_TRUE(dev.WaitingCount(waiting));
  EXPECT_EQ(waiting, 0u);
  // The reader runs on its own thread so that a blocking read fails the test instead of hanging
  // it (the thread is then abandoned; the process ends with it).
  struct ReadCall {
    pt::SerialDevice* dev;
    std::uint32_t got = 99;
  };
  static ReadCall call;
  call.dev = &dev;
  HANDLE reader = CreateThread(
      nullptr, 0,
      [](LPVOID param) -> DWORD {
        auto* c = static_cast<ReadCall*>(param);
        char buf[8];
        c->dev->Read(buf, sizeof buf, c->got);
        return 0;
      },
      &call, 0, nullptr);
  ASSERT_NE(reader, nullptr);
  DWORD waited = WaitForSingleObject(reader, 2000);
  CloseHandle(reader);
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "a read with nothing waiting blocked";
  EXPECT_EQ(call.got, 0u);
  dev.Close();
}

}  // namespace
