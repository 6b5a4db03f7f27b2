#include "platform/replacement_file.h"

#include <windows.h>

#include "platform/temporary_name.h"
#include "platform/win32/file_names_win32.h"

namespace pt {

namespace {

constexpr int kNameTries = 100;

HANDLE AsHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

// Asks the system to delete the file when its handle closes, or takes that back. A file marked
// from its creation until its commit goes with the process however that ends (killed, ended by
// Ctrl-C or a closed console, or by ExitProcess), since the system closes every handle of it.
bool DeleteOnClose(HANDLE h, bool remove) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = remove ? TRUE : FALSE;
  return SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// Held over the only steps in which a file of ours exists unmarked: from its creation to its
// mark, and from taking the mark back to the rename (or the removal after a failure).
SRWLOCK gUnmarkedSteps = SRWLOCK_INIT;

class UnmarkedSteps {
 public:
  UnmarkedSteps() { AcquireSRWLockExclusive(&gUnmarkedSteps); }
  ~UnmarkedSteps() { ReleaseSRWLockExclusive(&gUnmarkedSteps); }
  UnmarkedSteps(const UnmarkedSteps&) = delete;
  UnmarkedSteps& operator=(const UnmarkedSteps&) = delete;
};

// Creates `name`, not shared (nobody reads or writes a file while it is half written), and marks
// it. A file system that cannot mark it still gets it written, and removed by name as before.
HANDLE CreateMarked(const std::string& name, NameBytes names, bool& marked, DWORD& error) {
  const HANDLE h = CreateFileW(WideFileName(name, names).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  error = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
  marked = h != INVALID_HANDLE_VALUE && DeleteOnClose(h, true);
  return h;
}

}  // namespace

void HoldReplacements() { AcquireSRWLockExclusive(&gUnmarkedSteps); }

std::string ReplacementTarget(const std::string& path) { return path; }

void ReplacementFile::Failed(int code) {
  failed_ = true;
  if (error_ == 0) error_ = code != 0 ? code : static_cast<int>(ERROR_WRITE_FAULT);
}

bool ReplacementFile::Open(const char* path) {
  Start(path, false);
  if (final_.empty() || WideFileName(final_, names_).empty()) {
    Failed(static_cast<int>(ERROR_INVALID_NAME));
    return false;
  }
  HANDLE h = INVALID_HANDLE_VALUE;
  DWORD error = 0;
  {
    const UnmarkedSteps held;
    for (int i = 0; i < kNameTries && h == INVALID_HANDLE_VALUE; ++i) {
      temp_ = final_ + TemporarySuffix(GetCurrentProcessId());
      h = CreateMarked(temp_, names_, marked_, error);
      if (error != 0 && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
  }
  if (h == INVALID_HANDLE_VALUE) {
    Failed(static_cast<int>(error));
    temp_.clear();
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(h);
  return true;
}

bool ReplacementFile::OpenNew(const char* path) {
  Start(path, true);
  if (final_.empty() || WideFileName(final_, names_).empty()) {
    Failed(static_cast<int>(ERROR_INVALID_NAME));
    return false;
  }
  HANDLE h = INVALID_HANDLE_VALUE;
  DWORD error = 0;
  {
    const UnmarkedSteps held;
    h = CreateMarked(final_, names_, marked_, error);
  }
  if (h == INVALID_HANDLE_VALUE) {
    taken_ = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    Failed(static_cast<int>(error));
    return false;
  }
  temp_ = final_;
  handle_ = reinterpret_cast<std::intptr_t>(h);
  return true;
}

bool ReplacementFile::Write(const void* bytes, std::size_t length) {
  if (!IsOpen()) return false;
  const char* p = static_cast<const char*>(bytes);
  while (length > 0) {
    const DWORD chunk = length > 0x40000000u ? 0x40000000u : static_cast<DWORD>(length);
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle_), p, chunk, &written, nullptr) || written == 0) {
      Failed(static_cast<int>(GetLastError()));
      return false;
    }
    p += written;
    length -= written;
  }
  return true;
}

bool ReplacementFile::Commit() {
  if (!IsOpen()) return false;
  HANDLE h = AsHandle(handle_);
  handle_ = -1;
  if (!failed_ && !FlushFileBuffers(h)) Failed(static_cast<int>(GetLastError()));
  const UnmarkedSteps held;
  // The mark is taken back only from a file to be kept; a failed one goes as its handle closes.
  if (!failed_ && marked_) {
    if (DeleteOnClose(h, false)) {
      marked_ = false;
    } else {
      Failed(static_cast<int>(GetLastError()));
    }
  }
  if (!CloseHandle(h) && !failed_) Failed(static_cast<int>(GetLastError()));
  const std::wstring temp = WideFileName(temp_, names_);
  if (!failed_ && !inPlace_ && !MoveFileExW(temp.c_str(), WideFileName(final_, names_).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Failed(static_cast<int>(GetLastError()));
  }
  if (failed_ && !marked_) DeleteFileW(temp.c_str());
  marked_ = false;
  temp_.clear();
  return !failed_;
}

void ReplacementFile::Discard() {
  if (IsOpen()) {
    CloseHandle(AsHandle(handle_));
    handle_ = -1;
  }
  // A marked file is gone with its handle; its name may already be another's.
  if (!temp_.empty() && !marked_) DeleteFileW(WideFileName(temp_, names_).c_str());
  marked_ = false;
  temp_.clear();
}

}  // namespace pt
