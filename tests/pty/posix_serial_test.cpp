// The POSIX serial backend against a real pseudo-terminal pair: the test holds the master side
// and plays the logger.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "control_ids.h"
#include "logger/exchange.h"
#include "serial/port.h"
#include "serial/posix/serial_device_posix.h"
#include "support/fake_dialog.h"
#include "support/tick_driver.h"

namespace pt {
namespace {

LineSettings Line(std::uint32_t rate, std::uint8_t bits, std::uint8_t parity, std::uint8_t stop) {
  return LineSettings{rate, parity, bits, stop};
}

class PtySerialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0) << errno;
    slavePath = name;
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  }
  void TearDown() override {
    if (master >= 0) close(master);
    if (slave >= 0) close(slave);
  }

  // Waits (real time, bounded) until the device counts at least `n` waiting bytes.
  std::uint32_t AwaitCount(SerialDevice& dev, std::uint32_t n) {
    std::uint32_t count = 0;
    for (int i = 0; i < 2000; ++i) {
      if (dev.WaitingCount(count) && count >= n) break;
      usleep(1000);
    }
    return count;
  }
  // Everything the device wrote that reaches the master within `ms`.
  std::string ReadMaster(int ms = 200) {
    std::string got;
    pollfd pfd{master, POLLIN, 0};
    while (poll(&pfd, 1, ms) > 0) {
      char buf[256];
      const ssize_t n = read(master, buf, sizeof buf);
      if (n <= 0) break;
      got.append(buf, static_cast<std::size_t>(n));
      ms = 20;
    }
    return got;
  }
  void WriteMaster(const std::string& bytes) {
    ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  int master = -1, slave = -1;
  std::string slavePath;
};

TEST_F(PtySerialTest, OpenIsExclusive) {
  PosixSerialDevice first, second;
  ASSERT_EQ(first.Open(slavePath.c_str()), 0);
  EXPECT_TRUE(first.IsOpen());
  EXPECT_EQ(second.Open(slavePath.c_str()), EBUSY);
  EXPECT_FALSE(second.IsOpen());
  first.Close();
  EXPECT_EQ(second.Open(slavePath.c_str()), 0);
}

TEST_F(PtySerialTest, OpenFailuresGiveTheirCode) {
  const struct {
    const char* path;
    int code;
  } cases[] = {
      {"/nonexistent/ttyX", ENOENT},
      {"/dev/null", ENOTTY},
      {"/", EISDIR},
  };
  for (const auto& c : cases) {
    PosixSerialDevice dev;
    EXPECT_EQ(dev.Open(c.path), c.code) << c.path;
    EXPECT_FALSE(dev.IsOpen()) << c.path;
  }
}

TEST(PosixLineTermios, FramingBitsAndRate) {
  const struct {
    LineSettings line;
    speed_t code;
    tcflag_t size;
    bool parity, odd, twoStops;
  } cases[] = {
      {Line(9600, 8, 2, 0), B9600, CS8, true, false, false},
      {Line(19200, 8, 2, 0), B19200, CS8, true, false, false},
      {Line(1200, 7, 1, 2), B1200, CS7, true, true, true},
      {Line(38400, 8, 0, 1), B38400, CS8, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line.baudRate);
    termios t{};
    t.c_cflag = CRTSCTS | PARODD | CS5;
    t.c_iflag = ICRNL | IXON;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ICANON | ECHO;
    ASSERT_TRUE(ApplyLineSettings(c.line, t));
    EXPECT_EQ(cfgetospeed(&t), c.code);
    EXPECT_EQ(cfgetispeed(&t), c.code);
    EXPECT_EQ(t.c_cflag & CSIZE, c.size);
    EXPECT_EQ((t.c_cflag & PARENB) != 0, c.parity);
    EXPECT_EQ((t.c_cflag & PARODD) != 0, c.odd);
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStops);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), CLOCAL | CREAD);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IXON), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
  }
  const LineSettings refused[] = {Line(12345, 8, 2, 0), Line(9600, 6, 2, 0), Line(9600, 8, 3, 0),
                                 Line(9600, 8, 2, 3)};
  for (const LineSettings& line : refused) {
    termios t{};
    t.c_cflag = CS5;
    EXPECT_FALSE(ApplyLineSettings(line, t));
    EXPECT_EQ(t.c_cflag, static_cast<tcflag_t>(CS5));  // left as it was
  }
}

