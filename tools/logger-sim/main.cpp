// paddytherm-logger-sim: a water-temperature logger on a pseudo-terminal, with switchable faults.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>

#include "sim_faults.h"
#include "sim_options.h"
#include "sim_protocol.h"
#include "sim_pty.h"
#include "version.h"

namespace {

volatile sig_atomic_t gStop = 0;
void OnSignal(int) { gStop = 1; }

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

class Simulator {
 public:
  Simulator(const sim::Options& opts, sim::Logger logger, sim::Pty pty, std::FILE* transcript)
      : opts_(opts), logger_(std::move(logger)), pty_(pty), transcript_(transcript),
        rng_(opts.seed), spoiler_(opts.seed, opts.spoilPercent, opts.spoilKinds, opts.spoilAlways),
        start_(Clock::now()) {
    // Before anyone learns the terminal's name, so no client's open goes unseen.
    WatchClientCloses();
  }

  int Run();

 private:
  // Milliseconds since the start, as the transcript gives them and the logger's clock counts.
  std::int64_t NowMs() const {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start_).count();
  }
  bool TimeIsUp() const {
    return gStop || (opts_.exitAfterSeconds > 0 && NowMs() >= opts_.exitAfterSeconds * 1000);
  }
  // Sleeps in short slices so a signal or the end of the run is never held up by a long delay.
  void SleepUntil(Clock::time_point when) const {
    for (Clock::time_point now = Clock::now(); !TimeIsUp() && now < when; now = Clock::now()) {
      const Clock::duration slice = std::min<Clock::duration>(when - now, milliseconds(20));
      timespec ts{0, static_cast<long>(nanoseconds(slice).count())};
      nanosleep(&ts, nullptr);
    }
  }
  void OnLine();
  void Note(std::int64_t nowMs, const std::string& text);
  void Send(const std::string& bytes);
  void HangUp();
  void WatchClientCloses();
  void OnOpensAndCloses();

  const sim::Options& opts_;
  sim::Logger logger_;
  sim::Pty pty_;
  std::FILE* transcript_;
  sim::Rng rng_;
  sim::Spoiler spoiler_;
  Clock::time_point start_;
  sim::LineAssembler lines_;
  std::string lastLine_;
  bool haveLast_ = false;
  std::string lastAnswered_;  // the last line that reached the reply (for --spoil)
  std::vector<bool> lateUsed_ = std::vector<bool>(opts_.late.size(), false);
  long commands_ = 0;
  bool hungUp_ = false;
  int notify_ = -1;
  int clients_ = 0;  // opens of the slave by others, less their closes
};

