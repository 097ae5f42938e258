// The child-process helper the tool tests share, against a child that reports what it
// got: arguments cross the command line unchanged on Windows too, large streams in both
// directions do not block, the environment reaches the child, and every way a child
// can end is told apart.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "child_process.h"

namespace {

SChildResult Echo(std::vector<std::string> arguments, SChildOptions options = {}) {
  options.program = ZV_CHILD_ECHO;
  options.arguments = std::move(arguments);
  return RunChild(options, std::chrono::seconds(30));
}

std::string Hex(const std::string& bytes) {
  std::string hex;
  for (const unsigned char c : bytes) {
    hex += "0123456789abcdef"[c >> 4];
    hex += "0123456789abcdef"[c & 15];
  }
  return hex;
}

void SetParentVariable(const char* name, const char* value) {
#ifdef _WIN32
  ::_putenv_s(name, value);
#else
  ::setenv(name, value, 1);
#endif
}

TEST(ChildProcess, ArgumentsArriveExactlyAsGiven) {
  // What the quoting must get right on Windows: blanks, quotes, backslashes before a
  // quote or at the end, empty arguments; and text outside ASCII.
  const std::vector<std::string> ascii = {"plain", "", "two words", "tab\there", "\"quoted\"", "say \"hi\" now",
                                          "a\\b", "trailing\\", "two trailing\\\\", "back\\\"quote",
                                          "\\\\server\\share\\", "end\\ ", "new\nline", "'single'", "a;b|c&d",
                                          "%PATH%", "$HOME", "*?"};
  const std::string unicode = "\xc3\xbc und \xe6\x97\xa5\xe6\x9c\xac";  // "ü und 日本"
  std::vector<std::string> all = ascii;
  all.push_back(unicode);
  std::vector<std::string> arguments{"args"};
  arguments.insert(arguments.end(), all.begin(), all.end());
  const SChildResult run = Echo(arguments);
  ASSERT_TRUE(run.started) << run.failure;
  EXPECT_EQ(run.exitCode, 0) << run.errors;

  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = run.output.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(run.output.substr(at, end - at));
  }
  // First the C runtime's own split, which a program with a narrow main() sees.
  std::vector<std::string> expected;
  for (const std::string& argument : all) expected.push_back("a " + Hex(argument));
#ifdef _WIN32
  // Then CommandLineToArgvW's. The narrow split turns each argument into the ANSI code
  // page, which need not spell the text outside ASCII: that line is not compared.
  for (const std::string& argument : all) expected.push_back("w " + Hex(argument));
  if (lines.size() == expected.size()) lines[ascii.size()] = expected[ascii.size()];
#endif
  EXPECT_EQ(lines, expected);
}

TEST(ChildProcess, LargeInputOutputAndErrorsDoNotBlockAndStaySeparate) {
  // The child fills standard error before it reads its input: writing all of the input
  // before reading would leave both sides waiting on full pipes.
  std::string input;
  for (int i = 0; i < (1 << 20); ++i) input += static_cast<char>(i * 7 % 251);
  input += "\r\n\n\r\x1a tail";
  const SChildResult run = Echo({"copy", std::to_string(1 << 20)}, {.input = input});
  ASSERT_TRUE(run.started) << run.failure;
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_FALSE(run.timedOut);
  EXPECT_TRUE(run.output == input) << "output of " << run.output.size() << " bytes differs from the input";
  EXPECT_EQ(run.errors, std::string(1 << 20, 'e'));

  // Without input text the child reads the null device: end of input at once.
  const SChildResult none = Echo({"copy", "0"});
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.output, "");
}

TEST(ChildProcess, TheChildGetsThisEnvironmentWithTheExtraVariables) {
  SetParentVariable("ZV_CHILD_TEST_KEPT", "kept");
  SetParentVariable("ZV_CHILD_TEST_REPLACED", "old");
  const SChildOptions options{.environment = {{"ZV_CHILD_TEST_REPLACED", "new value"},
                                              {"ZV_CHILD_TEST_ADDED", "with spaces and \xc3\xbc"}}};
  EXPECT_EQ(ChildText(Echo({"env", "ZV_CHILD_TEST_KEPT"}, options).output), "kept\n");
  EXPECT_EQ(ChildText(Echo({"env", "ZV_CHILD_TEST_REPLACED"}, options).output), "new value\n");
  EXPECT_EQ(ChildText(Echo({"env", "ZV_CHILD_TEST_UNSET"}, options).output), "(unset)\n");
#ifndef _WIN32
  // Windows hands getenv() the value in the ANSI code page; the bytes are checked on
  // POSIX only.
  EXPECT_EQ(ChildText(Echo({"env", "ZV_CHILD_TEST_ADDED"}, options).output), "with spaces and \xc3\xbc\n");
#else
  EXPECT_NE(ChildText(Echo({"env", "ZV_CHILD_TEST_ADDED"}, options).output), "(unset)\n");
#endif
  // Without extra variables the child inherits this environment as it is.
  EXPECT_EQ(ChildText(Echo({"env", "ZV_CHILD_TEST_REPLACED"}).output), "old\n");
}

TEST(ChildProcess, ExitCodesTimeOutsKillsAndMissingProgramsAreToldApart) {
  for (const int code : {0, 3, 255}) {
    const SChildResult run = Echo({"exit", std::to_string(code)});
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, code);
    EXPECT_EQ(run.failure, "");
  }

  const auto before = std::chrono::steady_clock::now();
  const SChildResult late = RunChild({.program = ZV_CHILD_ECHO, .arguments = {"sleep"}}, std::chrono::milliseconds(300));
  EXPECT_TRUE(late.started);
  EXPECT_TRUE(late.timedOut);
  EXPECT_EQ(late.exitCode, kChildKilledExitCode);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(20));

  CChildProcess killed;
  ASSERT_TRUE(killed.Start({.program = ZV_CHILD_ECHO, .arguments = {"sleep"}})) << killed.Failure();
  EXPECT_TRUE(killed.Running());
  killed.Kill();
  const SChildResult result = killed.Wait();
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, kChildKilledExitCode);
  EXPECT_FALSE(killed.Running());

  const SChildResult missing = RunChild({.program = std::string(ZV_CHILD_ECHO) + ".missing"});
  EXPECT_FALSE(missing.started);
  EXPECT_EQ(missing.exitCode, -1);
  EXPECT_NE(missing.failure, "");
}

}  // namespace
