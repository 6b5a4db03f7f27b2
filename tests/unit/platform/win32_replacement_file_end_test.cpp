// A file being written by a process that ends before its commit, however it ends, leaves nothing
// beside the file it was to replace: the child, this test program started again, writes part of
// one and is then killed or exits without a word.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "platform/replacement_file.h"

namespace pt {
namespace {

namespace fs = std::filesystem;

enum class End { Terminated, Exited, CommittedThenExited };

struct EndCase {
  const char* what;
  bool newFile;  // OpenNew on a name not yet taken, else Open over report.html
  End end;
};
constexpr EndCase kEnds[] = {
    {"replacement, TerminateProcess", false, End::Terminated},
    {"replacement, ExitProcess", false, End::Exited},
    {"new file, TerminateProcess", true, End::Terminated},
    {"new file committed, then ExitProcess", true, End::CommittedThenExited},
};
constexpr UINT kTerminated = 9;
constexpr UINT kExited = 3;

std::wstring EventName(DWORD parent) { return L"Local\\pt-replacement-end-" + std::to_wstring(parent); }

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> Names(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

// The child: run only when the parent below starts this program with PT_END_CASE set.
TEST(ReplacementFileChild, DISABLED_WritesAndIsEnded) {
  const char* index = std::getenv("PT_END_CASE");
  const char* path = std::getenv("PT_END_PATH");
  const char* parent = std::getenv("PT_END_PARENT");
  if (index == nullptr || path == nullptr || parent == nullptr) GTEST_SKIP() << "started by ProcessEnds";
  const EndCase& c = kEnds[std::atoi(index)];
  ReplacementFile file;
  bool ok = (c.newFile ? file.OpenNew(path) : file.Open(path)) && file.Write("half ", 5);
  if (c.end == End::CommittedThenExited) ok = ok && file.Write("whole", 5) && file.Commit();
  if (!ok) ExitProcess(1);
  const HANDLE written = OpenEventW(EVENT_MODIFY_STATE, FALSE, EventName(std::atoi(parent)).c_str());
  if (written == nullptr || !SetEvent(written)) ExitProcess(2);
  if (c.end == End::Terminated) Sleep(INFINITE);
  ExitProcess(kExited);  // no destructor runs: `file` is never discarded
}

TEST(ReplacementFileEnd, NothingIsLeftBesideTheFileWhenTheWriterEnds) {
  const fs::path dir = fs::temp_directory_path() / ("pt_end_" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  const fs::path old = dir / "report.html";
  wchar_t self[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  const HANDLE written = CreateEventW(nullptr, FALSE, FALSE, EventName(GetCurrentProcessId()).c_str());
  ASSERT_NE(written, nullptr);
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  const HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(nul, INVALID_HANDLE_VALUE);

  for (int i = 0; i < static_cast<int>(std::size(kEnds)); ++i) {
    const EndCase& c = kEnds[i];
    SCOPED_TRACE(c.what);
    std::ofstream(old, std::ios::binary) << "old";
    const fs::path target = c.newFile ? dir / "new.ptlog" : old;
    SetEnvironmentVariableA("PT_END_CASE", std::to_string(i).c_str());
    SetEnvironmentVariableA("PT_END_PATH", target.string().c_str());
    SetEnvironmentVariableA("PT_END_PARENT", std::to_string(GetCurrentProcessId()).c_str());
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_also_run_disabled_tests --gtest_filter=ReplacementFileChild.*";
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = start.hStdOutput = start.hStdError = nul;  // its own test report is noise here
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &child));
    const HANDLE waits[] = {written, child.hProcess};
    const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, 60000);
    EXPECT_EQ(woke, WAIT_OBJECT_0) << "the child ended or hung before it had written";
    if (woke == WAIT_OBJECT_0 && c.end != End::CommittedThenExited) {
      EXPECT_EQ(Names(dir).size(), 2u) << "the file being written is there while the child lives";
    }
    if (c.end == End::Terminated) TerminateProcess(child.hProcess, kTerminated);
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    EXPECT_EQ(code, c.end == End::Terminated ? kTerminated : kExited);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    if (c.end == End::CommittedThenExited) {
      EXPECT_EQ(Names(dir), (std::set<std::string>{"new.ptlog", "report.html"}));
      EXPECT_EQ(ReadAll(target), "half whole");
    } else {
      EXPECT_EQ(Names(dir), std::set<std::string>{"report.html"});
    }
    EXPECT_EQ(ReadAll(old), "old");
    for (const std::string& name : Names(dir)) {
      if (name != "report.html") fs::remove(dir / name);  // each case starts from the old file alone
    }
  }
  CloseHandle(nul);
  CloseHandle(written);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace pt
#endif
