#include "app/data_layout.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace {

// A prefix as the package installs it: <prefix>/bin with <prefix>/share/zelvotta.
struct DataLayoutFixture : ::testing::Test {
  CTempFolder prefix;
  const std::u16string bin = prefix.Engine(u"bin\\");
  const std::u16string user = prefix.Engine(u"home\\.local\\share\\zelvotta\\");
  static constexpr std::u16string_view kInstalledData = u"..\\share\\zelvotta";

  DataLayoutFixture() {
    prefix.MakeFolder("bin");
    prefix.MakeFolder("share/zelvotta/Characters/Walker");
  }
};

TEST_F(DataLayoutFixture, InstalledTheUsersCharactersComeFirstAndParamsAreTheUsers) {
  const SDataLayout layout = ChooseDataLayout(bin, kInstalledData, user);
  EXPECT_TRUE(layout.installed);
  EXPECT_EQ(layout.characterRoots,
            (std::vector<std::u16string>{user + u"Characters\\", prefix.Engine(u"share\\zelvotta\\Characters\\")}));
  EXPECT_EQ(layout.paramsFolder, user + u"Params\\");

  // Without a folder of the user's own, only the installed characters, and Params beside
  // the program as ever.
  const SDataLayout noUser = ChooseDataLayout(bin, kInstalledData, u"");
  EXPECT_TRUE(noUser.installed);
  EXPECT_EQ(noUser.characterRoots, (std::vector<std::u16string>{prefix.Engine(u"share\\zelvotta\\Characters\\")}));
  EXPECT_EQ(noUser.paramsFolder, bin + u"Params\\");
}

TEST_F(DataLayoutFixture, CharactersBesideTheProgramWinOverAnInstalledLayout) {
  prefix.MakeFolder("bin/characters");  // in any letter case, as the file layer finds it
  const SDataLayout layout = ChooseDataLayout(bin, kInstalledData, user);
  EXPECT_FALSE(layout.installed);
  EXPECT_EQ(layout.characterRoots, (std::vector<std::u16string>{bin + u"Characters\\"}));
  EXPECT_EQ(layout.paramsFolder, bin + u"Params\\");
}

TEST_F(DataLayoutFixture, WithoutInstalledCharactersOrAnInstalledPathTheDataIsBesideTheProgram) {
  // A build that is never installed (Windows, the tools).
  EXPECT_FALSE(ChooseDataLayout(bin, u"", user).installed);
  // An installed data folder without Characters.
  EXPECT_FALSE(ChooseDataLayout(bin, u"..\\share\\other", user).installed);
  const SDataLayout layout = ChooseDataLayout(bin, u"..\\share\\other", user);
  EXPECT_EQ(layout.characterRoots, (std::vector<std::u16string>{bin + u"Characters\\"}));
  EXPECT_EQ(layout.paramsFolder, bin + u"Params\\");
}

TEST(UserDataFolder, FollowsTheXdgRules) {
  EXPECT_EQ(UserDataFolder("/data/u", "/home/u"), u"\\data\\u\\zelvotta\\");
  EXPECT_EQ(UserDataFolder("/data/u/", "/home/u"), u"\\data\\u\\zelvotta\\");
  // Unset, empty or relative: the default under HOME.
  EXPECT_EQ(UserDataFolder(nullptr, "/home/u"), u"\\home\\u\\.local\\share\\zelvotta\\");
  EXPECT_EQ(UserDataFolder("", "/home/u/"), u"\\home\\u\\.local\\share\\zelvotta\\");
  EXPECT_EQ(UserDataFolder("data", "/home/u"), u"\\home\\u\\.local\\share\\zelvotta\\");
  // Nothing to go by: no user folder rather than one relative to wherever the program
  // was started.
  EXPECT_EQ(UserDataFolder(nullptr, nullptr), u"");
  EXPECT_EQ(UserDataFolder("", "home"), u"");
}

}  // namespace