// The simulator keeps the slave open, so whatever a client leaves on the terminal outlives its
// close: the exclusive flag (TIOCEXCL would lock the client out of its next job) and the line
// settings (glibc's tcsetattr reports EINVAL on a pty when a request with parity changes
// nothing it can see, so a client that sets the same line again would fail). When the last
// client closes, the terminal gets back the state it had at start, as a freshly opened port.
//
// The reset must come quickly: a client that closes and opens again at once (a job button
// pressed as the last job ended) sets its line right after, and must find it reset. So clients
// are counted from inotify's events, which cost nothing. But inotify merges an event into the one
// before it while that is unread: two clients opening at once leave one IN_OPEN, and the count
// reaches 0 at the loser's close (flock turned it away) while the winner holds the line. The
// winner has made the terminal exclusive by then, which the terminal says at no cost (TIOCGEXCL).
// A client lifts that flag as it closes; one that died holding it is found out by asking /proc
// who still holds the terminal, which is too slow for every close but fine for this one.
void Simulator::WatchClientCloses() {
  notify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (notify_ >= 0 && inotify_add_watch(notify_, pty_.slavePath.c_str(),
                                        IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
    close(notify_);
    notify_ = -1;
  }
}

void Simulator::OnOpensAndCloses() {
  alignas(inotify_event) char events[4096];
  bool closed = false;
  for (;;) {
    const ssize_t n = read(notify_, events, sizeof events);
    if (n <= 0) break;
    for (ssize_t pos = 0; pos + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(events + pos);
      if (e->mask & IN_OPEN) ++clients_;
      if (e->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
        clients_ = clients_ > 0 ? clients_ - 1 : 0;
        closed = true;
      }
      pos += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
    }
  }
  if (!closed || clients_ != 0) return;
  int exclusive = 0;
  if (ioctl(pty_.slave, TIOCGEXCL, &exclusive) != 0) exclusive = 0;
  if (exclusive != 0 && sim::OtherHolders(pty_) != 0) return;
  ioctl(pty_.slave, TIOCNXCL);
  tcsetattr(pty_.slave, TCSANOW, &pty_.fresh);
}

int Simulator::Run() {
  char buf[256];
  while (!TimeIsUp()) {
    if (hungUp_) {
      SleepUntil(Clock::now() + milliseconds(50));
      continue;
    }
    pollfd fds[2] = {{pty_.master, POLLIN, 0}, {notify_, POLLIN, 0}};
    const int ready = poll(fds, notify_ >= 0 ? 2 : 1, 50);
    if (ready <= 0) continue;
    if (notify_ >= 0 && (fds[1].revents & POLLIN)) OnOpensAndCloses();
    if (!(fds[0].revents & POLLIN)) continue;
    const ssize_t n = read(pty_.master, buf, sizeof buf);
    if (n <= 0) continue;
    for (ssize_t i = 0; i < n && !hungUp_ && !TimeIsUp(); ++i)
      if (lines_.Feed(buf[i])) OnLine();
  }
  if (notify_ >= 0) close(notify_);
  if (!hungUp_) sim::ClosePty(pty_);
  if (!opts_.link.empty()) sim::RemoveLink(opts_.link, pty_.slavePath);
  return 0;
}

void Simulator::OnLine() {
  const std::int64_t now = NowMs();
  const std::string& line = lines_.Line();
  std::string shown = sim::EscapeLine(line) + "\\r";
  if (lines_.OverLong()) shown += " [over-long: " + std::to_string(lines_.Length()) + " bytes]";
  Note(now, shown);
  ++commands_;
  if (opts_.hangupAfter >= 0 && commands_ > opts_.hangupAfter) {
    HangUp();
    return;
  }
  if (opts_.silent) return;
  for (const std::string& command : opts_.silentFor) {
    if (line.compare(0, command.size(), command) == 0) return;
  }
  if (opts_.dropFirst) {
    const bool repeated = haveLast_ && line == lastLine_;
    lastLine_ = line;
    haveLast_ = true;
    if (!repeated) return;
  }
  std::string reply = lines_.OverLong() ? sim::kRefusal : logger_.Answer(line, now);
  // A sample asked again straight after its reply (the client's resend) is a repeat.
  const bool repeat = line == lastAnswered_;
  lastAnswered_ = line;
  // A logger busy with its own reading answers late; a command that comes meanwhile (the
  // client's resend) waits in the line and is answered right after.
  int lateMs = 0;
  for (std::size_t i = 0; i < opts_.late.size(); ++i) {
    if (!lateUsed_[i] && line.compare(0, opts_.late[i].command.size(), opts_.late[i].command) == 0) {
      lateUsed_[i] = true;
      lateMs = std::max(lateMs, opts_.late[i].ms);
    }
  }
  std::size_t index = 0;
  const bool sample = sim::SampleIndex(line, index) && index < logger_.Data().words.size();
  if (sample && spoiler_.LateFirstAsk(index, repeat, opts_.latePercent)) lateMs = std::max(lateMs, opts_.latePercentMs);
  if (lateMs > 0) Note(now, "late " + std::to_string(lateMs));
  if (sample) {
    if (const auto kind = spoiler_.For(index, repeat)) {
      Note(now, "spoilt " + std::to_string(index) + " " + sim::SpoilKindName(*kind));
      reply = spoiler_.Apply(*kind, reply, index);
      if (reply.empty()) return;  // silent
    }
  }
  if (opts_.nul) reply = sim::WithNul(reply);
  if (opts_.noise > 0) reply = sim::Noise(static_cast<std::size_t>(opts_.noise), rng_) + reply;
  termios t{};
  const bool haveLine = tcgetattr(pty_.slave, &t) == 0;
  if (!haveLine || !sim::LineMatchesLogger(t)) reply = sim::Garble(reply.size(), opts_.garbleEnded, rng_);
  if (opts_.delayMs > 0) SleepUntil(Clock::now() + milliseconds(opts_.delayMs));
  if (lateMs > 0) SleepUntil(start_ + milliseconds(now + lateMs));
  if (!opts_.split) {
    Send(reply);
    return;
  }
  bool first = true;
  for (const std::string& piece : sim::SplitReply(reply, rng_)) {
    if (!first) SleepUntil(Clock::now() + milliseconds(30));
    first = false;
    Send(piece);
  }
}

void Simulator::Send(const std::string& bytes) {
  if (TimeIsUp()) return;
  if (!opts_.pace) {
    if (write(pty_.master, bytes.data(), bytes.size()) < 0) return;
    return;
  }
  termios t{};
  tcgetattr(pty_.slave, &t);
  const microseconds byteTime(sim::ByteTimeMicros(t));
  Clock::time_point due = Clock::now();
  // A byte is handed over once it has fully crossed the line, as a UART delivers it.
  for (char c : bytes) {
    due += byteTime;
    SleepUntil(due);
    if (write(pty_.master, &c, 1) < 0) return;
  }
}

// As with a pulled cable: the client's reads and writes fail from now on, the link goes away,
// and the simulator only waits to be stopped.
void Simulator::HangUp() {
  hungUp_ = true;
  sim::ClosePty(pty_);
  if (!opts_.link.empty()) sim::RemoveLink(opts_.link, pty_.slavePath);
  Note(NowMs(), "hangup");
}

void Simulator::Note(std::int64_t nowMs, const std::string& text) {
  if (!transcript_) return;
  std::fprintf(transcript_, "%lld %s\n", static_cast<long long>(nowMs), text.c_str());
  std::fflush(transcript_);
}

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  text = ss.str();
  return true;
}