// A Linux pseudo-terminal keeps the rate and the stop bits it is given but forces CS8 and drops
// PARENB, so the parity can be checked only in the termios built above, not from the far side.
TEST_F(PtySerialTest, LineSettingsSeenFromTheOtherSide) {
  const struct {
    LineSettings line;
    speed_t code;
    tcflag_t size;
    bool twoStops;
  } cases[] = {
      {Line(9600, 8, 2, 0), B9600, CS8, false},
      {Line(19200, 8, 2, 0), B19200, CS8, false},
      {Line(1200, 8, 2, 2), B1200, CS8, true},
  };
  PosixSerialDevice dev;
  ASSERT_EQ(dev.Open(slavePath.c_str()), 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line.baudRate);
    ASSERT_EQ(dev.Configure(c.line), ConfigureError::None);  // a pty has no modem lines: not a failure
    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), c.code);
    EXPECT_EQ(cfgetispeed(&t), c.code);
    EXPECT_EQ(t.c_cflag & CSIZE, c.size);
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStops);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), CLOCAL | CREAD);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON), 0u);
  }
}

TEST_F(PtySerialTest, EveryJobSetsTheSameLineAgain) {
  // Each job opens the port and asks for 8E1 once more; on a pty that nothing else resets, the
  // second request changes nothing the pty can show, and must still count as set.
  for (int job = 0; job < 3; ++job) {
    SCOPED_TRACE(job);
    PosixSerialDevice dev;
    ASSERT_EQ(dev.Open(slavePath.c_str()), 0);
    EXPECT_EQ(dev.Configure(Line(9600, 8, 2, 0)), ConfigureError::None);
    EXPECT_EQ(dev.Configure(Line(9601, 8, 2, 0)), ConfigureError::Line) << "a rate the line cannot take";
    dev.Close();
  }
  termios t{};
  ASSERT_EQ(tcgetattr(slave, &t), 0);
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
}

TEST_F(PtySerialTest, CountsReadsAndWritesRawBytes) {
  PosixSerialDevice dev;
  ASSERT_EQ(dev.Open(slavePath.c_str()), 0);
  ASSERT_EQ(dev.Configure(Line(9600, 8, 2, 0)), ConfigureError::None);

  char buf[64];
  std::uint32_t got = 99;
  ASSERT_TRUE(dev.Read(buf, sizeof buf, got));  // nothing waiting: no wait, nothing read
  EXPECT_EQ(got, 0u);

  const std::string reply("\nOK\r\x00\xFF\x11\x13", 8);  // nothing translated or swallowed
  WriteMaster(reply);
  EXPECT_EQ(AwaitCount(dev, 8), 8u);
  ASSERT_TRUE(dev.Read(buf, 3, got));
  EXPECT_EQ(std::string(buf, got), "\nOK");
  std::uint32_t count = 0;
  ASSERT_TRUE(dev.WaitingCount(count));
  EXPECT_EQ(count, 5u);
  ASSERT_TRUE(dev.Read(buf, sizeof buf, got));
  EXPECT_EQ(std::string(buf, got), reply.substr(3));

  ASSERT_TRUE(dev.Write("Rdt0001\r", 8));
  EXPECT_EQ(ReadMaster(), "Rdt0001\r");
}

TEST_F(PtySerialTest, WriteGivesUpWhenTheLineNeverTakesTheBytes) {
  PosixSerialDevice dev;
  ASSERT_EQ(dev.Open(slavePath.c_str()), 0);
  ASSERT_EQ(dev.Configure(Line(9600, 8, 2, 0)), ConfigureError::None);
  dev.SetWriteTimeoutMs(100);
  const std::vector<char> big(1 << 20, 'x');  // far more than the pty buffers; nobody reads
  EXPECT_FALSE(dev.Write(big.data(), static_cast<std::uint32_t>(big.size())));
}

