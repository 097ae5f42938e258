// zelvotta-tool eval: tokenizes and evaluates script expressions, one per line of
// standard input, and prints one line of result for each.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#ifdef _WIN32
#include "platform/win32/win32_system_info.h"
using CMachineSystemInfo = CWin32SystemInfo;
#else
#include "platform/headless/system_info_linux.h"
using CMachineSystemInfo = CLinuxSystemInfo;
#endif
#include "script/name_tables.h"
#include "script/position_expression.h"
#include "script/script_error.h"
#include "script/script_evaluator.h"
#include "script/shared_random.h"
#include "script/system_status.h"
#include "script/tokenizer.h"
#include "support/number.h"
#include "support/utf.h"

namespace {

constexpr char kEvalUsage[] =
    "usage: zelvotta-tool eval [--set NAME=INT]... [--seed N] [--time YYYY-MM-DDTHH:MM:SS]\n"
    "                          [--position --scale S]  < expressions\n";

int EvalUsageError(const std::string& message) {
  std::fprintf(stderr, "zelvotta-tool eval: %s\n%s", message.c_str(), kEvalUsage);
  return 2;
}

std::optional<long long> ParseInteger(const std::string& text, long long low, long long high) {
  long long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || ptr != end || value < low || value > high) return std::nullopt;
  return value;
}

// YYYY-MM-DDTHH:MM:SS, checked field by field.
bool SetTime(const std::string& text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return false;
  }
  const auto field = [&text](size_t at, size_t length, long long low, long long high) {
    return ParseInteger(text.substr(at, length), low, high);
  };
  const auto year = field(0, 4, 1601, 9999), month = field(5, 2, 1, 12), day = field(8, 2, 1, 31);
  const auto hour = field(11, 2, 0, 23), minute = field(14, 2, 0, 59), second = field(17, 2, 0, 59);
  if (!year || !month || !day || !hour || !minute || !second) return false;
  SystemStatus().SetDateTime(static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day),
                             static_cast<int>(*hour), static_cast<int>(*minute), static_cast<int>(*second));
  return true;
}

// Line feed, tab and backslash written as escapes, so that one result is one line.
std::string EscapedText(const std::u16string& text) {
  std::string out;
  for (char c : ToUtf8(text)) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += c;
    }
  }
  return out;
}

std::string DescribeValue(const CValue* value) {
  if (!value) return "none";
  switch (value->GetType()) {
    case VALUE_INT: return "int " + std::to_string(value->GetInt());
    case VALUE_STR: return "string " + EscapedText(value->GetStr());
    case VALUE_BOOL: return value->GetBool() ? "bool TRUE" : "bool FALSE";
    default: return "empty";
  }
}

// Plain decimal, the shortest text that reads back as the same double.
std::string DescribeDouble(double value) {
  if (value == 0.0) value = 0.0;  // no "-0"
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed);
  return "double " + std::string(buffer, result.ptr);
}

struct SEvalOptions {
  CKeywordMap keywords;
  bool position = false;
  std::optional<double> scale;
};

std::string EvaluateLine(const std::string& line, SEvalOptions& options, CScriptEvaluator& evaluator,
                         CPositionExpression& position) {
  try {
    CTokenizer tokenizer;
    tokenizer.Tokenize(FromUtf8(line));
    if (options.position) {
      return DescribeDouble(position.Evaluate(tokenizer.Tokens(), options.keywords, *options.scale));
    }
    CScriptEvaluator::SubstituteKeywords(tokenizer.Tokens(), options.keywords);
    return DescribeValue(evaluator.Evaluate(tokenizer.Tokens()));
  } catch (const EScriptError& error) {
    return "error " + ToUtf8(error.Message());
  }
}

}  // namespace

int RunEvalCommand(const ToolArguments& arguments) {
  // The date and machine figures are today's unless --time fixes the date.
  CMachineSystemInfo systemInfo;
  SystemStatus().Refresh(systemInfo);

  SEvalOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--position") {
      options.position = true;
      continue;
    }
    if (i + 1 >= arguments.size()) return EvalUsageError("missing value or unknown option '" + option + "'");
    const std::string& value = arguments[++i];
    if (option == "--set") {
      const size_t equals = value.find('=');
      const int kind = equals == std::string::npos ? kNameNotFound : FindKeyword(FromUtf8(value.substr(0, equals)));
      if (kind == kNameNotFound) return EvalUsageError("--set needs KEYWORD=INT, got '" + value + "'");
      try {
        const std::u16string digits = FromUtf8(value.substr(equals + 1));
        const int number = ToSigned(digits);
        options.keywords.Add(kind, new CToken{INTEGER, number, digits});
      } catch (const EConvertError&) {
        return EvalUsageError("--set needs an integer value, got '" + value + "'");
      }
    } else if (option == "--seed") {
      const auto seed = ParseInteger(value, 0, 0xFFFFFFFFll);
      if (!seed) return EvalUsageError("--seed needs an unsigned 32-bit number");
      SeedSharedRandom(static_cast<uint32_t>(*seed));
    } else if (option == "--time") {
      if (!SetTime(value)) return EvalUsageError("--time needs YYYY-MM-DDTHH:MM:SS");
    } else if (option == "--scale") {
      char* end = nullptr;
      const double scale = std::strtod(value.c_str(), &end);
      if (value.empty() || *end != '\0') return EvalUsageError("--scale needs a number");
      options.scale = scale;
    } else {
      return EvalUsageError("unknown option '" + option + "'");
    }
  }
  if (options.position && !options.scale) return EvalUsageError("--position needs --scale S");
  if (options.scale && !options.position) return EvalUsageError("--scale goes with --position");

  auto evaluator = std::make_unique<CScriptEvaluator>();
  CPositionExpression position(*evaluator);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::printf("%s\n", EvaluateLine(line, options, *evaluator, position).c_str());
  }
  std::fflush(stdout);
  return 0;
}
