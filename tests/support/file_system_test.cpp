#include "support/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/string_list.h"
#include "support/utf.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(FileSystem, MissingNamesMatchCaseInsensitively) {
  if (fs::path::preferred_separator == '\\') GTEST_SKIP() << "the system ignores case here";
  CTempFolder folder;
  folder.WriteBytes("Characters/Hana/Images/Walk01.PNG", "");
  folder.WriteBytes("Characters/Hana/a.txt", "");
  folder.WriteBytes("Characters/Hana/A.txt", "");
  const struct {
    std::u16string relative;
    std::string expected;  // relative to the folder
  } cases[] = {
      {u"characters\\HANA\\images\\walk01.png", "Characters/Hana/Images/Walk01.PNG"},
      {u"CHARACTERS\\hana\\", "Characters/Hana/"},
      {u"characters\\hana\\Sounds\\new.wav", "Characters/Hana/Sounds/new.wav"},  // kept as written
      {u"Characters\\Hana\\A.txt", "Characters/Hana/A.txt"},                     // exact name wins
      {u"Characters\\Hana\\A.TXT", "Characters/Hana/A.txt"},                     // else the smallest
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToNativePath(folder.Engine(c.relative)), folder.Native() / c.expected) << ToUtf8(c.relative);
  }
  EXPECT_EQ(FromNativePath(fs::path(ToUtf8(u"/tmp/\u30ad/"))), u"\\tmp\\\u30ad\\");
}

TEST(FileSystem, ListDirectoryAndListFiles) {
  CTempFolder folder;
  folder.WriteBytes("root.txt", "");
  folder.WriteBytes("zz.txt", "");
  folder.WriteBytes("sub/inner.txt", "");
  folder.WriteBytes("sub/deeper/deep.txt", "");
  std::error_code noLinks;
  fs::create_directory_symlink(folder.Native(), folder.Native() / "sub" / "loop", noLinks);

  auto entries = ListDirectory(folder.Engine());
  ASSERT_TRUE(entries);
  std::vector<std::pair<std::u16string, bool>> names;
  for (const SDirEntry& entry : *entries) names.emplace_back(entry.name, entry.isDirectory);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::pair<std::u16string, bool>>{{u"root.txt", false}, {u"sub", true}, {u"zz.txt", false}}));
  EXPECT_FALSE(ListDirectory(folder.Engine(u"missing")));

  // A folder's files in listing order, then its sub-folders' contents; linked folders
  // are not walked, so the loop back to the root adds nothing.
  CStringList files;
  ListFiles(folder.Engine(), files);
  const std::u16string base = folder.Engine();
  ASSERT_EQ(files.Count(), 4);
  std::vector<std::u16string> own = {files.At(0), files.At(1)};
  std::sort(own.begin(), own.end());
  EXPECT_EQ(own, (std::vector<std::u16string>{base + u"\\root.txt", base + u"\\zz.txt"}));
  EXPECT_EQ(files.At(2), base + u"\\sub\\inner.txt");
  EXPECT_EQ(files.At(3), base + u"\\sub\\deeper\\deep.txt");
}

TEST(FileSystem, AtomicWriteReplacesAndLeavesNoTemporaryFile) {
  CTempFolder folder;
  folder.WriteBytes("Params/app.cfg", "old");
  EXPECT_TRUE(WriteFileAtomically(folder.Engine(u"params\\APP.cfg"), std::string("new\0", 4)));
  EXPECT_EQ(ReadFileBytes(folder.Engine(u"Params\\app.cfg"), EFileKind::kState), std::string("new\0", 4));
  EXPECT_FALSE(WriteFileAtomically(folder.Engine(u"no-folder\\x.param"), "x"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Native() / "Params"), fs::directory_iterator()), 1);
  EXPECT_FALSE(ReadFileBytes(folder.Engine(u"Params\\none"), EFileKind::kState));
}

}  // namespace