TEST_F(PtySerialTest, ClosedDeviceRefusesEverything) {
  PosixSerialDevice dev;
  std::uint32_t n = 0;
  char c;
  EXPECT_EQ(dev.Configure(Line(9600, 8, 2, 0)), ConfigureError::Events);
  EXPECT_FALSE(dev.WaitingCount(n));
  EXPECT_FALSE(dev.Read(&c, 1, n));
  EXPECT_FALSE(dev.Write("x", 1));
  dev.Close();
}

TEST(PosixPortPath, ComNamesAndPlainPaths) {
  const struct {
    const char* path;
    const char* dir;
    const char* resolved;
  } cases[] = {
      {"COM1", "", "/dev/ttyS0"},
      {"COM3", "/tmp/ports", "/tmp/ports/COM3"},
      {"\\\\.\\COM12", "", "/dev/ttyS11"},
      {"\\\\.\\COM20", "/tmp/ports", "/tmp/ports/COM20"},
      {"/dev/pts/4", "/tmp/ports", "/dev/pts/4"},
      {"COM0", "/tmp/ports", "COM0"},
      {"COM1x", "", "COM1x"},
      {"COM", "", "COM"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolvePosixPortPath(c.path, c.dir), c.resolved) << c.path;
  }
}

// The whole road of one command: OpenPort through a folder of COM links, an exchange stepped by
// the tick, the reply written by the far end.
TEST_F(PtySerialTest, OpenPortAndExchangeOverTheLine) {
  char dirTemplate[] = "/tmp/pt-ports-XXXXXX";
  ASSERT_NE(mkdtemp(dirTemplate), nullptr);
  const std::string dir = dirTemplate;
  ASSERT_EQ(symlink(slavePath.c_str(), (dir + "/COM3").c_str()), 0);

  PosixSerialDevice dev(dir);
  SetPortDevice(&dev);
  Port = PortState{};
  Exchange = ExchangeState{};
  test::FakeDialog dlg;
  dlg.comboSel[IDC_PORT_COMBO] = 2;
  dlg.SetChecked(IDC_SPEED_9600, true);
  ReadPortChoice(dlg);
  ReadSpeedChoice(dlg);
  ASSERT_EQ(OpenPort(dlg), 0);
  EXPECT_EQ(dlg.Text(IDC_PORT_STATUS), "[COM3,9600,8,E,1]");
  termios t{};
  ASSERT_EQ(tcgetattr(slave, &t), 0);
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));

  // Another holder of the same port is refused with the code in the message.
  PosixSerialDevice other(dir);
  SetPortDevice(&other);
  test::FakeDialog dlg2;
  dlg2.comboSel[IDC_PORT_COMBO] = 2;
  ReadPortChoice(dlg2);
  EXPECT_EQ(OpenPort(dlg2), -1);
  ASSERT_EQ(dlg2.boxes.size(), 1u);
  EXPECT_NE(dlg2.boxes[0].text.find("Error = " + std::to_string(EBUSY) + "\n"), std::string::npos);
  SetPortDevice(&dev);

  WriteMaster("stale");
  AwaitCount(dev, 5);
  char reply[kReplyBufferSize];
  dlg.StartTimer(kTickTimerId, kTickTimerMs);
  ReplyExchange(dlg, 0, "Rpt\r", reply);
  test::RunTicks(dlg, 1);
  ASSERT_EQ(ReplyExchange(dlg, 1, "Rpt\r", reply), 0);
  EXPECT_EQ(ReadMaster(), "Rpt\r");
  WriteMaster("\n17\r");
  AwaitCount(dev, 4);
  int result = 0;
  for (int i = 0; i < 3 && result == 0; ++i) {
    test::RunTicks(dlg, 1);
    result = ReplyExchange(dlg, 1, "Rpt\r", reply);
  }
  EXPECT_EQ(result, 1);
  EXPECT_EQ(std::string(reply), "\n17\r");

  Port.ClosePortFlag = 1;
  test::RunTicks(dlg, 1);
  EXPECT_FALSE(dev.IsOpen());
  SetPortDevice(nullptr);
  unlink((dir + "/COM3").c_str());
  rmdir(dir.c_str());
}

}  // namespace
}  // namespace pt
