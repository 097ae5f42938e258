// The shipped characters run end to end in zelvotta-tool run: the same input gives the
// same trace and pictures, a character can be dragged and dropped with scripted input,
// hidden from its menu, and the program ends after every character played its exit.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/geometry.h"
#include "temp_folder.h"
#include "tool_process.h"

namespace {

struct ToolCharacterFixture : ::testing::Test {
  CTempFolder work;
  CTempFolder app;

  ToolCharacterFixture() {
    std::filesystem::copy(std::filesystem::path(ZV_TEST_DATA_DIR) / ".." / ".." / "characters",
                          app.Native() / "Characters", std::filesystem::copy_options::recursive);
  }

  // The characters react to the machine's load and the time of day: every run fixes
  // both, so what it shows never depends on when and where the test runs.
  static constexpr char kCalmMachine[] = "0 cpu 10\n0 clock 2026-06-01 09:30:10\n";

  SToolResult Run(std::vector<std::string> arguments) {
    if (std::find(arguments.begin(), arguments.end(), "--input") == arguments.end()) {
      arguments.insert(arguments.end(), {"--input", Input("")});
    }
    arguments.insert(arguments.begin(), {"run", "--app-dir", app.NativeString(), "--screen", "800x600", "--seed", "4"});
    return ToolProcess(work.Native() / "run", work.Native() / "tool.err").Run(arguments);
  }
  std::string Input(const std::string& text) const {
    work.WriteBytes("input.txt", kCalmMachine + text);
    return Path("input.txt");
  }
  std::string Path(const std::string& name) const { return (work.Native() / name).string(); }
  std::string Read(const std::string& name) const { return work.ReadBytes(name); }
  // The trace lines that contain every one of `parts`.
  std::vector<std::string> Lines(const std::string& name, std::initializer_list<std::string> parts) const {
    std::istringstream in(Read(name));
    std::vector<std::string> found;
    for (std::string line; std::getline(in, line);) {
      bool all = true;
      for (const std::string& part : parts) all = all && line.find(part) != std::string::npos;
      if (all) found.push_back(line);
    }
    return found;
  }
  // Where Hopper stands after 40 frames of a run without input: a point on its body
  // for frame 40 (it walks 3 pixels a frame to the left).
  SPoint HopperAtFrame40() {
    EXPECT_EQ(Run({"--frames", "40", "--positions", "--trace", Path("where.jsonl")}).exitCode, 0);
    std::filesystem::remove_all(app.Native() / "Params");
    const std::vector<std::string> at = Lines("where.jsonl", {"\"frame\":39,", "\"chara\":\"Hopper\""});
    if (at.size() != 1) return {};
    return {std::stoi(at[0].substr(at[0].find("\"x\":") + 4)) + 80 - 3, std::stoi(at[0].substr(at[0].find("\"y\":") + 4)) + 72};
  }
};

TEST_F(ToolCharacterFixture, TheSameInputAndSeedGiveTheSameTraceAndPictures) {
  const std::string input = Input("5 move 400 300\n6 ldown\n8 move 300 200\n12 lup\n40 rdown\n41 rup\n45 menu-close\n");
  for (const char* run : {"a", "b"}) {
    const SToolResult result = Run({"--frames", "120", "--input", input, "--positions", "--trace",
                                    Path(std::string(run) + ".jsonl"), "--snapshot",
                                    "60:" + Path(std::string(run) + ".png"), "--snapshot",
                                    "119:" + Path(std::string(run) + "-end.png")});
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    std::filesystem::remove_all(app.Native() / "Params");  // each run starts from nothing saved
  }
  EXPECT_FALSE(Read("a.jsonl").empty());
  EXPECT_EQ(Read("a.jsonl"), Read("b.jsonl"));
  EXPECT_EQ(Read("a.png"), Read("b.png"));
  EXPECT_EQ(Read("a-end.png"), Read("b-end.png"));
  EXPECT_EQ(Lines("a.jsonl", {"\"event\":\"position\"", "\"chara\":\"Hopper\""}).size(), 120u);
}

TEST_F(ToolCharacterFixture, HopperIsPickedUpCarriedAndDroppedOnTheShelfBelowTheCursor) {
  const SPoint at = HopperAtFrame40();
  ASSERT_NE(at.x, 0);
  std::ostringstream input;
  input << "40 move " << at.x << ' ' << at.y << "\n40 ldown\n45 move 200 500\n50 lup\n";
  const SToolResult result = Run({"--frames", "60", "--input", Input(input.str()), "--positions", "--trace",
                                  Path("drag.jsonl")});
  ASSERT_EQ(result.exitCode, 0) << result.standardError;
  EXPECT_EQ(Lines("drag.jsonl", {"\"event\":\"function\"", "\"function\":\"held\"", "\"slot\":10"}).size(), 1u);
  EXPECT_EQ(Lines("drag.jsonl", {"\"event\":\"function\"", "\"function\":\"landed\""}).size(), 1u);
  // Dropped with the cursor at y 500 of a 600-high range of 240-high shelves: the
  // bottom shelf (its feet at 600, its window 128 high), and where the cursor let go
  // horizontally.
  const std::vector<std::string> after = Lines("drag.jsonl", {"\"frame\":55,", "\"chara\":\"Hopper\""});
  ASSERT_EQ(after.size(), 1u);
  EXPECT_NE(after[0].find("\"y\":472"), std::string::npos) << after[0];
  EXPECT_NE(after[0].find("\"line\":2"), std::string::npos) << after[0];
}

TEST_F(ToolCharacterFixture, TheMenuHidesACharacterAndTheExitEndsTheProgram) {
  const SPoint at = HopperAtFrame40();
  ASSERT_NE(at.x, 0);
  std::ostringstream input;
  input << "40 move " << at.x << ' ' << at.y << "\n40 rdown\n41 rup\n42 menu 32816\n60 command 32772\n";
  const SToolResult result = Run({"--input", Input(input.str()), "--trace", Path("menu.jsonl")});
  ASSERT_EQ(result.exitCode, 0) << result.standardError;
  const std::vector<std::string> menu = Lines("menu.jsonl", {"\"event\":\"menu\"", "\"owner\":\"Hopper\""});
  ASSERT_EQ(menu.size(), 1u);
  EXPECT_NE(menu[0].find("\"32816 非表示\""), std::string::npos);
  EXPECT_NE(menu[0].find("\"全体設定/倍率/32782 100% +checked\""), std::string::npos);
  EXPECT_EQ(Lines("menu.jsonl", {"\"event\":\"hide\"", "\"chara\":\"Hopper\""}).size(), 1u);
  // Hidden, Hopper is finished at once when the program ends; Walker has no exit
  // function either; so the program quits by itself.
  EXPECT_EQ(Lines("menu.jsonl", {"\"event\":\"finished\""}).size(), 2u);
  EXPECT_EQ(Lines("menu.jsonl", {"\"event\":\"quit\""}).size(), 1u);
  // The hidden mark is what the next run starts with.
  EXPECT_FALSE(work.ReadBytes("menu.jsonl").empty());
  EXPECT_TRUE(std::filesystem::exists(app.Native() / "Params" / "Hopper.param"));
}

}  // namespace
