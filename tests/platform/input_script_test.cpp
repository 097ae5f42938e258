// The input file of headless runs: every command, what is skipped, and each kind of
// faulty line reported with its line number before anything runs.
#include <gtest/gtest.h>

#include "platform/headless/input_script.h"

namespace {

// One command as "line frame action x y id", so whole scripts compare in one line.
std::string Describe(const SInputCommand& c) {
  return std::to_string(c.line) + " " + std::to_string(c.frame) + " " + std::to_string(static_cast<int>(c.action)) +
         " " + std::to_string(c.x) + " " + std::to_string(c.y) + " " + std::to_string(c.id);
}

std::vector<std::string> Parse(std::string_view text) {
  const SInputScript script = ParseInputScript(text);
  EXPECT_EQ(script.error, "");
  std::vector<std::string> out;
  for (const SInputCommand& command : script.commands) out.push_back(Describe(command));
  return out;
}

TEST(InputScript, ReadsEveryCommandWithItsArguments) {
  const auto move = std::to_string(static_cast<int>(EInputAction::Move));
  const SInputScript script = ParseInputScript(
      "0 move 10 -20\n"
      "0 ldown\n"
      "1 lup\n"
      "1 rdown\n"
      "2 rup\n"
      "3 menu 32782\n"
      "3 menu-close\n"
      "4 tray left\n"
      "4 tray right\n"
      "5 command -2147483648\n"
      "6 move 2147483647 0\n");
  ASSERT_EQ(script.error, "");
  std::vector<EInputAction> actions;
  for (const SInputCommand& command : script.commands) actions.push_back(command.action);
  EXPECT_EQ(actions, (std::vector<EInputAction>{EInputAction::Move, EInputAction::LeftDown, EInputAction::LeftUp,
                                                EInputAction::RightDown, EInputAction::RightUp,
                                                EInputAction::ChooseMenuItem, EInputAction::CloseMenu,
                                                EInputAction::TrayLeftClick, EInputAction::TrayRightClick,
                                                EInputAction::Command, EInputAction::Move}));
  ASSERT_EQ(script.commands.size(), 11u);
  EXPECT_EQ(Describe(script.commands[0]), "1 0 " + move + " 10 -20 0");
  EXPECT_EQ(script.commands[5].id, 32782);
  EXPECT_EQ(script.commands[9].id, -2147483648);
  EXPECT_EQ(Describe(script.commands[10]), "11 6 " + move + " 2147483647 0 0");
}

TEST(InputScript, SkipsBlankAndCommentLinesAndCountsThemInLineNumbers) {
  const auto left = std::to_string(static_cast<int>(EInputAction::LeftDown));
  EXPECT_EQ(Parse("\xEF\xBB\xBF# a script\r\n"
                  "\r\n"
                  "   \t\n"
                  "  # indented comment\n"
                  "\t7\tldown  \r\n"
                  "7 ldown"),  // the last line needs no line end
            (std::vector<std::string>{"5 7 " + left + " 0 0 0", "6 7 " + left + " 0 0 0"}));
  EXPECT_EQ(Parse(""), std::vector<std::string>{});
  EXPECT_EQ(Parse("# only a comment\n\n"), std::vector<std::string>{});
}

TEST(InputScript, AFaultyLineIsNamedAndNothingIsKept) {
  struct SCase {
    const char* text;
    const char* error;
  };
  const SCase cases[] = {
      {"0 move 1 2\n\n2 jump", "input line 3: unknown command 'jump'"},
      {"0 MOVE 1 2", "input line 1: unknown command 'MOVE'"},
      {"5", "input line 1: a command is missing after the frame"},
      {"x move 1 2", "input line 1: 'x' is not a frame number"},
      {"-1 ldown", "input line 1: frame -1 is negative"},
      {"3 ldown\n2 lup", "input line 2: frame 2 comes after frame 3"},
      {"2147483648 ldown", "input line 1: '2147483648' is out of range"},
      {"0 move 1", "input line 1: 'move' takes 2 arguments, not 1"},
      {"0 move 1 2 3", "input line 1: 'move' takes 2 arguments, not 3"},
      {"0 ldown now", "input line 1: 'ldown' takes 0 arguments, not 1"},
      {"0 menu", "input line 1: 'menu' takes 1 argument, not 0"},
      {"0 menu-close 5", "input line 1: 'menu-close' takes 0 arguments, not 1"},
      {"0 move 1 2 # note", "input line 1: 'move' takes 2 arguments, not 4"},
      {"0 move 1.5 2", "input line 1: '1.5' is not a whole number"},
      {"0 move 1 +2", "input line 1: '+2' is not a whole number"},
      {"0 move 0x10 2", "input line 1: '0x10' is not a whole number"},
      {"0 move 1 -2147483649", "input line 1: '-2147483649' is out of range"},
      {"0 command 99999999999999999999", "input line 1: '99999999999999999999' is out of range"},
      {"0 menu abc", "input line 1: 'abc' is not a command id"},
      {"0 tray middle", "input line 1: 'tray' takes left or right, not 'middle'"},
      {"0 tray", "input line 1: 'tray' takes 1 argument, not 0"},
  };
  for (const SCase& c : cases) {
    const SInputScript script = ParseInputScript(c.text);
    EXPECT_EQ(script.error, c.error) << c.text;
    EXPECT_TRUE(script.commands.empty()) << c.text;
  }
}

}  // namespace
