// The census of titled windows: in this process, across live processes, and after a
// process was killed without cleaning up.
#include "platform/headless/window_registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/headless/headless_platform.h"
#include "probe_process.h"
#include "temp_folder.h"

namespace {

constexpr char16_t kMain[] = u"Zelvotta_Main_Window";
constexpr char16_t kCharacter[] = u"Zelvotta_Character_Window";

size_t FilesIn(const std::string& dir) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++count;
  return count;
}

TEST(WindowRegistry, CountsExactTitlesOverEveryRegistry) {
  CTempFolder dir;
  CWindowRegistry mine(dir.NativeString());
  CWindowRegistry other(dir.NativeString());  // stands for another process
  const int first = mine.Register(kCharacter);
  mine.Register(kMain);
  other.Register(kCharacter);
  other.Register(u"zelvotta_character_window");
  other.Register(u"Zelvotta_Character_Window ");

  EXPECT_EQ(mine.CountTitled(kCharacter), 2);
  EXPECT_EQ(other.CountTitled(kMain), 1);
  EXPECT_EQ(mine.CountTitled(u""), 0);

  mine.Unregister(first);
  mine.Unregister(first);  // a second time changes nothing
  EXPECT_EQ(other.CountTitled(kCharacter), 1);
}

TEST(WindowRegistry, TitlesWithLineBreaksAndBackslashesStayWhole) {
  CTempFolder dir;
  CWindowRegistry mine(dir.NativeString());
  CWindowRegistry other(dir.NativeString());
  other.Register(u"a\nb");
  other.Register(u"c\\nd");
  other.Register(u"\u732B\r");
  struct {
    std::u16string title;
    int expected;
  } cases[] = {{u"a\nb", 1}, {u"a", 0}, {u"b", 0}, {u"c\\nd", 1}, {u"c\nd", 0}, {u"\u732B\r", 1}};
  for (const auto& c : cases) EXPECT_EQ(mine.CountTitled(c.title), c.expected);
}

TEST(WindowRegistry, StaleRegistryIsDeletedAndIgnored) {
  CTempFolder dir;
  const std::string stem = dir.NativeString() + "/99999-deadbeef";
  std::ofstream(stem + ".lock").flush();
  std::ofstream(stem + ".titles") << "Zelvotta_Main_Window\n";
  std::ofstream(stem + ".titles.tmp") << "half";
  CWindowRegistry mine(dir.NativeString());
  EXPECT_EQ(mine.CountTitled(kMain), 0);
  EXPECT_EQ(FilesIn(dir.NativeString()), 1u);  // only our own lock file is left
}

TEST(WindowRegistry, DestroyedRegistryLeavesNoFiles) {
  CTempFolder dir;
  {
    CWindowRegistry registry(dir.NativeString());
    registry.Register(kMain);
    EXPECT_EQ(FilesIn(dir.NativeString()), 2u);
  }
  EXPECT_EQ(FilesIn(dir.NativeString()), 0u);
}

TEST(WindowCensus, MainWindowIsCountedUntilDestroyed) {
  CTempFolder dir;
  SHeadlessOptions options;
  options.runtimeDir = dir.NativeString();
  CHeadlessPlatform platform(options);
  struct : IMainWindowHandler {
    void OnCreate(IMainWindow&) override {}
    void OnDestroy() override {}
    void OnTimer(int) override {}
    void OnAppMessage(uint32_t, intptr_t) override {}
    void OnCommand(int) override {}
  } handler;
  IMainWindow* window = platform.Ui().CreateMainWindow({kMain, false}, handler);
  platform.Ui().CreateMainWindow({u"", false}, handler);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(platform.Process().CountWindowsTitled(kMain), 1);
  window->Destroy();
  EXPECT_EQ(platform.Process().CountWindowsTitled(kMain), 0);
}

TEST(WindowCensus, SeesAnotherProcessUntilItEndsOrIsKilled) {
  CTempFolder dir;
  SHeadlessOptions options;
  options.runtimeDir = dir.NativeString();
  CHeadlessPlatform platform(options);
  IProcessServices& process = platform.Process();
  const std::vector<std::string> args{dir.NativeString(), "--window", "Zelvotta_Main_Window", "--window",
                                      "Zelvotta_Character_Window", "--window",
                                      "Zelvotta_Character_Window"};
  {
    CProbeProcess ending(args);
    ASSERT_TRUE(ending.Started());
    EXPECT_EQ(process.CountWindowsTitled(kMain), 1);
    EXPECT_EQ(process.CountWindowsTitled(kCharacter), 2);
    EXPECT_EQ(ending.Finish(), 0);
    EXPECT_EQ(process.CountWindowsTitled(kCharacter), 0);
  }
  CProbeProcess killed(args);
  ASSERT_TRUE(killed.Started());
  EXPECT_EQ(process.CountWindowsTitled(kCharacter), 2);
  killed.Kill();
  const std::string windows = dir.NativeString() + "/windows";
  EXPECT_EQ(FilesIn(windows), 3u);  // the killed probe's pair and our own lock file
  EXPECT_EQ(process.CountWindowsTitled(kCharacter), 0);
  EXPECT_EQ(FilesIn(windows), 1u);
}

}  // namespace
