#include "platform/replacement_file.h"

#include <windows.h>

#include "platform/temporary_name.h"
#include "platform/win32/file_names_win32.h"

namespace pt {

namespace {

constexpr int kNameTries = 100;

HANDLE AsHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

std::string ReplacementTarget(const std::string& path) { return path; }

void ReplacementFile::Failed(int code) {
  failed_ = true;
  if (error_ == 0) error_ = code != 0 ? code : static_cast<int>(ERROR_WRITE_FAULT);
}

bool ReplacementFile::Open(const char* path) {
  Discard();
  failed_ = false;
  inPlace_ = false;
  taken_ = false;
  error_ = 0;
  final_ = path != nullptr ? path : "";
  if (final_.empty() || WideFileName(final_, names_).empty()) {
    Failed(static_cast<int>(ERROR_INVALID_NAME));
    return false;
  }
  HANDLE h = INVALID_HANDLE_VALUE;
  DWORD error = 0;
  for (int i = 0; i < kNameTries && h == INVALID_HANDLE_VALUE; ++i) {
    temp_ = final_ + TemporarySuffix(GetCurrentProcessId());
    // Not shared: nobody reads or writes the report while it is half written.
    h = CreateFileW(WideFileName(temp_, names_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    error = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (error != 0 && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
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
  Discard();
  failed_ = false;
  inPlace_ = true;
  taken_ = false;
  error_ = 0;
  final_ = path != nullptr ? path : "";
  if (final_.empty() || WideFileName(final_, names_).empty()) {
    Failed(static_cast<int>(ERROR_INVALID_NAME));
    return false;
  }
  const HANDLE h = CreateFileW(WideFileName(final_, names_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
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
  if (!CloseHandle(h) && !failed_) Failed(static_cast<int>(GetLastError()));
  const std::wstring temp = WideFileName(temp_, names_);
  if (!failed_ && !inPlace_ && !MoveFileExW(temp.c_str(), WideFileName(final_, names_).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Failed(static_cast<int>(GetLastError()));
  }
  if (failed_) DeleteFileW(temp.c_str());
  temp_.clear();
  return !failed_;
}

void ReplacementFile::Discard() {
  if (IsOpen()) {
    CloseHandle(AsHandle(handle_));
    handle_ = -1;
  }
  if (!temp_.empty()) {
    DeleteFileW(WideFileName(temp_, names_).c_str());
    temp_.clear();
  }
}

}  // namespace pt
