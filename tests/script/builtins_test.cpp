#include "script/builtins.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "fake_system_info.h"
#include "script/shared_random.h"
#include "script/system_status.h"
#include "script/timer_frame_rewrite.h"
#include "script_test_helpers.h"

namespace {

class BuiltinsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeSystemInfo info;
    info.time = {2024, 3, 1, 5, 12, 30, 45};
    info.memory = SMemoryStatus{40, 8192 * kMiB, 3000 * kMiB, 0, 0, 0, 0, 0};
    info.vendor = "GenuineIntel";
    SystemStatus().Refresh(info);
    SeedSharedRandom(12345);
  }
  std::string Run(const char* expression) { return Eval(*evaluator_, expression); }

  std::unique_ptr<CScriptEvaluator> evaluator_ = std::make_unique<CScriptEvaluator>();
};

TEST_F(BuiltinsTest, DateAndTime) {
  struct SCase {
    const char* expression;
    const char* expected;
  } const cases[] = {
      {"Year()", "int 2024"},          {"Month()", "int 3"},
      {"Day()", "int 1"},              {"Hour()", "int 12"},
      {"Minute()", "int 30"},          {"Second()", "int 45"},
      {"DayOfYear()", "int 61"},       {"DayOfWeek()", "int 5"},
      {"DayOfWeek(\"en\")", "string Friday"},
      {"DayOfWeek(\"JP\")", "string 金"},
      {"DayOfWeek(\"fr\")", "int 5"},  {"DayOfWeek(1)", "int 5"},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.expression), c.expected) << c.expression;
}

TEST_F(BuiltinsTest, MemoryAndCpu) {
  EXPECT_EQ(Run("GetMemoryStatus()"), "int 40");
  EXPECT_EQ(Run("GetMemoryStatus(\"Used\")"), "int 5192");
  EXPECT_EQ(Run("GetMemoryStatus(\"used\")"), "int 40");
  EXPECT_EQ(Run("GetMemoryStatus(\"Free\") + 1"), "int 3001");
  EXPECT_EQ(Run("GetCPUStatus(\"Vendor\")"), "int 0");
  EXPECT_EQ(Run("GetCPUStatus(\"NumberOfCore\")"), "int 4");
  EXPECT_EQ(Run("GetCPUStatus()"), "int 17");
}

TEST_F(BuiltinsTest, RandStaysInItsRange) {
  for (int i = 0; i < 200; ++i) {
    const std::string one = Run("Rand(1)");
    EXPECT_TRUE(one == "int 0" || one == "int 1") << one;
    CTokenizer tokenizer;
    tokenizer.Tokenize(u"Rand(-5)");
    const int negative = evaluator_->Evaluate(tokenizer.Tokens())->GetInt();
    EXPECT_GE(negative, -4);
    EXPECT_LE(negative, 0);
  }
  EXPECT_EQ(Run("Rand(0)"), "int 0");
  EXPECT_EQ(Run("Rand()"), "int 0");
}

TEST(SharedRandom, ScalesWordsAsAFraction) {
  EXPECT_EQ(ScaleRandomWord(0, 6), 0);
  EXPECT_EQ(ScaleRandomWord(0xFFFFFFFFu, 6), 6);
  EXPECT_EQ(ScaleRandomWord(0x80000000u, 9), 5);
  EXPECT_EQ(ScaleRandomWord(0xFFFFFFFFu, INT32_MAX), INT32_MAX);
  EXPECT_EQ(ScaleRandomWord(0xFFFFFFFFu, -5), -3);
  EXPECT_EQ(ScaleRandomWord(0xFFFFFFFFu, INT32_MIN), INT32_MIN + 2);  // just above n + 1
}

TEST(SharedRandom, SeedingRepeatsTheSequence) {
  SeedSharedRandom(7);
  const uint32_t first = NextSharedRandom();
  const uint32_t second = NextSharedRandom();
  SeedSharedRandom(7);
  EXPECT_EQ(NextSharedRandom(), first);
  EXPECT_EQ(NextSharedRandom(), second);
}

TEST(TimerFrameRewrite, ReplacesEveryShorthand) {
  struct SCase {
    const char16_t* text;
    const char16_t* expected;
  } const cases[] = {
      {u"RAND_6", u"Rand(6)"},
      {u"RAND_", u"Rand()"},
      {u"30+RAND_15*2", u"30+Rand(15)*2"},
      {u"RAND_1RAND_2", u"Rand(1)Rand(2)"},
      {u"RAND_RAND_3", u"Rand()Rand(3)"},
      {u"RAND", u"RAND"},
      {u"rand_5", u"rand_5"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(RewriteTimerFrame(c.text), c.expected);
}

}  // namespace

namespace {

// The main window refreshes the record while the frame thread's scripts read it.
TEST(BuiltinsConcurrency, RefreshWhileScriptsRead) {
  std::atomic<bool> done{false};
  std::thread refresher([&done] {
    FakeSystemInfo info;
    info.memory = SMemoryStatus{50, 4096 * kMiB, 1024 * kMiB, 0, 0, 0, 0, 0};
    for (int i = 0; i < 300; ++i) {
      info.time.second = static_cast<uint16_t>(i % 60);
      info.milliseconds += 500;
      SystemStatus().Refresh(info);
    }
    done.store(true);
  });
  auto evaluator = std::make_unique<CScriptEvaluator>();
  CTokenizer tokenizer;
  tokenizer.Tokenize(u"Second() + GetMemoryStatus(\"Used\") + GetCPUStatus(\"ClockRate\") + Rand(9)");
  while (!done.load()) evaluator->Evaluate(tokenizer.Tokens());
  refresher.join();
  EXPECT_GE(evaluator->Evaluate(tokenizer.Tokens())->GetInt(), 3072);
}

}  // namespace
