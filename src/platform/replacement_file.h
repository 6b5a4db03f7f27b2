#pragma once
// A file replaced whole: written under a temporary name in the same folder as its final name and
// moved over the old file only once it is complete and closed, so that a failure at any point
// leaves the old file as it was and no half-written one under its name.
//
// POSIX: the temporary is created 0666 & ~umask, or with the mode bits of the regular file it
// replaces; a symbolic link at the final name is followed (its target is replaced, the link
// stays); fsync, then rename. Windows: the temporary (or OpenNew's file) is held unshared while
// it is open, and marked to be deleted by the system when its handle closes, so that it goes
// with the process however that ends (killed, Ctrl-C, a closed console); the commit takes the
// mark back just before the rename. The paths are converted as platform/file_names.h says (the
// ANSI code page, as fopen converts them, or UTF-8 for the console or for a file made with
// NameBytes::Utf8); MoveFileExW with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file_names.h"

namespace pt {

class ReplacementFile {
 public:
  explicit ReplacementFile(NameBytes names = NameBytes::Program) : names_(names) {}
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile() { Discard(); }

  // Creates a temporary file with a unique name beside `path` (an open one is discarded first).
  // False when it cannot be created.
  bool Open(const char* path);
  // Writes all `length` bytes; false when any of them failed. A failure is remembered: later
  // writes are still tried, each with its own result, but Commit refuses.
  bool Write(const void* bytes, std::size_t length);
  // Closes the temporary and moves it over the final file, only if every write succeeded. False
  // otherwise, with the temporary removed and the final file untouched.
  bool Commit();
  // Creates `path` itself, only when no file has that name yet (O_EXCL, CREATE_NEW on Windows),
  // to be written in place: for a file that must never replace another. Commit keeps it, Discard
  // removes it. False when it cannot be created; NameTaken() then tells a name in use.
  bool OpenNew(const char* path);
  bool NameTaken() const { return taken_; }
  // Closes and removes the temporary; harmless when nothing is open.
  void Discard();

  bool IsOpen() const { return handle_ != -1; }
  NameBytes Names() const { return names_; }
  // The system's code (errno, or GetLastError on Windows) of the first failure since Open; 0
  // when there was none.
  int Error() const { return error_; }

 private:
  void Failed(int code);
  // What Open and OpenNew do first: whatever was open goes, and this file starts afresh.
  void Start(const char* path, bool inPlace) {
    Discard();
    failed_ = false;
    inPlace_ = inPlace;
    taken_ = false;
    error_ = 0;
    final_ = path != nullptr ? path : "";
  }

  NameBytes names_;
  std::string final_;           // the file that is replaced (links followed)
  std::string temp_;            // the temporary beside it
  std::intptr_t handle_ = -1;   // a file descriptor, or a HANDLE on Windows
  bool failed_ = false;
  bool inPlace_ = false;        // OpenNew: temp_ is the final file, kept by Commit
  bool taken_ = false;
  int error_ = 0;
  int slot_ = -1;               // POSIX: where temp_ is listed for RemoveOpenTemporaries
  bool marked_ = false;         // Windows: the system deletes temp_ when handle_ closes
};

// POSIX only: removes every temporary (and every OpenNew file not yet committed) that this
// process has open. Async-signal-safe, for a SIGINT or SIGTERM handler: the names are kept in a
// fixed table, and the signals are held while a name is made, renamed or removed.
void RemoveOpenTemporaries();

// Windows only: waits while a file of this process is between its creation and its mark, or
// between the commit's taking the mark back and its rename, then holds every other from such a
// step for good; for a console control handler on its own thread just before the process ends,
// so that no temporary outlives it unmarked. Never from a thread that writes a ReplacementFile.
void HoldReplacements();

// The file a ReplacementFile opened on `path` replaces: on POSIX `path` with every symbolic link
// along the final name followed (even one whose target does not exist yet); `path` elsewhere.
std::string ReplacementTarget(const std::string& path);

}  // namespace pt
