#include "sim_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point DeadlineIn(int timeoutMs) { return Clock::now() + std::chrono::milliseconds(timeoutMs); }

// Whole milliseconds left until `end`; 0 or less once it has passed.
long long MsLeft(Clock::time_point end) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
}

int Status(int raw) {
  if (raw < 0) return -1;
  if (WIFEXITED(raw)) return WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
  return -1;
}

// fork and exec with stdout and stderr going to the given descriptors (-1: inherited).
pid_t Spawn(const std::string& program, const std::vector<std::string>& args, int outFd, int errFd) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    if (outFd >= 0) dup2(outFd, STDOUT_FILENO);
    if (errFd >= 0) dup2(errFd, STDERR_FILENO);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

constexpr int kRunning = -1;
constexpr int kLost = -2;  // waitpid itself failed

// Reaps `pid` within `timeoutMs`; the raw wait status, kRunning or kLost.
int Reap(pid_t pid, int timeoutMs) {
  const Clock::time_point end = DeadlineIn(timeoutMs);
  for (;;) {
    int raw = 0;
    const pid_t r = waitpid(pid, &raw, WNOHANG);
    if (r == pid) return raw;
    if (r < 0) return kLost;
    if (Clock::now() >= end) return kRunning;
    timespec ts{0, 5 * 1000 * 1000};
    nanosleep(&ts, nullptr);
  }
}

}  // namespace

bool SimChild::Start(const std::string& program, const std::vector<std::string>& args,
                     int timeoutMs) {
  Stop();
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  pid_ = Spawn(program, args, fds[1], -1);
  close(fds[1]);
  out_ = fds[0];
  if (pid_ < 0) {
    close(out_);
    out_ = -1;
    return false;
  }
  const Clock::time_point end = DeadlineIn(timeoutMs);
  std::string line;
  for (;;) {
    const long long left = MsLeft(end);
    pollfd p{out_, POLLIN, 0};
    if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) break;
    char c;
    if (read(out_, &c, 1) != 1) break;
    if (c == '\n') {
      ttyPath_ = line;
      return true;
    }
    line += c;
  }
  Stop();
  return false;
}

int SimChild::Wait(int timeoutMs) {
  if (pid_ < 0) return -1;
  const int raw = Reap(pid_, timeoutMs);
  if (raw == kRunning) return -1;
  pid_ = -1;
  if (out_ >= 0) close(out_);
  out_ = -1;
  return Status(raw);
}

int SimChild::Stop() {
  if (pid_ < 0) return -1;
  kill(pid_, SIGTERM);
  int raw = Reap(pid_, 2000);
  if (raw == kRunning) {
    kill(pid_, SIGKILL);
    raw = Reap(pid_, 2000);
  }
  pid_ = -1;
  if (out_ >= 0) close(out_);
  out_ = -1;
  return Status(raw);
}

int RunToEnd(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
             std::string& err) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return -1;
  const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const pid_t pid = Spawn(program, args, devNull, fds[1]);
  close(fds[1]);
  if (devNull >= 0) close(devNull);
  err.clear();
  int raw = kLost;
  const Clock::time_point end = DeadlineIn(timeoutMs);
  if (pid >= 0) {
    char buf[256];
    for (;;) {
      pollfd p{fds[0], POLLIN, 0};
      const long long left = MsLeft(end);
      if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) break;
      const ssize_t n = read(fds[0], buf, sizeof buf);
      if (n <= 0) break;
      err.append(buf, static_cast<std::size_t>(n));
    }
    raw = Reap(pid, 100);
    if (raw == kRunning) {
      kill(pid, SIGKILL);
      raw = Reap(pid, 2000);
    }
  }
  close(fds[0]);
  return Status(raw);
}

std::vector<std::string> ReadTranscriptCommands(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    const auto space = line.find(' ');
    lines.push_back(space == std::string::npos ? line : line.substr(space + 1));
  }
  return lines;
}

}  // namespace sim
