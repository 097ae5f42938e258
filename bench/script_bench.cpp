// The script language's hot paths: tokenizing (once per key when a definition is
// built) and evaluating (every frame). The reference for each figure is the plain C++
// computation of the same expression in the same run.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "script/position_expression.h"
#include "script/script_evaluator.h"
#include "script/shared_random.h"
#include "script/tokenizer.h"

namespace {

void AddInt(CKeywordMap& map, int kind, int value) {
  map.Add(kind, new CToken{INTEGER, value, std::u16string(u"0")});
}

void BM_Tokenize(benchmark::State& state) {
  CTokenizer tokenizer;
  const std::u16string text = u"Rand(6) * Width - LINE_LEFT + (my.Height / 2 >= 10 ? 1 : \"two\")";
  for (auto _ : state) {
    tokenizer.Tokenize(text);
    benchmark::DoNotOptimize(tokenizer.Tokens().data());
  }
}
BENCHMARK(BM_Tokenize);

void BM_ReferenceArithmetic(benchmark::State& state) {
  int one = 1, two = 2, three = 3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(one);
    benchmark::DoNotOptimize(two);
    benchmark::DoNotOptimize(three);
    benchmark::DoNotOptimize(one + two * three);
  }
}
BENCHMARK(BM_ReferenceArithmetic);

void BM_EvaluateArithmetic(benchmark::State& state) {
  auto evaluator = std::make_unique<CScriptEvaluator>();
  CTokenizer tokenizer;
  tokenizer.Tokenize(u"1 + 2 * 3");
  for (auto _ : state) benchmark::DoNotOptimize(evaluator->Evaluate(tokenizer.Tokens())->GetInt());
}
BENCHMARK(BM_EvaluateArithmetic);

// Substitution into a fresh copy of the tokens, as callers do each time, then evaluation.
void BM_SubstituteAndEvaluate(benchmark::State& state) {
  auto evaluator = std::make_unique<CScriptEvaluator>();
  CKeywordMap map;
  AddInt(map, KW_WIDTH, 120);
  AddInt(map, KW_LINE_LEFT, 30);
  CTokenizer tokenizer;
  tokenizer.Tokenize(u"Rand(6) * Width - LINE_LEFT");
  const CTokenList pristine = tokenizer.Tokens();
  CTokenList tokens = pristine;
  SeedSharedRandom(1);
  for (auto _ : state) {
    std::copy(pristine.begin(), pristine.end(), tokens.begin());
    CScriptEvaluator::SubstituteKeywords(tokens, map);
    benchmark::DoNotOptimize(evaluator->Evaluate(tokens)->GetInt());
  }
}
BENCHMARK(BM_SubstituteAndEvaluate);

void BM_PositionExpression(benchmark::State& state) {
  auto evaluator = std::make_unique<CScriptEvaluator>();
  CPositionExpression position(*evaluator);
  CKeywordMap map;
  for (int kind = KW_X; kind <= KW_TARGET_Y; ++kind) AddInt(map, kind, 100 + kind);
  AddInt(map, KW_WIDTH, 64);
  CTokenizer tokenizer;
  tokenizer.Tokenize(u"Width / 2 + LINE_LEFT - 5");
  for (auto _ : state) benchmark::DoNotOptimize(position.Evaluate(tokenizer.Tokens(), map, 1.5));
}
BENCHMARK(BM_PositionExpression);

void BM_CommaSequence300(benchmark::State& state) {
  std::u16string text = u"1";
  for (int i = 2; i <= 300; ++i) text += u", 7";
  auto evaluator = std::make_unique<CScriptEvaluator>();
  CTokenizer tokenizer;
  tokenizer.Tokenize(text);
  for (auto _ : state) benchmark::DoNotOptimize(evaluator->Evaluate(tokenizer.Tokens())->GetInt());
}
BENCHMARK(BM_CommaSequence300);

}  // namespace
