// The version and copyright labels read from the test program's own version record, which is
// the program's record linked in.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <string>

#include "app/main_dialog.h"
#include "version.h"

namespace pt {
namespace {

TEST(ReadVersionInfo, FillsTheFieldsFromTheOwnVersionRecord) {
  MainDialog = MainDialogState{};
  ReadVersionInfo();
  const std::string expectedVersion = std::to_string(PT_RC_VERSION_MAJOR) + "," + std::to_string(PT_RC_VERSION_MINOR) +
                                      "," + std::to_string(PT_RC_VERSION_PATCH) + "," +
                                      std::to_string(PT_RC_VERSION_TWEAK);
  EXPECT_EQ(std::string(MainDialog.ProductVersionText), expectedVersion);
  EXPECT_STREQ(MainDialog.CopyrightText, PT_COPYRIGHT_TEXT);
  // The others in key order without the two shown: Comments (absent), CompanyName,
  // FileDescription, Fileversion, InternalName, OriginalFilename, ProductName.
  const char* others[] = {"", "paddytherm developers", "Paddy water-temperature logger companion",
                          expectedVersion.c_str(), "paddytherm", "paddytherm.exe", "paddytherm"};
  for (int i = 0; i < 7; ++i) EXPECT_STREQ(MainDialog.OtherVersionFields[i], others[i]) << i;
  MainDialog = MainDialogState{};
}

}  // namespace
}  // namespace pt
#endif
