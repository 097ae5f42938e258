// The input file of headless runs: every command, what is skipped, and each kind of
// faulty line reported with its line number before anything runs.
#include <gtest/gtest.h>

#include "platform/headless/input_script.h"

namespace {

// One command as "line:frame action x y id".
std::string Describe(const SInputCommand& c) {
  return std::to_string(c.line) + ":" + std::to_string(c.frame) + " " + std::to_string(static_cast<int>(c.action)) +
         " " + std::to_string(c.x) + " " + std::to_string(c.y) + " " + std::to_string(c.id);
}

TEST(InputScript, ReadsEveryCommandAndSkipsBlankAndCommentLines) {
  const SInputScript script = ParseInputScript(
      "\xEF\xBB\xBF# a drag\r\n"
      "0 move 10 -20\r\n"
      "\n"
      "  \t# indented comment\n"
      "0\tldown\n"
      "1 lup\n1 rdown\n2 rup\n"
      "3 menu 32782\n3 menu-close\n"
      "4 tray left\n4 tray right\n"
      "5  command  -2147483648  \n"
      "6 move 2147483647 0");  // the last line needs no line end
  ASSERT_EQ(script.error, "");
  std::vector<std::string> described;
  for (const SInputCommand& command : script.commands) described.push_back(Describe(command));
  EXPECT_EQ(described, (std::vector<std::string>{"2:0 0 10 -20 0", "5:0 1 0 0 0", "6:1 2 0 0 0", "7:1 3 0 0 0",
                                                 "8:2 4 0 0 0", "9:3 5 0 0 32782", "10:3 6 0 0 0", "11:4 7 0 0 0",
                                                 "12:4 8 0 0 0", "13:5 9 0 0 -2147483648",
                                                 "14:6 0 2147483647 0 0"}));
  EXPECT_TRUE(ParseInputScript("\n# nothing\n").commands.empty());
}

TEST(InputScript, ReadsTheDialogAndMoveRangeWindowCommands) {
  const SInputScript script = ParseInputScript(
      "0 dialog-ok\n0 dialog-link\n1 area-move -5 20\n1 area-size 10 20 -330 340\n2 area-button 0\n2 area-button 3\n");
  ASSERT_EQ(script.error, "");
  ASSERT_EQ(script.commands.size(), 6u);
  EXPECT_EQ(script.commands[0].action, EInputAction::DialogOk);
  EXPECT_EQ(script.commands[1].action, EInputAction::DialogLink);
  EXPECT_EQ(Describe(script.commands[2]), "3:1 " + std::to_string(static_cast<int>(EInputAction::AreaMove)) + " -5 20 0");
  const SInputCommand& size = script.commands[3];
  EXPECT_EQ(size.action, EInputAction::AreaSize);
  EXPECT_EQ((std::vector<int>{size.x, size.y, size.right, size.bottom}), (std::vector<int>{10, 20, -330, 340}));
  EXPECT_EQ(script.commands[4].action, EInputAction::AreaButton);
  EXPECT_EQ(script.commands[5].id, 3);
}

TEST(InputScript, ReadsTheMachineCommands) {
  const SInputScript script = ParseInputScript("0 cpu 0\n1 cpu 100\n2 clock 2028-02-29 23:59:58\n");
  ASSERT_EQ(script.error, "");
  ASSERT_EQ(script.commands.size(), 3u);
  EXPECT_EQ(script.commands[0].action, EInputAction::CpuUsage);
  EXPECT_EQ(script.commands[1].id, 100);
  const SLocalTime& time = script.commands[2].time;
  EXPECT_EQ(script.commands[2].action, EInputAction::Clock);
  EXPECT_EQ((std::vector<int>{time.year, time.month, time.day, time.hour, time.minute, time.second}),
            (std::vector<int>{2028, 2, 29, 23, 59, 58}));
}

TEST(InputScript, AFaultyLineIsNamedAndNothingIsKept) {
  const std::pair<const char*, const char*> cases[] = {
      {"0 move 1 2\n\n2 jump", "input line 3: unknown command 'jump'"},
      {"5", "input line 1: a command is missing after the frame"},
      {"x ldown", "input line 1: 'x' is not a frame number"},
      {"-1 ldown", "input line 1: frame -1 is negative"},
      {"3 ldown\n2 lup", "input line 2: frame 2 comes after frame 3"},
      {"2147483648 ldown", "input line 1: '2147483648' is out of range"},
      {"0 move 1", "input line 1: 'move' takes 2 arguments, not 1"},
      {"0 ldown now", "input line 1: 'ldown' takes 0 arguments, not 1"},
      {"0 menu", "input line 1: 'menu' takes 1 argument, not 0"},
      {"0 move 1 2 # note", "input line 1: 'move' takes 2 arguments, not 4"},
      {"0 move 1 +2", "input line 1: '+2' is not a whole number"},
      {"0 move 0x10 2", "input line 1: '0x10' is not a whole number"},
      {"0 command -2147483649", "input line 1: '-2147483649' is out of range"},
      {"0 menu abc", "input line 1: 'abc' is not a command id"},
      {"0 tray middle", "input line 1: 'tray' takes left or right, not 'middle'"},
      {"0 dialog-ok 1", "input line 1: 'dialog-ok' takes 0 arguments, not 1"},
      {"0 area-move 5", "input line 1: 'area-move' takes 2 arguments, not 1"},
      {"0 area-size 1 2 3", "input line 1: 'area-size' takes 4 arguments, not 3"},
      {"0 area-size 1 2 3 x", "input line 1: 'x' is not a whole number"},
      {"0 area-button 4", "input line 1: 'area-button' takes 0 to 3, not 4"},
      {"0 area-button -1", "input line 1: 'area-button' takes 0 to 3, not -1"},
      {"0 area-button ok", "input line 1: 'ok' is not a button number"},
      {"0 cpu 101", "input line 1: 'cpu' takes 0 to 100, not 101"},
      {"0 cpu -1", "input line 1: 'cpu' takes 0 to 100, not -1"},
      {"0 cpu 50%", "input line 1: '50%' is not a percentage"},
      {"0 clock 2026-12-24", "input line 1: 'clock' takes 2 arguments, not 1"},
      {"0 clock 2026-12-24 9:00:00", "input line 1: 'clock' takes YYYY-MM-DD HH:MM:SS, not '2026-12-24 9:00:00'"},
      {"0 clock 2026/12/24 09:00:00", "input line 1: 'clock' takes YYYY-MM-DD HH:MM:SS, not '2026/12/24 09:00:00'"},
      {"0 clock 2026-1x-24 09:00:00", "input line 1: 'clock' takes YYYY-MM-DD HH:MM:SS, not '2026-1x-24 09:00:00'"},
      {"0 clock 2026-02-29 09:00:00",
       "input line 1: 'clock' is given a date or time that does not exist: '2026-02-29 09:00:00'"},
      {"0 clock 2026-12-24 24:00:00",
       "input line 1: 'clock' is given a date or time that does not exist: '2026-12-24 24:00:00'"},
  };
  for (const auto& [text, error] : cases) {
    const SInputScript script = ParseInputScript(text);
    EXPECT_EQ(script.error, error) << text;
    EXPECT_TRUE(script.commands.empty()) << text;
  }
}

}  // namespace
