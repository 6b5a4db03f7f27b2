#include "config/port_settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "serial/port.h"
#include "app/program_state.h"

namespace pt {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Golden(const char* name) { return ReadAll(fs::path(__FILE__).parent_path() / "golden" / name); }

// Each test starts from program start in a fresh empty directory that is the current directory.
class PortSettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    home_ = fs::current_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           (std::string("pt_settings_") + info->name() + "_" + std::to_string(std::random_device{}()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(home_);
    fs::remove_all(dir_);
    ResetProgramState();
  }
  fs::path File() const { return dir_ / kPortSettingsFileName; }

  fs::path home_;
  fs::path dir_;
};

struct GoldenCase {
  PortSettings settings;
  const char* golden;
};

TEST_F(PortSettingsFileTest, WritesTheLayoutByteForByteAndReplacesAnOlderFile) {
  const GoldenCase cases[] = {
      {PortSettings{}, "com1_19200.ini"},
      {PortSettings{11, 4, 2, 1, 0}, "com12_9600.ini"},
      {PortSettings{19, 6, 1, 0, 1}, "com20_38400_odd.ini"},
      // Indexes outside their tables write each table's first row instead of reading past it.
      {PortSettings{20, -1, 3, 2, 3}, "out_of_range.ini"},
      {PortSettings{-1, 7, -2, -1, -1}, "out_of_range.ini"},
  };
  LoadPortSettings();
  for (const auto& c : cases) {
    WriteAll(File(), std::string(2000, 'x'));
    Port.Settings = c.settings;
    SavePortSettings();
    const std::string expected = Golden(c.golden);
    ASSERT_FALSE(expected.empty()) << c.golden;
    EXPECT_EQ(ReadAll(File()), expected) << c.golden;
  }
}

TEST_F(PortSettingsFileTest, WritesTheSpeedOfTheSettingsNotOfTheDialog) {
  LoadPortSettings();
  SavePortSettings();
  EXPECT_NE(ReadAll(File()).find("\r\n19200\r\n"), std::string::npos) << "start value 5";
  Port.Settings.speed = 4;
  SavePortSettings();
  EXPECT_NE(ReadAll(File()).find("\r\n9600\r\n"), std::string::npos);
}

std::string Lines(int padding, const std::string& tail) {
  // A comment line of exactly `padding` bytes, CR LF included, then `tail`.
  std::string text(";");
  text.append(static_cast<std::size_t>(padding - 3), '*').append("\r\n").append(tail);
  return text;
}

struct ReadCase {
  const char* what;
  std::string file;
  int expected;  // the port index after loading; the start value is 7
};

TEST_F(PortSettingsFileTest, ReadsOnlyThePortFromTheFirstValueLine) {
  std::string garbage(3000, '\0');
  std::mt19937 rng(1234);
  for (char& c : garbage) c = static_cast<char>(rng() % 255 + 1);  // no NUL
  const std::string golden = Golden("com12_9600.ini");
  std::string lfOnly;
  for (char c : golden)
    if (c != '\r') lfOnly += c;

  const ReadCase cases[] = {
      {"the program's own file", golden, 11},
      {"twelfth port", "COM12\r\n", 11},
      {"lower case", "com12\r\n", 0},
      {"beyond the twentieth", "COM21\r\n", 0},
      {"a name that starts like one", "COM1x\r\n", 0},
      {"remark after a space", "COM3 the logger's port\r\n", 2},
      {"remark after a tab", "COM3\tremark\r\n", 2},
      {"CR alone ends a line", ";c\rCOM4\r", 3},
      {"leading space gives an empty token", " COM3\r\n", 0},
      {"empty line is a value line", "\r\nCOM3\r\n", 0},
      {"LF-only endings yield no lines", lfOnly, 7},
      {"LF inside a line ends the token", "COM3\nX\r\n", 2},
      {"text after the last CR", ";c\r\nCOM3", 7},
      {"empty file", "", 7},
      {"comments only", "; COM3\r\n;\r\n", 7},
      {"later value lines are ignored", "COM2\r\nCOM5\r\n", 1},
      {"the speed line first", "9600\r\nCOM3\r\n", 0},
      {"NUL ends the text", std::string("COM3\r\n", 6) + std::string("\0COM5\r\n", 7), 2},
      {"NUL before the CR", std::string("COM3\0\r\n", 7), 7},
      {"5000-byte port line", std::string(5000, 'C').append("\r\n"), 7},  // cut at 900: no CR seen
      {"800-byte port line", std::string("COM3").append(796, 'X').append("\r\n"), 0},
      {"port line ending at byte 900", Lines(895, "COM3\r\n"), 2},
      {"port line CR at byte 901", Lines(896, "COM3\r\n"), 7},
      {"exactly 900 bytes", Lines(894, "COM3\r\n"), 2},
      {"binary garbage", std::string("COM9\r\n").append(garbage), 8},
  };
  for (const auto& c : cases) {
    Port = PortState{};
    Port.Settings.port = 7;
    WriteAll(File(), c.file);
    LoadPortSettings();
    EXPECT_EQ(Port.Settings.port, c.expected) << c.what;
    EXPECT_EQ(Port.Settings.speed, 5) << c.what;
    EXPECT_EQ(Port.Settings.parity, 2) << c.what;
    EXPECT_EQ(Port.Settings.dataBits, 1) << c.what;
    EXPECT_EQ(Port.Settings.stopBits, 0) << c.what;
    EXPECT_EQ(ReadAll(File()), c.file) << c.what << ": reading must not touch the file";
  }
}

TEST_F(PortSettingsFileTest, OtherValuesInTheFileAreNotApplied) {
  WriteAll(File(), "COM3\r\n38400\r\nN\r\n7\r\n2\r\n");
  LoadPortSettings();
  EXPECT_EQ(Port.Settings.port, 2);
  EXPECT_EQ(Port.Settings.speed, 5);
  EXPECT_EQ(Port.Settings.parity, 2);
  EXPECT_EQ(Port.Settings.dataBits, 1);
  EXPECT_EQ(Port.Settings.stopBits, 0);
}

TEST_F(PortSettingsFileTest, EveryPortSurvivesARestart) {
  for (int port = 0; port < kPortCount; ++port) {
    LoadPortSettings();
    Port.Settings.port = port;
    Port.Settings.speed = 4;
    SavePortSettings();
    Port = PortState{};
    PortSettingsFile = PortSettingsFileState{};
    LoadPortSettings();
    EXPECT_EQ(Port.Settings.port, port);
    EXPECT_EQ(Port.Settings.speed, 5);
  }
}

TEST_F(PortSettingsFileTest, SavesIntoTheDirectoryOfTheLoadEvenAfterAChdir) {
  const fs::path other = dir_ / "elsewhere";
  fs::create_directory(other);
  LoadPortSettings();
  fs::current_path(other);
  Port.Settings.port = 4;
  SavePortSettings();
  EXPECT_FALSE(fs::exists(other / kPortSettingsFileName));
  EXPECT_NE(ReadAll(File()).find("\r\nCOM5\r\n"), std::string::npos);
}

TEST_F(PortSettingsFileTest, FailuresAreSilentAndChangeNothing) {
  // Never loaded: there is no directory to write into.
  Port.Settings.port = 3;
  SavePortSettings();
  EXPECT_FALSE(fs::exists(File()));

  // The settings path is a directory: neither reading nor writing it may do anything.
  fs::create_directory(File());
  LoadPortSettings();
  EXPECT_EQ(Port.Settings.port, 3);
  SavePortSettings();
  EXPECT_TRUE(fs::is_directory(File()));
  fs::remove(File());

  // The remembered directory went away before the close.
  const fs::path gone = dir_ / "gone";
  fs::create_directory(gone);
  fs::current_path(gone);
  LoadPortSettings();
  fs::current_path(dir_);
  fs::remove(gone);
  SavePortSettings();
  EXPECT_FALSE(fs::exists(gone));
  EXPECT_FALSE(fs::exists(File()));
}

#ifndef _WIN32
// A directory of `length` characters below `base`, with a settings file naming COM5 in it.
fs::path DirectoryOfLength(const fs::path& base, std::size_t length) {
  fs::path dir = base;
  while (dir.string().size() + 1 < length) {
    const std::size_t left = length - dir.string().size() - 1;
    dir /= std::string(std::min<std::size_t>(left, 100), 'd');
  }
  fs::create_directories(dir);
  WriteAll(dir / kPortSettingsFileName, "COM5\r\n");
  return dir;
}

TEST_F(PortSettingsFileTest, ADirectoryTooLongToHoldIsNeverCutShort) {
  const fs::path base = fs::canonical(dir_);
  ASSERT_LT(base.string().size(), 200u);
  struct Case {
    std::size_t length;
    int port;  // after loading; 9 before
  } cases[] = {{259, 4}, {260, 9}, {400, 9}};
  for (const auto& c : cases) {
    const fs::path deep = DirectoryOfLength(base / "long", c.length);
    ASSERT_EQ(deep.string().size(), c.length);
    fs::current_path(deep);
    Port.Settings.port = 9;
    LoadPortSettings();
    EXPECT_EQ(Port.Settings.port, c.port) << c.length;
    Port.Settings.port = 12;
    SavePortSettings();
    const bool remembered = c.port == 4;
    EXPECT_EQ(ReadAll(deep / kPortSettingsFileName) == "COM5\r\n", !remembered) << c.length;
    // Nothing may land in a directory named by a cut path.
    for (fs::path p = deep.parent_path(); p.string().size() > base.string().size(); p = p.parent_path())
      EXPECT_FALSE(fs::exists(p / kPortSettingsFileName)) << p;
    fs::current_path(dir_);
    fs::remove_all(base / "long");
  }
}
#endif

}  // namespace
}  // namespace pt
