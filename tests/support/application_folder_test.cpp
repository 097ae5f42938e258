#include "support/application_folder.h"

#include <gtest/gtest.h>

#include "application_folder_scope.h"
#include "support/file_system.h"
#include "temp_folder.h"

namespace {

// A user's folder and an installed one, both holding characters, and the application
// folder, which holds none.
struct ApplicationPathFixture : ::testing::Test {
  CTempFolder folder;
  CApplicationFolderScope scope{folder.Engine(u"bin\\")};
  const std::u16string user = folder.Engine(u"user\\Characters\\");
  const std::u16string installed = folder.Engine(u"share\\Characters\\");

  ApplicationPathFixture() {
    folder.MakeFolder("bin");
    folder.WriteBytes("user/Characters/Hopper/config.ini", "mine");
    folder.WriteBytes("share/Characters/Hopper/config.ini", "shipped");
    folder.WriteBytes("share/Characters/Walker/config.ini", "shipped");
    folder.MakeFolder("share/Characters/Shy");
    folder.WriteBytes("user/Characters/Shy", "a file, not a character folder");
    SetCharacterRoots({user, installed});
  }
};

TEST_F(ApplicationPathFixture, ACharacterComesFromTheFirstRootThatHasItsFolder) {
  EXPECT_EQ(ApplicationPath(u"Characters\\Hopper\\config.ini"), user + u"Hopper\\config.ini");
  EXPECT_EQ(ReadFileBytes(ApplicationPath(u"Characters\\Hopper\\config.ini"), EFileKind::kText), "mine");
  EXPECT_EQ(ApplicationPath(u"Characters\\Walker\\Images\\walk.png"), installed + u"Walker\\Images\\walk.png");
  EXPECT_EQ(ApplicationPath(u"Characters\\Walker\\Scripts"), installed + u"Walker\\Scripts");
  // Only a folder is a character: a file of that name in the user's root is passed over.
  EXPECT_EQ(ApplicationPath(u"Characters\\Shy\\config.ini"), installed + u"Shy\\config.ini");
}

TEST_F(ApplicationPathFixture, EverythingElseStaysInTheApplicationFolder) {
  const std::u16string app = ApplicationFolder();
  EXPECT_EQ(ApplicationPath(u"Characters\\Nobody\\config.ini"), app + u"Characters\\Nobody\\config.ini");
  EXPECT_EQ(ApplicationPath(u"Params\\app.cfg"), app + u"Params\\app.cfg");
  EXPECT_EQ(ApplicationPath(u"Characters\\..\\Params\\app.cfg"), app + u"Characters\\..\\Params\\app.cfg");
  EXPECT_EQ(ApplicationPath(u"Characters\\"), app + u"Characters\\");
  SetCharacterRoots({});
  EXPECT_EQ(ApplicationPath(u"Characters\\Hopper\\config.ini"), app + u"Characters\\Hopper\\config.ini");
}

TEST_F(ApplicationPathFixture, TheNameMatchesAFolderInAnyLetterCase) {
  if (std::filesystem::path::preferred_separator == '\\') GTEST_SKIP() << "the system ignores case here";
  const std::u16string resolved = ApplicationPath(u"Characters\\HOPPER\\config.ini");
  EXPECT_EQ(resolved, user + u"HOPPER\\config.ini");
  EXPECT_EQ(ReadFileBytes(resolved, EFileKind::kText), "mine");
}

TEST(ParamsFolder, IsBesideTheProgramUntilSet) {
  CApplicationFolderScope scope(u"\\opt\\zelvotta\\");
  EXPECT_EQ(ParamsFolder(), u"\\opt\\zelvotta\\Params\\");
  SetParamsFolder(u"\\home\\u\\.local\\share\\zelvotta\\Params\\");
  EXPECT_EQ(ParamsFolder(), u"\\home\\u\\.local\\share\\zelvotta\\Params\\");
  SetParamsFolder({});
  EXPECT_EQ(ParamsFolder(), u"\\opt\\zelvotta\\Params\\");
}

}  // namespace
