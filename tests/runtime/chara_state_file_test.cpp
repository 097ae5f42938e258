// The saved per-character state: its exact file, reading it back, partial and damaged
// files, and failed writes.
#include "runtime/chara_state_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <string>

#include "support/scrambled_text.h"
#include "support/utf.h"
#include "temp_folder.h"

namespace {

SCharaStartState Parsed(std::u16string_view text, bool expectComplete, const std::u16string& name = u"Walker") {
  SCharaStartState state;
  state.hide = true;  // a value no key sets must stay as it was
  EXPECT_EQ(ParseCharaState(EncodeScrambledText(text), name, state), expectComplete);
  return state;
}

TEST(CharaStateFile, WritesTheExactFileAndReadsItBack) {
  CTempFolder app;
  const std::u16string params = app.Engine(u"Params\\");  // made by the write
  ASSERT_TRUE(WriteCharaState(params, u"Walker", 12.9, -3.7, 2, true, false));
  const std::string bytes = app.ReadBytes("Params/Walker.param");
  const std::u16string text = u"Walker.x=12,Walker.y=-3,Walker.LineNum=2,Walker.Mute=1,Walker.Hide=0,";
  EXPECT_EQ(DecodeScrambledText(bytes), text);  // fractions truncated toward zero
  EXPECT_EQ(bytes, EncodeScrambledText(text));  // no byte-order mark, one zero unit

  SCharaStartState state;
  ASSERT_TRUE(ReadCharaState(params, u"Walker", state));
  EXPECT_EQ(state.x, 12);
  EXPECT_EQ(state.y, -3);
  EXPECT_EQ(state.lineNumber, 2);
  EXPECT_TRUE(state.mute);
  EXPECT_FALSE(state.hide);
  EXPECT_FALSE(ReadCharaState(params, u"Other", state));

  ASSERT_TRUE(WriteCharaState(params, u"Walker", 1e12, -1e12, 1, false, true));
  ASSERT_TRUE(ReadCharaState(params, u"Walker", state));
  EXPECT_EQ(state.x, INT_MAX);
  EXPECT_EQ(state.y, INT_MIN);
  EXPECT_TRUE(state.hide);
}

TEST(CharaStateFile, PartialFilesKeepWhatWasFound) {
  SCharaStartState state = Parsed(u"Walker.x=5,Walker.y=6,Walker.LineNum=3,Walker.Mute=1,", false);
  EXPECT_EQ(state.x, 5);
  EXPECT_EQ(state.y, 6);
  EXPECT_EQ(state.lineNumber, 3);
  EXPECT_TRUE(state.mute);
  EXPECT_TRUE(state.hide);

  state = Parsed(u"Walker.x=5,Walker.LineNum=3,Walker.Mute=1,Walker.Hide=0,", false);
  EXPECT_EQ(state.x, 0);  // the position is taken only with both halves
  EXPECT_EQ(state.lineNumber, 4);
  state = Parsed(u"Walker.x=5,Walker.y=6,Walker.LineNum=3,Walker.Mute=1,Walker.Hide=0", false);  // no final ","
  EXPECT_TRUE(state.mute);
}

TEST(CharaStateFile, KeysAndValues) {
  const SCharaStartState state = Parsed(
      u"Other.x=1,walker.y=1,Walker.xx=1,Walker.x= -12\t,Walker.x=99,Walker.y=+7,Walker.LineNum=abc,"
      u"Walker.Mute=2,Walker.Hide==1,",
      true);
  EXPECT_EQ(state.x, -12);  // blanks trimmed; the first entry of a key wins
  EXPECT_EQ(state.y, 7);
  EXPECT_EQ(state.lineNumber, 0);
  EXPECT_TRUE(state.mute);
  EXPECT_FALSE(state.hide);  // the value "=1" is not a number
  Parsed(u"Other.x=1,Other.y=1,Other.LineNum=1,Other.Mute=1,Other.Hide=1,", false);
}

TEST(CharaStateFile, DamagedFilesRestoreNothing) {
  const std::string whole = EncodeCharaState(u"Walker", 300, 400, 2, true, true);
  for (size_t size = 0; size < whole.size(); ++size) {
    SCharaStartState state;
    EXPECT_FALSE(ParseCharaState(std::string_view(whole).substr(0, size), u"Walker", state)) << size;
    EXPECT_EQ(state.x, 0);
    EXPECT_FALSE(state.mute);
  }
  SCharaStartState state;
  EXPECT_FALSE(ParseCharaState(whole + "x", u"Walker", state));  // not whole units
}

TEST(CharaStateFile, AFailedWriteLeavesTheOldFile) {
  CTempFolder app;
  // The longest name a file may have here: its temporary sibling cannot be created.
  const std::u16string name(255 - 6, u'a');
  const std::string old = EncodeCharaState(name, 1, 2, 3, false, false);
  app.WriteBytes("Params/" + std::string(name.begin(), name.end()) + ".param", old);
  EXPECT_FALSE(WriteCharaState(app.Engine(u"Params\\"), name, 9, 9, 9, true, true));
  EXPECT_EQ(app.ReadBytes("Params/" + std::string(name.begin(), name.end()) + ".param"), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(app.Native() / "Params"), {}), 1);

  app.WriteBytes("NotAFolder", "");
  EXPECT_FALSE(WriteCharaState(app.Engine(u"NotAFolder\\Params\\"), u"Walker", 1, 2, 3, false, false));
}

TEST(CharaStateFile, AnyFolderNameLandsInTheParamsFolder) {
  CTempFolder app;
  const std::u16string params = app.Engine(u"Params\\");
  // Names Windows allows keep their file; a separator or a character Windows keeps out
  // of names is written as %XX, so nothing leads out of Params.
  const struct {
    std::u16string folder;
    const char* file;
  } cases[] = {
      {u"Walker", "Walker.param"},           {u"名前 1", "名前 1.param"},
      {u"100%", "100%.param"},               {u"..\\..\\esc", "..%5C..%5Cesc.param"},
      {u"..\\Params", "..%5CParams.param"}, {u"a/b", "a%2Fb.param"},
      {u"a:b*?", "a%3Ab%2A%3F.param"},       {u"new\nline", "new%0Aline.param"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteCharaState(params, c.folder, 5, 6, 1, false, true)) << c.file;
    // The name as UTF-16, which every system's paths take as it is meant.
    EXPECT_TRUE(std::filesystem::is_regular_file(app.Native() / "Params" / std::filesystem::path(FromUtf8(c.file))))
        << c.file;
    SCharaStartState state;
    ASSERT_TRUE(ReadCharaState(params, c.folder, state)) << c.file;
    EXPECT_EQ(state.y, 6);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(app.Native()), {}), 1);  // only Params
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(app.Native() / "Params"), {}),
            static_cast<std::ptrdiff_t>(std::size(cases)));

  // A .param that is a folder reads as no state and is left standing.
  app.MakeFolder("Params/Folder.param");
  SCharaStartState state;
  EXPECT_FALSE(ReadCharaState(params, u"Folder", state));
  EXPECT_FALSE(WriteCharaState(params, u"Folder", 1, 2, 3, false, false));
  EXPECT_TRUE(std::filesystem::is_directory(app.Native() / "Params" / "Folder.param"));
}

}  // namespace
