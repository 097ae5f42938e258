// Tokenizes and evaluates arbitrary text (UTF-8 turned into UTF-16), plainly and as a
// position expression with every keyword mapped. Script errors are expected; anything
// else (a crash, a leak, undefined behaviour, another exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "script/position_expression.h"
#include "script/script_error.h"
#include "script/script_evaluator.h"
#include "script/shared_random.h"
#include "script/tokenizer.h"
#include "support/utf.h"

namespace {

struct SFixture {
  SFixture() : position(*evaluator) {
    SeedSharedRandom(1);
    // Small, large and negative values, so that the arithmetic wraps somewhere.
    int32_t value = -3;
    for (int kind = KEYWORD_BEGIN + 1; kind < KEYWORD_END; ++kind) {
      if (kind == KW_TRUE || kind == KW_FALSE) continue;
      keywords.Add(kind, new CToken{INTEGER, value, u"v"});
      value = static_cast<int32_t>(static_cast<uint32_t>(value) * 0xFFFFFFF9u + 1u);
    }
  }
  std::unique_ptr<CScriptEvaluator> evaluator = std::make_unique<CScriptEvaluator>();
  CPositionExpression position;
  CKeywordMap keywords;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static SFixture fixture;
  CTokenizer tokenizer;
  try {
    tokenizer.Tokenize(FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size)));
  } catch (const EScriptError&) {
    return 0;
  }
  try {
    if (const CValue* value = fixture.evaluator->Evaluate(tokenizer.Tokens())) {
      value->GetStr();
      value->GetBool();
    }
  } catch (const EScriptError&) {
  }
  try {
    fixture.position.Evaluate(tokenizer.Tokens(), fixture.keywords, 1.5);
  } catch (const EScriptError&) {
  }
  try {
    CScriptEvaluator::SubstituteKeywords(tokenizer.Tokens(), fixture.keywords);
    if (const CValue* value = fixture.evaluator->Evaluate(tokenizer.Tokens())) value->GetInt();
  } catch (const EScriptError&) {
  }
  return 0;
}
