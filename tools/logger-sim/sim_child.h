#pragma once
// Runs the simulated logger as a child process, for tests and scripts written in C++.
#include <sys/types.h>

#include <string>
#include <vector>

namespace sim {

class SimChild {
 public:
  SimChild() = default;
  ~SimChild() { Stop(); }
  SimChild(const SimChild&) = delete;
  SimChild& operator=(const SimChild&) = delete;

  // Starts `program` with `args` and waits up to `timeoutMs` for the terminal path it prints.
  // False (with the child reaped) if it exits or prints nothing in time.
  bool Start(const std::string& program, const std::vector<std::string>& args, int timeoutMs);
  const std::string& TtyPath() const { return ttyPath_; }
  pid_t Pid() const { return pid_; }
  // SIGTERM, then SIGKILL if it has not gone within 2 s. Returns the exit status, 128 + the
  // signal for a killed child, or -1 when nothing runs.
  int Stop();
  // Waits up to `timeoutMs` for the child to end by itself; the exit status as for Stop, or -1.
  int Wait(int timeoutMs);

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string ttyPath_;
};

// Runs `program` with `args` to its end (at most `timeoutMs`, then it is killed); its exit status
// as for SimChild::Stop, its standard error in `err`.
// The command lines of a transcript file, in order, without their times.
std::vector<std::string> ReadTranscriptCommands(const std::string& path);

int RunToEnd(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
             std::string& err);

}  // namespace sim
