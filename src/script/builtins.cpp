#include "script/builtins.h"

#include <cwctype>
#include <string_view>

#include "script/name_tables.h"
#include "script/script_evaluator.h"
#include "script/shared_random.h"
#include "script/system_status.h"
#include "script/text_commands.h"

namespace {

using BuiltinHandler = const CValue& (*)(CScriptEvaluator&);

constexpr std::u16string_view kJapaneseDayNames[7] = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
constexpr std::u16string_view kEnglishDayNames[7] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                                     u"Thursday", u"Friday", u"Saturday"};

bool NoArgument(const CScriptEvaluator& evaluator) { return evaluator.PeekToken().kind == SEP_CLOSE_PAREN; }

// The text of one argument, rendered into the pools' scratch buffer (no allocation).
std::u16string& ArgumentText(CScriptEvaluator& evaluator) {
  const CValue& argument = evaluator.EvaluateArgument();
  std::u16string& text = evaluator.Pools().Scratch();
  argument.AppendStrTo(text);
  return text;
}

const CValue& Int(CScriptEvaluator& evaluator, int32_t value) { return evaluator.Pools().MakeInt(value); }

const CValue& Rand(CScriptEvaluator& evaluator) {
  if (NoArgument(evaluator)) return Int(evaluator, 0);
  const int32_t n = evaluator.EvaluateArgument().GetInt();
  return Int(evaluator, ScaleRandomWord(NextSharedRandom(), n));
}

const CValue& GetMemoryStatus(CScriptEvaluator& evaluator) {
  if (NoArgument(evaluator)) return Int(evaluator, SystemStatus().MemoryFigure(MEMORY_USAGE_RATE));
  return Int(evaluator, SystemStatus().MemoryFigure(FindMemoryStatus(ArgumentText(evaluator))));
}

const CValue& GetCpuStatus(CScriptEvaluator& evaluator) {
  if (NoArgument(evaluator)) return Int(evaluator, SystemStatus().CpuFigure(CPU_USAGE_RATE));
  return Int(evaluator, SystemStatus().CpuFigure(FindCpuStatus(ArgumentText(evaluator))));
}

const CValue& Year(CScriptEvaluator& evaluator) { return Int(evaluator, SystemStatus().Year()); }
const CValue& Month(CScriptEvaluator& evaluator) { return Int(evaluator, SystemStatus().Month()); }
const CValue& Day(CScriptEvaluator& evaluator) { return Int(evaluator, SystemStatus().Day()); }
const CValue& DayOfYear(CScriptEvaluator& evaluator) { return Int(evaluator, SystemStatus().DayOfYear()); }
const CValue& Hour(CScriptEvaluator& evaluator) { return Int(evaluator, SystemStatus().Hour()); }
const CValue& Minute(CScriptEvaluator& evaluator) { return Int(evaluator, SystemStatus().Minute()); }
const CValue& Second(CScriptEvaluator& evaluator) { return Int(evaluator, SystemStatus().Second()); }

const CValue& DayOfWeek(CScriptEvaluator& evaluator) {
  const int day = SystemStatus().DayOfWeek() % 7;
  if (NoArgument(evaluator)) return Int(evaluator, day);
  std::u16string& language = ArgumentText(evaluator);
  for (char16_t& c : language) c = static_cast<char16_t>(std::towupper(static_cast<wint_t>(c)));
  if (language == u"JP") return evaluator.Pools().MakeStr(kJapaneseDayNames[day]);
  if (language == u"EN") return evaluator.Pools().MakeStr(kEnglishDayNames[day]);
  return Int(evaluator, day);
}

constexpr BuiltinHandler kHandlers[BUILTIN_COUNT] = {
    Rand,        GetMemoryStatus, GetCpuStatus, Year,        Month,       Day,         DayOfWeek,
    DayOfYear,   Hour,            Minute,       Second,
    // Balloon text commands act on the evaluator's text layer; without one they do
    // nothing and read no argument, so a call with arguments fails at its ")".
    RunOpenCommand, RunCloseCommand, RunClearCommand, RunWaitCommand, RunSetTextStyleCommand,
    RunSetFontCommand, RunSetFontSizeCommand, RunSetFontColorCommand, RunSetSpeedCommand,
};

}  // namespace

const CValue& RunBuiltin(int index, CScriptEvaluator& evaluator) {
  return kHandlers[index](evaluator);
}
