// What character data may name: paths below "Characters" that stay there, and never a
// device, a drive or a place outside; and the bounded, regular-file-only reads every
// outside file goes through.
#include "support/data_path.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "application_folder_scope.h"
#include "support/application_folder.h"
#include "support/file_system.h"
#include "support/utf.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(DataPath, WindowsDeviceNamesInEveryDisguise) {
  for (const char16_t* name : {u"CON", u"con", u"Nul", u"aux", u"PRN", u"COM1", u"com9", u"LPT0", u"lpt3",
                               u"nul.png", u"con.tar.gz", u"NUL ", u"nul. ", u"CONIN$", u"conout$", u"COM\u00B9",
                               u"aux .wav"}) {
    EXPECT_TRUE(IsWindowsDeviceName(name)) << ToUtf8(name);
  }
  for (const char16_t* name : {u"", u"CONSOLE", u"icon", u"con_", u"COM10", u"COM", u"LPT", u"nul2.png",
                               u"x.con", u"auxiliary.wav", u"COMA"}) {
    EXPECT_FALSE(IsWindowsDeviceName(name)) << ToUtf8(name);
  }
}

TEST(DataPath, CharacterDataStaysBelowCharacters) {
  for (const char16_t* path : {u"Characters\\Walker\\Images\\walk.png", u"Characters\\Walker\\Images\\sub\\a.png",
                               u"Characters\\Walker\\Images\\..\\..\\Hopper\\Images\\shared.png",
                               u"Characters/Walker/Sounds/./a.wav", u"Characters\\Walker\\Images\\\\a.png",
                               u"Characters\\shared.png", u"Characters\\Walker\\Images\\",
                               // not character data: the tool's own paths pass
                               u"/tmp/x.png", u"..\\x.png", u"CharactersX\\..\\..\\y"}) {
    EXPECT_TRUE(StaysBelowCharacters(path)) << ToUtf8(path);
  }
  const std::u16string climb = u"Characters\\Walker\\Cursors\\" + [] {
    std::u16string up;
    for (int i = 0; i < 24; ++i) up += u"..\\";
    return up;
  }() + u"dev\\zero";
  for (const std::u16string& path :
       {climb, std::u16string(u"Characters\\Walker\\Images\\..\\..\\..\\Params\\app.cfg"), std::u16string(u"Characters\\.."),
        std::u16string(u"Characters\\Walker\\..\\.."), std::u16string(u"Characters\\Walker\\Images\\C:\\Windows\\win.ini"),
        std::u16string(u"Characters\\Walker\\Images\\c:secret.png"), std::u16string(u"Characters\\Walker\\Images\\a.png:stream"),
        std::u16string(u"Characters\\Walker\\Cursors\\con"), std::u16string(u"Characters\\Walker\\Sounds\\COM1.wav"),
        std::u16string(u"Characters\\Walker\\Images\\...\\x.png"), std::u16string(u"Characters\\Walker\\Images\\.. \\x.png"),
        std::u16string(u"Characters\\Walker\\Images\\a\x01.png"), std::u16string(u"Characters/Walker/../../etc/passwd")}) {
    EXPECT_FALSE(StaysBelowCharacters(path)) << ToUtf8(path);
  }
}

TEST(DataPath, ReadsOnlyRegularFilesWithinTheirKindsLimit) {
  CTempFolder folder;
  folder.WriteBytes("Params/app.cfg", "ScaleID=32778\n");
  folder.MakeFolder("Params/folder.param");
  folder.WriteBytes("Params/big.param", std::string(MaxFileBytes(EFileKind::kState) + 1, 'x'));
  folder.WriteBytes("Params/limit.param", std::string(MaxFileBytes(EFileKind::kState), 'x'));

  EXPECT_EQ(ReadFileBytes(folder.Engine(u"Params\\app.cfg"), EFileKind::kState), "ScaleID=32778\n");
  EXPECT_FALSE(ReadFileBytes(folder.Engine(u"Params\\folder.param"), EFileKind::kState));
  EXPECT_FALSE(ReadFileBytes(folder.Engine(u"Params"), EFileKind::kText));
  EXPECT_FALSE(ReadFileBytes(folder.Engine(u"Params\\big.param"), EFileKind::kState));
  EXPECT_EQ(ReadFileBytes(folder.Engine(u"Params\\big.param"), EFileKind::kText)->size(),
            MaxFileBytes(EFileKind::kState) + 1);
  EXPECT_EQ(ReadFileBytes(folder.Engine(u"Params\\limit.param"), EFileKind::kState)->size(),
            MaxFileBytes(EFileKind::kState));
  EXPECT_LT(MaxFileBytes(EFileKind::kState), MaxFileBytes(EFileKind::kText));
  EXPECT_LT(MaxFileBytes(EFileKind::kText), MaxFileBytes(EFileKind::kMedia));
#ifndef _WIN32
  // A FIFO nobody writes to would block a reader forever; a device never ends.
  ASSERT_EQ(mkfifo((folder.Native() / "Params" / "fifo.param").c_str(), 0600), 0);
  EXPECT_FALSE(ReadFileBytes(folder.Engine(u"Params\\fifo.param"), EFileKind::kState));
  EXPECT_FALSE(ReadFileBytes(u"\\dev\\zero", EFileKind::kMedia));
  EXPECT_FALSE(ReadFileBytes(u"\\dev\\null", EFileKind::kMedia));
#endif
}

