#pragma once
// The pseudo-terminal the simulated logger sits behind, and the stable link to its slave side.
#include <sys/types.h>
#include <termios.h>

#include <string>

namespace sim {

struct Pty {
  int master = -1;
  int slave = -1;      // held open so the master never sees a hang-up between a client's jobs
  std::string slavePath;
  termios fresh{};     // the slave's settings as made at open, before any client came
  dev_t device = 0;    // the slave's device number
};

// Opens the pair and puts the slave side in raw mode. False with a message on failure.
bool OpenPty(Pty& pty, std::string& error);
void ClosePty(Pty& pty);
// How many descriptors of other processes hold the slave open, as /proc shows them (processes
// this user may not inspect are not seen); -1 when /proc cannot be read.
int OtherHolders(const Pty& pty);

// Points `link` at `target`, replacing an old symlink in one rename; refuses to replace
// anything that is not a symlink.
bool MakeLink(const std::string& link, const std::string& target, std::string& error);
// Removes `link` if it is a symlink that still points at `target` (another simulator may have
// taken the name over since).
void RemoveLink(const std::string& link, const std::string& target);

}  // namespace sim
