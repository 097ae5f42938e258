// Evaluation must not touch the heap once an evaluator exists: every global operator
// new in this test program is counted, and the count must not move while expressions
// are evaluated.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "script/position_expression.h"
#include "script/script_evaluator.h"
#include "script/tokenizer.h"
#include "script_test_helpers.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

TEST(Allocation, EvaluationAllocatesNothing) {
  const char16_t* expressions[] = {
      u"1 + 2 * 3",
      u"(1 + 2) * 3 == 9 ? \"yes\" : \"no\"",
      u"\"ab\" + 12 + TRUE",
      u"\"12\" == 12 && !FALSE || ~5 < 0",
      u"Rand(6) * Width - LINE_LEFT",
      u"GetMemoryStatus(\"Used\") + GetCPUStatus(\"ClockRate\") + DayOfWeek(\"en\")",
      u"Year() * 10000 + Month() * 100 + Day()",
      u"= 5 + 5",
  };
  auto evaluator = std::make_unique<CScriptEvaluator>();
  CKeywordMap map;
  MapInt(map, KW_WIDTH, 120);
  MapInt(map, KW_LINE_LEFT, 30);
  std::vector<CTokenizer> tokenizers(std::size(expressions));
  for (size_t i = 0; i < tokenizers.size(); ++i) {
    tokenizers[i].Tokenize(expressions[i]);
    CScriptEvaluator::SubstituteKeywords(tokenizers[i].Tokens(), map);
  }
  evaluator->Evaluate(tokenizers[0].Tokens());  // first use creates the shared statics

  const long before = g_allocations.load();
  for (int round = 0; round < 3; ++round) {
    for (const CTokenizer& tokenizer : tokenizers) evaluator->Evaluate(tokenizer.Tokens());
  }
  EXPECT_EQ(g_allocations.load() - before, 0);
}

TEST(Allocation, SubstitutionAndPositionExpressionsAllocateNothingWhenSteady) {
  auto evaluator = std::make_unique<CScriptEvaluator>();
  CPositionExpression position(*evaluator);
  CKeywordMap map;
  MapInt(map, KW_LINE_LEFT, 1000000);
  MapInt(map, KW_WIDTH, 64);
  CTokenizer coordinate;
  coordinate.Tokenize(u"Width / 2 + LINE_LEFT - 5");
  CTokenizer size;
  size.Tokenize(u"Width * 3");
  const CTokenList pristine = size.Tokens();
  CTokenList substituted = pristine;
  position.Evaluate(coordinate.Tokens(), map, 2.0);  // the parts grow to their size once

  const long before = g_allocations.load();
  for (int round = 0; round < 3; ++round) {
    EXPECT_DOUBLE_EQ(position.Evaluate(coordinate.Tokens(), map, 2.0), 64 + 1000000 - 10);
    CScriptEvaluator::SubstituteKeywords(substituted, map);
    EXPECT_EQ(evaluator->Evaluate(substituted)->GetInt(), 192);
    std::copy(pristine.begin(), pristine.end(), substituted.begin());
  }
  EXPECT_EQ(g_allocations.load() - before, 0);
}

}  // namespace
