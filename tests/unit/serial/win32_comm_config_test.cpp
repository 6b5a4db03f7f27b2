// How the Win32 backend readies a port: the calls in order, the values they carry, the control
// block written, and where a failing call stops it.
#ifdef _WIN32
#include "serial/win32/comm_config_win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace pt {
namespace {

// Records each call; `fails` names the one that fails. GetState reports `reported`.
struct RecordingComm {
  std::string fails;
  DCB reported{};
  std::vector<std::string> calls;
  DCB written{};

  bool SetMask(DWORD mask) {
    calls.push_back("mask " + std::to_string(mask));
    return fails != "mask";
  }
  bool SetQueues(DWORD in, DWORD out) {
    calls.push_back("queues " + std::to_string(in) + " " + std::to_string(out));
    return fails != "queues";
  }
  bool GetState(DCB& dcb) {
    calls.push_back("get");
    if (fails == "get") {
      std::memset(&dcb, 0xEE, sizeof dcb);  // what a failed call left is never used
      return false;
    }
    dcb = reported;
    return true;
  }
  bool SetState(DCB& dcb) {
    calls.push_back("set");
    written = dcb;
    return fails != "set";
  }
};

TEST(Win32CommConfig, CallsInOrderAndTheControlBlockWritten) {
  // The device reports a handshake and text mode that must go, and fields that must stay.
  DCB reported{};
  reported.BaudRate = 1200;
  reported.ByteSize = 7;
  reported.fOutxCtsFlow = 1;
  reported.fOutxDsrFlow = 1;
  reported.fBinary = 0;
  reported.fDtrControl = DTR_CONTROL_HANDSHAKE;
  reported.fRtsControl = RTS_CONTROL_TOGGLE;
  reported.XonLim = 77;
  reported.fOutX = 1;
  // What the previous configuration left, written again when the device cannot report its state.
  DCB previous{};
  previous.XonLim = 55;

  const std::vector<std::string> all = {"mask 5", "queues 8192 8192", "get", "set"};
  struct Case {
    const char* fails;
    ConfigureError result;
    std::size_t calls;  // how many of `all` were made
    WORD xonLim;        // 0: nothing written
  };
  const Case cases[] = {
      {"", ConfigureError::None, 4, 77},
      {"mask", ConfigureError::Events, 1, 0},
      {"queues", ConfigureError::Queues, 2, 0},
      {"get", ConfigureError::None, 4, 55},
      {"set", ConfigureError::Line, 4, 77},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fails);
    RecordingComm comm;
    comm.fails = c.fails;
    comm.reported = reported;
    DCB kept = previous;
    EXPECT_EQ(ConfigureComm(comm, LineSettings{19200, 2, 8, 0}, kept), c.result);
    EXPECT_EQ(comm.calls, std::vector<std::string>(all.begin(), all.begin() + c.calls));
    if (c.xonLim == 0) {
      EXPECT_EQ(std::memcmp(&kept, &previous, sizeof kept), 0) << "kept block changed";
      continue;
    }
    const DCB& w = comm.written;
    EXPECT_EQ(std::memcmp(&kept, &w, sizeof kept), 0) << "kept is not what was written";
    EXPECT_EQ(w.DCBlength, 28u);
    EXPECT_EQ(w.BaudRate, 19200u);
    EXPECT_EQ(w.ByteSize, 8);
    EXPECT_EQ(w.Parity, EVENPARITY);
    EXPECT_EQ(w.StopBits, ONESTOPBIT);
    EXPECT_EQ(w.fBinary, 1u);
    EXPECT_EQ(w.fOutxCtsFlow, 0u);
    EXPECT_EQ(w.fOutxDsrFlow, 0u);
    EXPECT_EQ(w.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_EQ(w.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
    EXPECT_EQ(w.XonLim, c.xonLim);
    EXPECT_EQ(w.fOutX, c.xonLim == 77 ? 1u : 0u);
  }
}

}  // namespace
}  // namespace pt
#endif
