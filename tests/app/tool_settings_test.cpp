// The settings, the about boxes and the move-range window end to end in zelvotta-tool
// run: chosen from the menus with scripted input, traced, saved in app.cfg and taken up
// again by the next run.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "temp_folder.h"
#include "test_characters.h"
#include "tool_process.h"

namespace {

struct ToolSettingsFixture : ::testing::Test {
  CTempFolder work;
  CTempFolder app;

  // "Still" stands opaque at the bottom-left corner (0, 596 to 4, 600), "Other" invisibly.
  ToolSettingsFixture() {
    WriteStillCharacter(app, "Still");
    app.WriteBytes("Characters/Still/config.ini", "CharaName=Still\nVersion=3.1\nUrl=https://example.org/still\n");
    WriteStandingCharacter(app, "Other");
  }

  SToolResult Run(const std::string& input, const std::string& trace, const std::string& frames = "20") {
    work.WriteBytes("input.txt", input);
    return ToolProcess(work.Native() / "run", work.Native() / "tool.err")
        .Run({"run", "--app-dir", app.NativeString(), "--screen", "800x600", "--seed", "1", "--frames", frames,
              "--input", Path("input.txt"), "--trace", Path(trace)});
  }
  std::string Path(const std::string& name) const { return (work.Native() / name).string(); }
  std::string Saved() const { return app.ReadBytes("Params/app.cfg"); }
  // The trace lines that contain every one of `parts`.
  std::vector<std::string> Lines(const std::string& name, std::initializer_list<std::string> parts) const {
    std::istringstream in(work.ReadBytes(name));
    std::vector<std::string> found;
    for (std::string line; std::getline(in, line);) {
      bool all = true;
      for (const std::string& part : parts) all = all && line.find(part) != std::string::npos;
      if (all) found.push_back(line);
    }
    return found;
  }
};

bool Has(const std::vector<std::string>& lines, size_t index, const std::string& part) {
  return index < lines.size() && lines[index].find(part) != std::string::npos;
}

TEST_F(ToolSettingsFixture, SettingsChosenFromTheMenusAreTracedSavedAndTakenUpByTheNextRun) {
  const SToolResult first = Run(
      "0 move 1 597\n1 rdown\n1 rup\n2 menu 32784\n"  // 50 % from the character's menu
      "3 tray right\n3 menu 32811\n4 tray right\n4 menu 32879\n5 tray right\n5 menu 32812\n"
      "6 tray right\n6 menu 32884\n7 tray right\n",
      "first.jsonl");
  ASSERT_EQ(first.exitCode, 0) << first.standardError;
  EXPECT_EQ(first.standardError, "");
  const std::vector<std::string> settings = Lines("first.jsonl", {R"("event":"setting")"});
  ASSERT_EQ(settings.size(), 4u);
  EXPECT_TRUE(Has(settings, 0, R"("key":"ScaleID","value":32784})"));
  EXPECT_TRUE(Has(settings, 1, R"("key":"WndTopOrBottom","value":1})"));
  EXPECT_TRUE(Has(settings, 2, R"("key":"LowQuality","value":1})"));
  EXPECT_TRUE(Has(settings, 3, R"("key":"UnMouse","value":0})"));
  const std::vector<std::string> last = Lines("first.jsonl", {R"("frame":7,"event":"menu","owner":"")"});
  ASSERT_EQ(last.size(), 1u);
  for (const char* entry : {"\"全体設定/倍率/32784 50% +checked\"", "\"全体設定/32811 常に最前面に表示 +checked\"",
                            "\"全体設定/32879 軽量画質 +checked\"", "\"全体設定/32812 マウス操作不可 +checked\"",
                            "\"全体設定/32884 全サウンド（OFF）\""}) {
    EXPECT_NE(last[0].find(entry), std::string::npos) << entry;
  }
  EXPECT_NE(Saved().find("LowQuality=1\n"), std::string::npos) << Saved();
  EXPECT_NE(Saved().find("ScaleID=32784\nAlphaID=32787\nUnMouse=0\nWndTopOrBottom=1"), std::string::npos) << Saved();

  // The next run starts with all of it: always on top, the mouse disabled, 50 %.
  const SToolResult second = Run("0 tray right\n", "second.jsonl", "2");
  ASSERT_EQ(second.exitCode, 0) << second.standardError;
  const std::vector<std::string> menu = Lines("second.jsonl", {R"("event":"menu")"});
  ASSERT_EQ(menu.size(), 1u);
  for (const char* entry : {"\"全体設定/倍率/32784 50% +checked\"", "\"全体設定/32811 常に最前面に表示 +checked\"",
                            "\"全体設定/32812 マウス操作不可 +checked\""}) {
    EXPECT_NE(menu[0].find(entry), std::string::npos) << entry;
  }
  EXPECT_TRUE(Lines("second.jsonl", {R"("event":"setting")"}).empty());
  EXPECT_NE(Saved().find("WndTopOrBottom=1"), std::string::npos);
}

TEST_F(ToolSettingsFixture, TheAboutBoxesOpenOnceEachAndTheirLinksOpenTheirAddresses) {
  const SToolResult result = Run(
      "0 command 104\n1 command 104\n2 dialog-link\n3 dialog-ok\n4 dialog-ok\n"
      "5 move 1 597\n5 rdown\n5 rup\n6 menu 157\n7 dialog-link\n8 dialog-ok\n",
      "about.jsonl");
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.standardError, "zelvotta-tool run: input line 5 ignored: no dialog is open\n");
  const std::vector<std::string> dialogs = Lines("about.jsonl", {R"("event":"dialog")"});
  ASSERT_EQ(dialogs.size(), 2u);
  // Centred on the move range, here the 800 × 600 desktop.
  EXPECT_TRUE(Has(dialogs, 0, R"("id":103,"title":"Zelvotta について")"));
  EXPECT_TRUE(Has(dialogs, 0, R"("x":242,"y":120,"width":315,"height":360})"));
  EXPECT_TRUE(Has(dialogs, 1, R"("id":157,"title":"Still について","texts":["","Version:","3.1","","Website:","<a href=\"https://example.org/still\">https://example.org/still</a>","","OK"],"x":242,"y":210,"width":315,"height":180})"));
  const std::vector<std::string> urls = Lines("about.jsonl", {R"("event":"open-url")"});
  ASSERT_EQ(urls.size(), 2u);
  EXPECT_TRUE(Has(urls, 0, R"("frame":2,"event":"open-url","url":"https://github.com/zelvotta/zelvotta"})"));
  EXPECT_TRUE(Has(urls, 1, R"("frame":7,"event":"open-url","url":"https://example.org/still"})"));
}

TEST_F(ToolSettingsFixture, TheMoveRangeWindowIsDraggedSizedCancelledAndConfirmed) {
  const SToolResult result = Run(
      "0 command 32881\n1 area-size 100 0 800 600\n2 area-button 3\n3 area-button 1\n"
      // Shown again on the unchanged move range; then the left border drags until the
      // width would be 300, and the window is dragged past the right edge.
      "4 command 32881\n5 area-size 500 0 800 600\n6 area-move 700 0\n7 area-button 0\n"
      "8 area-button 0\n",
      "area.jsonl");
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.standardError, "zelvotta-tool run: input line 9 ignored: the move-range window is not showing\n");
  const std::vector<std::string> shown = Lines("area.jsonl", {R"("event":"dialog","id":"area")"});
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_TRUE(Has(shown, 0, R"("texts":["決定","キャンセル","最大領域","最小領域"],"x":0,"y":0,"width":800,"height":600})"));
  EXPECT_TRUE(Has(shown, 1, R"("x":0,"y":0,"width":800,"height":600})"));
  const std::vector<std::string> areas = Lines("area.jsonl", {R"("event":"area")"});
  ASSERT_EQ(areas.size(), 4u);
  EXPECT_TRUE(Has(areas, 0, R"("frame":1,"event":"area","left":100,"top":0,"right":800,"bottom":600})"));
  EXPECT_TRUE(Has(areas, 1, R"("frame":2,"event":"area","left":290,"top":140,"right":610,"bottom":460})"));
  EXPECT_TRUE(Has(areas, 2, R"("frame":4,"event":"area","left":0,"top":0,"right":800,"bottom":600})"));
  EXPECT_TRUE(Has(areas, 3, R"("frame":5,"event":"area","left":480,"top":0,"right":800,"bottom":600})"));
  const std::vector<std::string> settings = Lines("area.jsonl", {R"("event":"setting")"});
  ASSERT_EQ(settings.size(), 1u);
  EXPECT_TRUE(Has(settings, 0, R"("frame":7,"event":"setting","key":"MoveScopeLeft","value":480})"));
  EXPECT_NE(Saved().find("MoveScopeLeft=480\nMoveScopeTop=0\nMoveScopeRight=800\nMoveScopeBottom=600\n"),
            std::string::npos);
}

TEST_F(ToolSettingsFixture, AFaultyDialogOrMoveRangeLineStopsTheToolBeforeTheRun) {
  const std::pair<const char*, const char*> cases[] = {
      {"0 command 32881\n1 area-button 4\n", "zelvotta-tool run: input line 2: 'area-button' takes 0 to 3, not 4\n"},
      {"0 area-size 1 2 3\n", "zelvotta-tool run: input line 1: 'area-size' takes 4 arguments, not 3\n"},
      {"0 area-move 1 y\n", "zelvotta-tool run: input line 1: 'y' is not a whole number\n"},
      {"0 dialog-link now\n", "zelvotta-tool run: input line 1: 'dialog-link' takes 0 arguments, not 1\n"},
  };
  for (const auto& [input, message] : cases) {
    const SToolResult result = Run(input, "bad.jsonl");
    EXPECT_EQ(result.exitCode, 2) << input;
    EXPECT_EQ(result.standardError, message);
    EXPECT_FALSE(std::filesystem::exists(Path("bad.jsonl"))) << input;
  }
}

}  // namespace
