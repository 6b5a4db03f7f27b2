#include "platform/replacement_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace pt {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ReplacementFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("pt_replace_" + std::to_string(std::random_device{}()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    target_ = dir_ / "report.html";
    std::ofstream(target_, std::ios::binary) << "old";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename().string());
    return names;
  }
  // The folder holds `names` and nothing else: no temporary is left behind.
  void ExpectOnly(const std::set<std::string>& names) const { EXPECT_EQ(Names(), names); }

  fs::path dir_, target_;
};

TEST_F(ReplacementFileTest, TheOldFileStaysUntilAWholeCommit) {
  struct Case {
    const char* what;
    bool commit;
    bool result;
    const char* after;
  } cases[] = {{"commit", true, true, "new contents"}, {"discard", false, false, "old"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(target_, std::ios::binary) << "old";
    ReplacementFile file;
    ASSERT_TRUE(file.Open(target_.string().c_str()));
    EXPECT_EQ(Names().size(), 2u) << "the temporary is beside its final name";
    EXPECT_TRUE(file.Write("new ", 4));
    EXPECT_TRUE(file.Write("contents", 8));
    EXPECT_EQ(ReadAll(target_), "old");
    if (c.commit) {
      EXPECT_EQ(file.Commit(), c.result);
    } else {
      file.Discard();
    }
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadAll(target_), c.after);
    ExpectOnly({"report.html"});
  }
  // The destructor discards what was not committed.
  {
    ReplacementFile file;
    ASSERT_TRUE(file.Open(target_.string().c_str()));
    file.Write("lost", 4);
  }
  EXPECT_EQ(ReadAll(target_), "old");
  ExpectOnly({"report.html"});
}

TEST_F(ReplacementFileTest, AFailedMoveOrOpenLeavesNothingBehind) {
  const fs::path folder = dir_ / "taken";
  fs::create_directory(folder);  // a folder cannot be replaced by a file
  ReplacementFile file;
  ASSERT_TRUE(file.Open(folder.string().c_str()));
  EXPECT_TRUE(file.Write("x", 1));
  EXPECT_FALSE(file.Commit());
  EXPECT_NE(file.Error(), 0);
  EXPECT_TRUE(fs::is_directory(folder));
  ExpectOnly({"report.html", "taken"});

  EXPECT_FALSE(file.Open((dir_ / "missing" / "x").string().c_str()));
  EXPECT_FALSE(file.Write("x", 1));
  EXPECT_FALSE(file.Commit());
  ExpectOnly({"report.html", "taken"});
}

#ifndef _WIN32
mode_t ModeOf(const fs::path& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

TEST_F(ReplacementFileTest, ModeBitsOfTheReplacedFileOrTheUmask) {
  const mode_t savedMask = ::umask(027);
  ASSERT_EQ(::chmod(target_.c_str(), 0604), 0);
  ReplacementFile file;
  ASSERT_TRUE(file.Open(target_.string().c_str()));
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(ModeOf(target_), 0604u);

  const fs::path fresh = dir_ / "fresh.csv";
  ASSERT_TRUE(file.Open(fresh.string().c_str()));
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(ModeOf(fresh), 0640u);
  ::umask(savedMask);
}

TEST_F(ReplacementFileTest, AWriteBeyondTheFileSizeLimitIsRemembered) {
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto savedSignal = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

  ReplacementFile file;
  const bool opened = file.Open(target_.string().c_str());
  const bool first = file.Write("0123456789", 10);
  const bool second = file.Write("0123456789", 10);  // crosses the limit
  const bool third = file.Write("x", 1);              // still beyond it
  const bool committed = file.Commit();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, savedSignal);

  ASSERT_TRUE(opened);
  EXPECT_TRUE(first);
  EXPECT_FALSE(second);
  EXPECT_FALSE(third);
  EXPECT_FALSE(committed);
  EXPECT_EQ(file.Error(), EFBIG);
  EXPECT_EQ(ReadAll(target_), "old");
  ExpectOnly({"report.html"});
}
#endif

}  // namespace
}  // namespace pt