// An application folder with two characters and a file outside, for the reads of
// character data.
struct DataFileFixture : ::testing::Test {
  CTempFolder folder;
  CApplicationFolderScope scope{folder.Engine(u"app\\")};

  DataFileFixture() {
    folder.WriteBytes("app/Characters/Walker/Images/walk.png", "walker's");
    folder.WriteBytes("app/Characters/Hopper/Images/shared.png", "shared");
    folder.WriteBytes("app/Params/app.cfg", "settings");
    folder.WriteBytes("outside/secret.txt", "secret");
    folder.MakeFolder("app/Characters/Walker/Cursors");
  }
  bool Link(const std::string& target, const std::string& link) {
    std::error_code error;
    fs::create_symlink(folder.Native() / target, folder.Native() / link, error);
    return !error;
  }
};

TEST_F(DataFileFixture, NamesThatStayInsideReadAndOthersAreRefused) {
  EXPECT_EQ(ReadDataFile(u"Characters\\Walker\\Images\\walk.png", EFileKind::kMedia), "walker's");
  EXPECT_EQ(ReadDataFile(u"Characters\\Walker\\Images\\..\\..\\Hopper\\Images\\shared.png", EFileKind::kMedia),
            "shared");
  EXPECT_EQ(ReadDataFile(u"Characters/Walker/Images/walk.png", EFileKind::kMedia), "walker's");
  EXPECT_FALSE(ReadDataFile(u"Characters\\Walker\\Images\\..\\..\\..\\Params\\app.cfg", EFileKind::kMedia));
  EXPECT_FALSE(ReadDataFile(u"Characters\\Walker\\Images\\..\\..\\..\\..\\outside\\secret.txt", EFileKind::kMedia));
  // An empty name, ".", "..": the folders themselves, never a file.
  EXPECT_FALSE(ReadDataFile(u"Characters\\Walker\\Images\\", EFileKind::kMedia));
  EXPECT_FALSE(ReadDataFile(u"Characters\\Walker\\Cursors\\.", EFileKind::kMedia));
  EXPECT_FALSE(ReadDataFile(u"Characters\\Walker\\Cursors\\..", EFileKind::kMedia));
  EXPECT_FALSE(LocateDataFile(u"Characters\\Walker\\Cursors\\nul"));
  EXPECT_EQ(LocateDataFile(u"Characters\\Walker\\Images\\walk.png"),
            ApplicationFolder() + u"Characters\\Walker\\Images\\walk.png");
}

TEST_F(DataFileFixture, LinksMustNotLeadOutOfTheCharacters) {
  if (!Link("outside/secret.txt", "app/Characters/Walker/Images/link.png") ||
      !Link("app/Characters/Hopper/Images/shared.png", "app/Characters/Walker/Images/sibling.png") ||
      !Link("outside", "app/Characters/Walker/Linked")) {
    GTEST_SKIP() << "no symbolic links here";
  }
  EXPECT_FALSE(ReadDataFile(u"Characters\\Walker\\Images\\link.png", EFileKind::kMedia));
  EXPECT_FALSE(ReadDataFile(u"Characters\\Walker\\Linked\\secret.txt", EFileKind::kMedia));
  EXPECT_EQ(ReadDataFile(u"Characters\\Walker\\Images\\sibling.png", EFileKind::kMedia), "shared");
  EXPECT_TRUE(LiesWithin(folder.Engine(u"app\\Characters\\Walker\\Images\\sibling.png"),
                         folder.Engine(u"app\\Characters")));
  EXPECT_FALSE(LiesWithin(folder.Engine(u"app\\Characters\\Walker\\Images\\link.png"),
                          folder.Engine(u"app\\Characters")));
  EXPECT_FALSE(LiesWithin(folder.Engine(u"app\\Characters\\missing.png"), folder.Engine(u"app\\Characters")));
  // Paths that are not character data (the tool's own) are read wherever they are.
  EXPECT_EQ(ReadDataFile(folder.Engine(u"outside\\secret.txt"), EFileKind::kText), "secret");
}

}  // namespace
