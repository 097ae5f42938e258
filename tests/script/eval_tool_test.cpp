// zelvotta-tool eval end to end: its output format is what authors and scripts rely on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace {

// Runs the tool with `arguments`, feeding `input` on standard input; returns its output.
std::string RunEval(std::vector<std::string> arguments, const std::string& input, int* exitCode = nullptr) {
  arguments.insert(arguments.begin(), "eval");
  const SChildResult run = RunChild({.program = ZV_TOOL_PATH, .arguments = arguments, .input = input});
  EXPECT_TRUE(run.failure.empty()) << run.failure;
  if (exitCode) *exitCode = run.exitCode;
  return ChildText(run.output);
}

TEST(EvalTool, PrintsOneLinePerExpression) {
  int exitCode = -1;
  const std::string output = RunEval({"--time", "2024-03-01T08:09:10"},
                                     "1 + 2 * 3\n"
                                     "\"a\\nb\" + \"\\\\\" + \"\\t\"\n"
                                     "1 < 2\n"
                                     "\n"
                                     "= 5\n"
                                     "7 / 0\n"
                                     "\"open\n"
                                     "DayOfWeek(\"en\") + DayOfYear() + Hour()\n"
                                     "(1 + 2\r\n",
                                     &exitCode);
  EXPECT_EQ(output,
            "int 7\n"
            "string a\\nb\\\\\\t\n"
            "bool TRUE\n"
            "empty\n"
            "none\n"
            "error で0除算がされています。\n"
            "error に\"で閉じられていない文字列があります。\n"
            "string Friday618\n"
            "error で括弧が閉じられていません。\n");
  EXPECT_EQ(exitCode, 0);
}

TEST(EvalTool, SetBindsKeywordsAndSeedRepeatsRandomNumbers) {
  EXPECT_EQ(RunEval({"--set", "Width=120", "--set", "my.Height=-4"}, "Width * 2 + my.Height\n"), "int 236\n");
  const std::string rolls = "Rand(1000000)\nRand(1000000)\n";
  EXPECT_EQ(RunEval({"--seed", "42"}, rolls), RunEval({"--seed", "42"}, rolls));
  EXPECT_NE(RunEval({"--seed", "42"}, rolls), RunEval({"--seed", "43"}, rolls));
}

TEST(EvalTool, PositionExpressions) {
  EXPECT_EQ(RunEval({"--position", "--scale", "2", "--set", "LINE_LEFT=100"},
                    "10 + LINE_LEFT - 5\n1\n-3 + LINE_LEFT\nLINE_LEFT * 2\n\n"),
            "double 110\ndouble 2\ndouble 94\nerror に不正な演算子が設定されています。\nerror に値が有りません。\n");
  EXPECT_EQ(RunEval({"--position", "--scale", "0.25"}, "3\n-1\n"), "double 0.75\ndouble -0.25\n");
}

TEST(EvalTool, RejectsBadOptions) {
  int exitCode = 0;
  RunEval({"--set", "Nothing=1"}, "", &exitCode);
  EXPECT_EQ(exitCode, 2);
  RunEval({"--time", "2024-13-01T00:00:00"}, "", &exitCode);
  EXPECT_EQ(exitCode, 2);
  RunEval({"--position"}, "", &exitCode);
  EXPECT_EQ(exitCode, 2);
}

}  // namespace
