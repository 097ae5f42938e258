#include <gtest/gtest.h>

#include <filesystem>

#include "app/discovery.h"
#include "support/file_system.h"
#include "temp_folder.h"

namespace {

std::u16string ApplicationFolder(const TempFolder& folder) { return FromNativePath(folder.Path()) + u"\\"; }

TEST(Discovery, FailsWithoutAUsableCharacterFolder) {
  TempFolder noCharactersFolder;
  EXPECT_FALSE(DiscoverCharacters(ApplicationFolder(noCharactersFolder)).found);

  TempFolder empty;
  empty.MakeFolder("Characters");
  EXPECT_FALSE(DiscoverCharacters(ApplicationFolder(empty)).found);

  TempFolder onlyFiles;
  onlyFiles.WriteFile("Characters/readme.txt", "x");
  onlyFiles.WriteFile("Characters/Alice", "a file named like a character");
  EXPECT_FALSE(DiscoverCharacters(ApplicationFolder(onlyFiles)).found);

  TempFolder onlyUnderscored;
  onlyUnderscored.MakeFolder("Characters/_template");
  onlyUnderscored.MakeFolder("Characters/_old");
  const SDiscovery none = DiscoverCharacters(ApplicationFolder(onlyUnderscored));
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.count, 0);
}

TEST(Discovery, KeepsFoldersInListingOrderAndSkipsTheRest) {
  TempFolder app;
  app.MakeFolder("Characters/Bob");
  app.MakeFolder("Characters/_hidden");
  app.MakeFolder("Characters/alice");
  app.MakeFolder("Characters/Alice");  // differs only in case: a different name
  app.WriteFile("Characters/notes.txt");

  std::vector<std::u16string> expected;
  for (const auto& entry : std::filesystem::directory_iterator(app.Path() / "Characters")) {
    const std::u16string name = FromNativePath(entry.path().filename());
    if (entry.is_directory() && name[0] != u'_') expected.push_back(name);
  }

  const SDiscovery found = DiscoverCharacters(ApplicationFolder(app));
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.names, expected);
  EXPECT_EQ(found.count, 3);
}

TEST(Discovery, UsesOnlyTheFirstFifteenButKeepsEveryName) {
  TempFolder app;
  for (int i = 0; i < 20; ++i) app.MakeFolder("Characters/chara" + std::to_string(i));
  std::vector<std::u16string> listing;
  for (const auto& entry : std::filesystem::directory_iterator(app.Path() / "Characters")) {
    listing.push_back(FromNativePath(entry.path().filename()));
  }

  const SDiscovery found = DiscoverCharacters(ApplicationFolder(app));
  EXPECT_EQ(found.count, 15);
  EXPECT_EQ(found.names, listing);
}

}  // namespace
