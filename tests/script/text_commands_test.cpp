// The balloon text commands against a recording text layer, and the quoting rewrite of
// text lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/script_error.h"
#include "script/script_evaluator.h"
#include "script/text_command_quoting.h"
#include "script/text_layer_target.h"
#include "script/tokenizer.h"
#include "support/utf.h"

namespace {

// Records every call as one line, so a test compares the whole conversation.
class CRecordingTarget final : public ITextLayerTarget {
 public:
  int StatementIndex() const override { return statement; }
  void SetElement(int kind, int step) override { Log("element " + std::to_string(kind) + " " + std::to_string(step)); }
  void SetWaitFrames(int frames) override { Log("wait " + std::to_string(frames)); }
  void SetResizeSteps(int sizeStep, int opacityStep) override {
    Log("steps " + std::to_string(sizeStep) + " " + std::to_string(opacityStep));
  }
  void SelectTextStyle(std::u16string_view name) override { Log("style " + ToUtf8(name)); }
  void SetFontFace(std::u16string_view face) override { Log("face " + ToUtf8(face)); }
  void SetFontColor(std::u16string_view colour) override { Log("colour " + ToUtf8(colour)); }
  void SetFontSize(int size) override { Log("size " + std::to_string(size)); }
  void SetSpeed(int speed) override { Log("speed " + std::to_string(speed)); }

  int statement = 3;
  std::vector<std::string> calls;

 private:
  void Log(std::string call) { calls.push_back(std::move(call)); }
};

struct SCommandCase {
  const char* line;
  std::vector<std::string> calls;
};

class TextCommandTest : public ::testing::Test {
 protected:
  // Evaluates `line` for the target; returns the statement's text or "error <message>".
  std::string Run(const std::string& line, ITextLayerTarget* target) {
    try {
      CTokenizer tokenizer;
      tokenizer.Tokenize(QuoteTextCommandArguments(FromUtf8(line)));
      const CValue* value = evaluator_.Evaluate(tokenizer.Tokens(), target);
      return value ? ToUtf8(value->GetStr()) : "none";
    } catch (const EScriptError& error) {
      return "error " + ToUtf8(error.Message());
    }
  }

  CScriptEvaluator evaluator_;
};

TEST_F(TextCommandTest, CommandsRecordKindStepAndArguments) {
  const SCommandCase cases[] = {
      {"Open()", {"element 9 3", "steps 100 100"}},
      {"Open(50)", {"element 9 3", "steps 50 100"}},
      {"Open(10,20+5)", {"element 9 3", "steps 10 25"}},
      {"Close()", {"element 10 3", "steps 100 100"}},
      {"Close(30,1)", {"element 10 3", "steps 30 1"}},
      {"Clear()", {"element 11 3"}},
      {"Wait()", {"element 8 3", "wait 0"}},
      {"Wait(45)", {"element 8 3", "wait 45"}},
      // The quoting rewrite makes this SetTextStyle(""); the layer finds no such style.
      {"SetTextStyle()", {"element 2 3", "style "}},
      {"SetTextStyle(Big)", {"element 2 3", "style Big"}},
      {"SetFont(\"Sans\")", {"element 3 3", "face Sans"}},
      {"SetFont(\"\")", {"element 3 3"}},
      {"SetFontColor(FF8000)", {"element 4 3", "colour FF8000"}},
      {"SetFontColor()", {"element 4 3"}},
      {"SetFontSize(12)", {"element 5 3", "size 12"}},
      {"SetFontSize(0)", {"element 5 3"}},
      {"SetFontSize(-4)", {"element 5 3"}},
      {"SetSpeed(40)", {"element 6 3", "speed 40"}},
      {"SetSpeed(0)", {"element 6 3"}},
      // Two commands: the later one's record is the one that remains.
      {"Wait(5),SetSpeed(30)", {"element 8 3", "wait 5", "element 6 3", "speed 30"}},
  };
  for (const SCommandCase& c : cases) {
    CRecordingTarget target;
    EXPECT_EQ(Run(c.line, &target), "") << c.line;
    EXPECT_EQ(target.calls, c.calls) << c.line;
  }
}

TEST_F(TextCommandTest, CommandsAddNothingToTheText) {
  CRecordingTarget target;
  EXPECT_EQ(Run("\"Hello\"+Wait(10)+\" there\"", &target), "Hello there");
}

TEST_F(TextCommandTest, KindIsRecordedBeforeArgumentsFail) {
  CRecordingTarget target;
  EXPECT_EQ(Run("SetFontSize(\"big\")", &target), "error で不正な値が設定されています。");
  EXPECT_EQ(target.calls, std::vector<std::string>{"element 5 3"});
}

TEST_F(TextCommandTest, MalformedArguments) {
  const std::pair<const char*, const char*> cases[] = {
      {"Open(1;2)", "error で呼び出された命令Openの記述が不正です。"},
      {"Close(1;", "error で呼び出された命令Closeの記述が不正です。"},
      {"Open(1,2,3)", "error で呼び出された命令Openが')'で閉じられていません。"},
      {"Clear(1)", "error で呼び出された命令Clearが')'で閉じられていません。"},
      {"Wait(1,2)", "error で呼び出された命令Waitが')'で閉じられていません。"},
      {"NextPage()", "error で存在しない命令NextPageが呼び出されています。"},
      // No ")" after the argument: the quote closes the line and the call stays open.
      {"SetFontColor(red", "error で呼び出された命令SetFontColorが')'で閉じられていません。"},
  };
  for (const auto& [line, expected] : cases) {
    CRecordingTarget target;
    EXPECT_EQ(Run(line, &target), expected) << line;
  }
}

TEST_F(TextCommandTest, WithoutTargetNothingIsReadOrRecorded) {
  EXPECT_EQ(Run("\"a\"+Open()", nullptr), "a");
  EXPECT_EQ(Run("Clear()", nullptr), "");
  EXPECT_EQ(Run("Wait(10)", nullptr), "error で呼び出された命令Waitが')'で閉じられていません。");
}

TEST(TextCommandQuotingTest, RewritesUnquotedArguments) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"SetFontColor(FF0000)", u"SetFontColor(\"FF0000\")"},
      {u"SetTextStyle(Big)+\"x\"", u"SetTextStyle(\"Big\")+\"x\""},
      {u"SetFontColor(\"red\")", u"SetFontColor(\"red\")"},
      {u"SetFontColor(red\")", u"SetFontColor(\"red\")"},
      {u"SetFontColor()", u"SetFontColor(\"\")"},
      {u"SetFontColor(red", u"SetFontColor(\"red\""},
      {u"SetFontColor(", u"SetFontColor("},
      {u"SetFontColor(a)+SetFontColor(b)+SetTextStyle(c)", u"SetFontColor(\"a\")+SetFontColor(\"b\")+SetTextStyle(\"c\")"},
      // Other commands' arguments stay as written.
      {u"SetFont(Sans)+SetSpeed(3)", u"SetFont(Sans)+SetSpeed(3)"},
      {u"plain text", u"plain text"},
  };
  for (const auto& [line, expected] : cases) {
    EXPECT_EQ(QuoteTextCommandArguments(line), expected) << ToUtf8(line);
  }
}

}  // namespace
