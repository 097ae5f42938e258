// The script-file reader: block tags, sections, brace joining, rows, first name wins,
// and the silent early end on structural faults.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "script/script_file_reader.h"

namespace {

CScriptText TextOf(std::initializer_list<std::u16string> lines) {
  CScriptText text;
  for (const std::u16string& line : lines) text.Add(line);
  return text;
}

// The names stored in one register, in order.
std::vector<std::u16string> NamesIn(const CScriptFuncMaps& maps, SCRIPT_TYPE type) {
  std::vector<std::u16string> names;
  for (int i = 0; i < maps.Map(type).Count(); ++i) names.push_back(maps.Map(type).KeyAt(i));
  return names;
}

const CScriptParam& Only(const CScriptFuncMaps& maps, SCRIPT_TYPE type) {
  EXPECT_EQ(maps.Map(type).Count(), 1);
  return *maps.Map(type).ValueAt(0);
}

using Names = std::vector<std::u16string>;

TEST(ScriptFileReader, BlockStructure) {
  struct Case {
    const char* what;
    CScriptText text;
    Names orders;
    Names motions;
  };
  const Case cases[] = {
      {"a block per register, lines outside blocks ignored",
       TextOf({u"stray", u"<FUNC_ORDER_REG>", u"<SET_CONFIG>", u"FuncName=a", u"</SET_CONFIG>", u"</FUNC_ORDER_REG>",
               u"between", u"<FUNC_MOTION_REG>", u"<SET_CONFIG>", u"FuncName=m", u"</SET_CONFIG>",
               u"</FUNC_MOTION_REG>"}),
       {u"a"}, {u"m"}},
      {"the register name is a prefix of the tag text",
       TextOf({u"<FUNC_ORDER_REGISTERED>", u"<SET_CONFIG>", u"FuncName=a", u"</SET_CONFIG>", u"</FUNC_ORDER_REGxyz"}),
       {u"a"}, {}},
      {"an unknown register ends reading",
       TextOf({u"<FUNC_ORDER_REG>", u"<SET_CONFIG>", u"FuncName=a", u"</SET_CONFIG>", u"</FUNC_ORDER_REG>",
               u"<FUNC_ORDER>", u"</FUNC_ORDER>", u"<FUNC_ORDER_REG>", u"<SET_CONFIG>", u"FuncName=b",
               u"</SET_CONFIG>", u"</FUNC_ORDER_REG>"}),
       {u"a"}, {}},
      {"a mismatched closing tag drops the block and everything after it",
       TextOf({u"<FUNC_ORDER_REG>", u"<SET_CONFIG>", u"FuncName=a", u"</SET_CONFIG>", u"</FUNC_MOTION_REG>",
               u"<FUNC_ORDER_REG>", u"<SET_CONFIG>", u"FuncName=b", u"</SET_CONFIG>", u"</FUNC_ORDER_REG>"}),
       {}, {}},
      {"a missing closing tag keeps what was read before",
       TextOf({u"<FUNC_ORDER_REG>", u"</FUNC_ORDER_REG>", u"<FUNC_ORDER_REG>", u"<SET_CONFIG>", u"FuncName=b"}),
       {u""}, {}},
      {"an opening tag inside a block is an inner line; the first closing tag ends it",
       TextOf({u"<FUNC_ORDER_REG>", u"<FUNC_MOTION_REG>", u"<SET_CONFIG>", u"FuncName=a", u"</SET_CONFIG>",
               u"</FUNC_ORDER_REG>", u"</FUNC_MOTION_REG>"}),
       {u"a"}, {}},
      {"first name wins within a register, not across registers",
       TextOf({u"<FUNC_ORDER_REG>", u"<SET_CONFIG>", u"FuncName=a", u"Keep=1", u"</SET_CONFIG>", u"</FUNC_ORDER_REG>",
               u"<FUNC_ORDER_REG>", u"<SET_CONFIG>", u"FuncName=a", u"Keep=2", u"</SET_CONFIG>", u"</FUNC_ORDER_REG>",
               u"<FUNC_MOTION_REG>", u"<SET_CONFIG>", u"FuncName=a", u"</SET_CONFIG>", u"</FUNC_MOTION_REG>"}),
       {u"a"}, {u"a"}},
      {"blocks without FuncName share the empty name",
       TextOf({u"<FUNC_ORDER_REG>", u"</FUNC_ORDER_REG>", u"<FUNC_ORDER_REG>", u"<SET_CONFIG>", u"Other=1",
               u"</SET_CONFIG>", u"</FUNC_ORDER_REG>"}),
       {u""}, {}},
      {"a tag must start the line", TextOf({u"x<FUNC_ORDER_REG>", u"</FUNC_ORDER_REG>"}), {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const CScriptFuncMaps maps = ReadScriptText(c.text);
    EXPECT_EQ(NamesIn(maps, ORDER_REG), c.orders);
    EXPECT_EQ(NamesIn(maps, MOTION_REG), c.motions);
    EXPECT_EQ(maps.HasOrderFunction(), !c.orders.empty());
  }
}

TEST(ScriptFileReader, EveryRegisterNameReachesItsOwnMap) {
  const char16_t* names[] = {u"ORDER_REG",           u"MOTION_REG",         u"IMAGE_LAYER_REG",
                             u"HIT_AREA_REG",        u"HIT_EVENT_REG",      u"VELOCITY_EVENT_REG",
                             u"CONDITION_EVENT_REG", u"BALLOON_ORDER_REG",  u"BALLOON_MOTION_REG",
                             u"BALLOON_IMAGE_LAYER_REG", u"TEXT_LAYER_REG", u"TEXT_STYLE_REG"};
  CScriptText text;
  for (const char16_t* name : names) {
    text.Add(u"<FUNC_" + std::u16string(name) + u">");
    text.Add(u"<SET_CONFIG>");
    text.Add(u"FuncName=" + std::u16string(name));
    text.Add(u"</SET_CONFIG>");
    text.Add(u"</FUNC_" + std::u16string(name) + u">");
  }
  const CScriptFuncMaps maps = ReadScriptText(text);
  for (int type = ORDER_REG; type < SCRIPT_TYPE_END; ++type) {
    const auto registerType = static_cast<SCRIPT_TYPE>(type);
    ASSERT_EQ(maps.Map(registerType).Count(), 1) << type;
    EXPECT_EQ(maps.Map(registerType).KeyAt(0), names[type - ORDER_REG]);
    EXPECT_EQ(maps.Map(registerType).ValueAt(0)->RegisterType(), registerType);
  }
}

TEST(ScriptFileReader, SettingsWithBraceJoining) {
  struct Case {
    const char* what;
    std::vector<std::u16string> lines;
    std::vector<std::u16string> config;
  };
  const Case cases[] = {
      {"a value over two lines, then a plain line", {u"Key={ab", u"cd}", u"ef"}, {u"Key=abcd", u"ef"}},
      {"braces on one line; text after the closing brace dropped", {u"K={a,b}c}d"}, {u"K=a,b"}},
      {"a value over three lines", {u"K={a", u"b", u"c}rest"}, {u"K=abc"}},
      {"braces inside quotes still count", {u"K=\"{x\"", u"y}"}, {u"K=\"x\"y"}},
      {"a closing brace before the opening one does not close it", {u"K=}{a", u"b}"}, {u"K=}ab"}},
      {"a value still open at the end is dropped", {u"A=1", u"K={a", u"b"}, {u"A=1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CScriptText text;
    text.Add(u"<FUNC_ORDER_REG>");
    text.Add(u"<SET_CONFIG>");
    for (const std::u16string& line : c.lines) text.Add(line);
    text.Add(u"</SET_CONFIG>");
    text.Add(u"</FUNC_ORDER_REG>");
    const CScriptFuncMaps maps = ReadScriptText(text);
    EXPECT_EQ(Only(maps, ORDER_REG).ConfigLines().Lines(), c.config);
  }
}

TEST(ScriptFileReader, SectionsAreFoundIndependently) {
  const CScriptFuncMaps maps = ReadScriptText(TextOf({
      u"<FUNC_TEXT_LAYER_REG>",
      u"<SET_TEXT>", u"\"hello\"", u"Wait(30)", u"</SET_TEXT>",
      u"<SET_PARAM>", u"1,2,3", u"a,,b,", u"x", u"</SET_PARAM>",
      u"<SET_CONFIG>x", u"Ignored=1",  // tags match whole lines only
      u"<SET_CONFIG>", u"FuncName=t", u"</SET_CONFIG>x", u"</SET_CONFIG>",
      u"<SET_CONFIG>", u"FuncName=second", u"Late=1", u"</SET_CONFIG>",
      u"</FUNC_TEXT_LAYER_REG>",
  }));
  const CScriptParam& param = Only(maps, TEXT_LAYER_REG);
  EXPECT_EQ(maps.Map(TEXT_LAYER_REG).KeyAt(0), u"t");
  EXPECT_EQ(param.ConfigLines().Lines(), (std::vector<std::u16string>{u"FuncName=t", u"</SET_CONFIG>x"}));
  const std::vector<ScriptRow> rows = {
      {u"1", u"2", u"3"}, {u"a", u"", u"b", u""}, {u"x"}, {u"\"hello\"", u"Wait(30)"}};
  EXPECT_EQ(param.Rows(), rows);
}

TEST(ScriptFileReader, UnclosedSections) {
  // Without its closing tag a settings or parameter section gives nothing, a text
  // section one empty row.
  const CScriptFuncMaps maps = ReadScriptText(TextOf({
      u"<FUNC_ORDER_REG>", u"<SET_PARAM>", u"1,2", u"<SET_TEXT>", u"line", u"<SET_CONFIG>", u"FuncName=a",
      u"</FUNC_ORDER_REG>",
  }));
  const CScriptParam& param = Only(maps, ORDER_REG);
  EXPECT_EQ(maps.Map(ORDER_REG).KeyAt(0), u"");
  EXPECT_EQ(param.ConfigLines().Count(), 0);
  EXPECT_EQ(param.Rows(), std::vector<ScriptRow>{ScriptRow{}});
}

TEST(ScriptParam, KeyLookup) {
  const CScriptFuncMaps maps = ReadScriptText(TextOf({
      u"<FUNC_ORDER_REG>", u"<SET_CONFIG>", u"FuncName=a", u"Expr=x==1", u"NoEquals", u"Expr=second", u"Empty=",
      u"funcname=b", u"</SET_CONFIG>", u"</FUNC_ORDER_REG>",
  }));
  const CScriptParam& param = Only(maps, ORDER_REG);
  EXPECT_EQ(param.ValueOf(u"Expr"), u"x==1");  // the first line wins; the value keeps its "="
  EXPECT_EQ(param.ValueOf(u"Empty"), u"");
  EXPECT_EQ(param.ValueOf(u"Missing"), u"");
  EXPECT_EQ(param.ValueOf(u"NoEquals"), u"");
  EXPECT_EQ(param.FuncName(), u"a");  // keys are case-sensitive
}

TEST(ScriptFileReader, BlocksRememberTheirOpeningTag) {
  CScriptText text;
  const int first = text.AddFile(u"Scripts\\a.func");
  const int second = text.AddFile(u"Scripts\\sub\\b.func");
  text.Add(u"<FUNC_ORDER_REG>", first, 3);
  text.Add(u"</FUNC_ORDER_REG>", first, 9);
  text.Add(u"<FUNC_MOTION_REG>", second, 12);
  text.Add(u"</FUNC_MOTION_REG>", second, 14);
  const CScriptFuncMaps maps = ReadScriptText(text);
  EXPECT_EQ(Only(maps, ORDER_REG).Origin().file, u"Scripts\\a.func");
  EXPECT_EQ(Only(maps, ORDER_REG).Origin().line, 3);
  EXPECT_EQ(Only(maps, MOTION_REG).Origin().file, u"Scripts\\sub\\b.func");
  EXPECT_EQ(Only(maps, MOTION_REG).Origin().line, 12);
}

}  // namespace
