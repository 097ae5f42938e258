// zelvotta-tool run with scripted input and snapshots: a faulty input file stops the
// tool before anything runs, commands act at their frame, and snapshots that cannot be
// written make the run fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "temp_folder.h"
#include "tool_process.h"

namespace {

struct ToolInputFixture : ::testing::Test {
  CTempFolder work;
  CTempFolder app;

  // The shipped Walker, which shows itself from the first frame.
  ToolInputFixture() {
    app.MakeFolder("Characters");
    std::filesystem::copy(std::filesystem::path(ZV_TEST_DATA_DIR) / ".." / ".." / "characters" / "Walker",
                          app.Native() / "Characters" / "Walker", std::filesystem::copy_options::recursive);
  }

  SToolResult Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"run", "--app-dir", app.NativeString()});
    return ToolProcess(work.Native() / "run", work.Native() / "tool.err").Run(arguments);
  }
  std::string Input(const std::string& text) const {
    work.WriteBytes("input.txt", text);
    return (work.Native() / "input.txt").string();
  }
  std::string Path(const std::string& name) const { return (work.Native() / name).string(); }
  std::vector<std::string> TraceLines() const {
    std::ifstream in(Path("trace.jsonl"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

bool AnyLineHas(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(text) != line.npos; });
}

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const std::string& bytes) {
  auto word = [&](size_t at) {
    return static_cast<int>((static_cast<uint8_t>(bytes[at]) << 24) | (static_cast<uint8_t>(bytes[at + 1]) << 16) |
                            (static_cast<uint8_t>(bytes[at + 2]) << 8) | static_cast<uint8_t>(bytes[at + 3]));
  };
  return bytes.size() < 24 ? std::pair{0, 0} : std::pair{word(16), word(20)};
}

TEST_F(ToolInputFixture, AFaultyInputFileStopsTheToolBeforeTheRunStarts) {
  struct SCase {
    const char* text;
    const char* message;
  };
  const SCase cases[] = {
      {"0 move 1 2\n\n2 jump\n", "zelvotta-tool run: input line 3: unknown command 'jump'\n"},
      {"# drag\n4 ldown\n3 lup\n", "zelvotta-tool run: input line 3: frame 3 comes after frame 4\n"},
      {"0 move 1\n", "zelvotta-tool run: input line 1: 'move' takes 2 arguments, not 1\n"},
  };
  for (const SCase& c : cases) {
    const SToolResult result = Run({"--frames", "5", "--trace", Path("trace.jsonl"), "--input", Input(c.text)});
    EXPECT_EQ(result.exitCode, 2) << c.text;
    EXPECT_EQ(result.standardError, c.message);
    EXPECT_FALSE(std::filesystem::exists(Path("trace.jsonl"))) << c.text;
  }
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--input", Path("missing.txt")},
        {"--realtime", "--input", Input("0 ldown\n")},
        {"--snapshot", "one:" + Path("a.png")},
        {"--seed", "4294967296"}}) {
    const SToolResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments[1];
    EXPECT_TRUE(result.standardError.starts_with("zelvotta-tool run: ")) << result.standardError;
  }
}

TEST_F(ToolInputFixture, CommandsActBeforeTheirFramesWorkAndSnapshotsFollowTheRun) {
  // The tray menu opens before frame 0 and is closed once; the second close finds
  // nothing. The quit command before frame 3 makes that frame the last of 40.
  const SToolResult result = Run({"--frames", "40", "--screen", "64x48", "--seed", "4294967295", "--positions",
                                  "--trace", Path("trace.jsonl"), "--snapshot", "2:" + Path("two.png"),
                                  "--snapshot", "4:" + Path("four.png"), "--input",
                                  Input("0 tray right\n1 menu-close\n2 menu-close\n3 command 32882\n")});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.standardError, "zelvotta-tool run: input line 3 ignored: no pop-up menu is open\n");
  const std::vector<std::string> trace = TraceLines();
  EXPECT_TRUE(AnyLineHas(trace, R"({"frame":0,"event":"menu")"));
  EXPECT_TRUE(AnyLineHas(trace, R"({"frame":3,"event":"position")"));
  EXPECT_FALSE(AnyLineHas(trace, R"({"frame":4,"event":"position")"));
  EXPECT_EQ(PngSize(work.ReadBytes("two.png")), (std::pair{64, 48}));
  EXPECT_FALSE(std::filesystem::exists(Path("four.png")));
}

TEST_F(ToolInputFixture, ASnapshotThatCannotBeWrittenFailsTheRun) {
  const SToolResult result =
      Run({"--frames", "3", "--snapshot", "1:" + Path("no-such-folder/a.png"), "--snapshot", "2:" + Path("b.png")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.standardError, "zelvotta-tool run: cannot write the snapshot '" + Path("no-such-folder/a.png") + "'\n");
  EXPECT_TRUE(std::filesystem::exists(Path("b.png")));
}

}  // namespace