sim::CivilTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

int Fail(const std::string& message, int status) {
  std::fprintf(stderr, "paddytherm-logger-sim: %s\n", message.c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  sim::Options opts;
  std::string error;
  if (!sim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), opts, error)) {
    std::fprintf(stderr, "paddytherm-logger-sim: %s (try --help)\n", error.c_str());
    return 2;
  }
  if (opts.help) {
    std::fputs(sim::kUsage, stdout);
    return 0;
  }
  if (opts.version) {
    std::puts("paddytherm-logger-sim " PT_VERSION_TEXT);
    return 0;
  }

  sim::LoggerData data;
  data.memo = sim::PadMemo(opts.memo);
  data.start = opts.start;
  data.pointerText = opts.pointer;
  data.clock = opts.clock ? *opts.clock : LocalNow();
  data.refuseAcks = opts.refuseAcks;
  if (!opts.wordsFile.empty()) {
    std::string text;
    if (!ReadFile(opts.wordsFile, text)) return Fail("cannot read " + opts.wordsFile, 2);
    if (!sim::ParseWords(text, data.words, error)) return Fail(opts.wordsFile + ": " + error, 2);
  } else {
    data.words = sim::MakeSeason(opts.start, opts.samples, opts.seed);
  }
  if (!opts.dumpWordsFile.empty()) {
    std::ofstream out(opts.dumpWordsFile, std::ios::binary | std::ios::trunc);
    out << sim::FormatWords(data.words);
    out.close();
    if (!out) return Fail("cannot write " + opts.dumpWordsFile, 1);
  }
  std::FILE* transcript = nullptr;
  if (!opts.transcriptFile.empty()) {
    transcript = std::fopen(opts.transcriptFile.c_str(), "w");
    if (!transcript) return Fail("cannot write " + opts.transcriptFile + ": " + std::strerror(errno), 1);
  }

  struct sigaction sa{};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);

  sim::Pty pty;
  if (!sim::OpenPty(pty, error)) return Fail(error, 1);
  Simulator simulator(opts, sim::Logger(std::move(data)), pty, transcript);
  if (!opts.link.empty() && !sim::MakeLink(opts.link, pty.slavePath, error)) {
    sim::ClosePty(pty);
    return Fail(error, 1);
  }
  std::printf("%s\n", pty.slavePath.c_str());
  std::fflush(stdout);
  const int status = simulator.Run();
  if (transcript) std::fclose(transcript);
  return status;
}
