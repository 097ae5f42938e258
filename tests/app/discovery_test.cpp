#include <gtest/gtest.h>

#include "app/discovery.h"
#include "support/file_system.h"
#include "temp_folder.h"

namespace {

std::u16string ApplicationFolder(const CTempFolder& folder) { return FromNativePath(folder.Native()) + u"\\"; }

TEST(Discovery, FailsWithoutAUsableCharacterFolder) {
  CTempFolder noCharactersFolder;
  EXPECT_FALSE(DiscoverCharacters(ApplicationFolder(noCharactersFolder)).found);

  CTempFolder empty;
  empty.MakeFolder("Characters");
  EXPECT_FALSE(DiscoverCharacters(ApplicationFolder(empty)).found);

  CTempFolder onlyFiles;
  onlyFiles.WriteBytes("Characters/readme.txt", "x");
  onlyFiles.WriteBytes("Characters/Alice", "a file named like a character");
  EXPECT_FALSE(DiscoverCharacters(ApplicationFolder(onlyFiles)).found);

  CTempFolder onlyUnderscored;
  onlyUnderscored.MakeFolder("Characters/_template");
  onlyUnderscored.MakeFolder("Characters/_old");
  const SDiscovery none = DiscoverCharacters(ApplicationFolder(onlyUnderscored));
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.count, 0);
}

TEST(Discovery, KeepsFoldersInListingOrderAndSkipsTheRest) {
  CTempFolder app;
  app.MakeFolder("Characters/Bob");
  app.MakeFolder("Characters/_hidden");
  app.MakeFolder("Characters/alice");
#ifndef _WIN32
  app.MakeFolder("Characters/Alice");  // differs only in case: a different name here
#endif
  app.WriteBytes("Characters/notes.txt", "");

  // Listed as a Windows file system lists them, whatever the order on disk. (Windows
  // itself keeps names that differ only in case as one folder.)
  const SDiscovery found = DiscoverCharacters(ApplicationFolder(app));
  EXPECT_TRUE(found.found);
#ifdef _WIN32
  EXPECT_EQ(found.names, (std::vector<std::u16string>{u"alice", u"Bob"}));
  EXPECT_EQ(found.count, 2);
#else
  EXPECT_EQ(found.names, (std::vector<std::u16string>{u"Alice", u"alice", u"Bob"}));
  EXPECT_EQ(found.count, 3);
#endif
}

TEST(Discovery, UsesOnlyTheFirstFifteenButKeepsEveryName) {
  CTempFolder app;
  for (int i = 0; i < 20; ++i) app.MakeFolder("Characters/chara" + std::to_string(i));
  const SDiscovery found = DiscoverCharacters(ApplicationFolder(app));
  EXPECT_EQ(found.count, 15);
  ASSERT_EQ(found.names.size(), 20u);
  // chara0, chara1, chara10 … chara19, chara2, …: the fifteenth is chara4.
  EXPECT_EQ(found.names[1], u"chara1");
  EXPECT_EQ(found.names[2], u"chara10");
  EXPECT_EQ(found.names[14], u"chara4");
}

TEST(Discovery, OverSeveralRootsTheFirstRootsFolderWinsAndTheOrderIsOneListing) {
  CTempFolder data;
  data.MakeFolder("user/Hopper");
  data.MakeFolder("user/zed");
  data.MakeFolder("user/_draft");
  data.MakeFolder("user/walker");  // the user's copy of the installed Walker
  data.MakeFolder("installed/Hopper");
  data.MakeFolder("installed/Walker");
  data.MakeFolder("installed/Amy");
  const std::vector<std::u16string> roots = {data.Engine(u"user\\"), data.Engine(u"missing\\"),
                                             data.Engine(u"installed\\")};
  const SDiscovery found = DiscoverCharactersIn(roots);
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.names, (std::vector<std::u16string>{u"Amy", u"Hopper", u"walker", u"zed"}));
  EXPECT_EQ(found.count, 4);
}

TEST(Discovery, TheLimitCountsTheCharactersOfEveryRoot) {
  CTempFolder data;
  for (int i = 0; i < 10; ++i) data.MakeFolder("user/u" + std::to_string(i));
  for (int i = 0; i < 10; ++i) data.MakeFolder("installed/i" + std::to_string(i));
  const SDiscovery found = DiscoverCharactersIn({data.Engine(u"user\\"), data.Engine(u"installed\\")});
  ASSERT_EQ(found.names.size(), 20u);
  EXPECT_EQ(found.count, 15);
  // i0 … i9 come before u0 …: the fifteenth is u4, whichever root it is in.
  EXPECT_EQ(found.names[14], u"u4");
}

}  // namespace
