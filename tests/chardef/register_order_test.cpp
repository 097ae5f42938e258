// Building functions (ORDER_REG blocks): keys, defaults, flag rules and messages.
#include <gtest/gtest.h>

#include "chardef/order_config.h"
#include "register_test_blocks.h"

namespace {

COrderConfig* BuildOne(std::unique_ptr<STestDefinition>& built, std::vector<std::u16string> settings,
                       std::u16string type = u"NONE_EVENT") {
  built = BuildTestDefinition({Function(u"f", std::move(settings), std::move(type))});
  return built->Config<COrderConfig>(u"f");
}

TEST(OrderRegisterTest, DefaultsOfAFunctionWithOnlyItsType) {
  std::unique_ptr<STestDefinition> built;
  const COrderConfig* f = BuildOne(built, {}, u"START_EVENT");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->funcType, START_EVENT);
  EXPECT_EQ(f->type, ORDER_REG);
  EXPECT_EQ(f->motionName, u"");
  EXPECT_EQ(f->motionId, -1);
  EXPECT_EQ(f->imageLayerNames, CNameList{u""});  // the absent key still gives one name
  EXPECT_EQ(f->timer.Source(), u"-1");
  EXPECT_EQ(f->fuzzyRange, 30);
  EXPECT_EQ(f->bgmSoundLoop, 0);
  EXPECT_EQ(f->eventLineX, 0);
  for (const COptionalNameList& list : f->funcLists) EXPECT_FALSE(list.has_value());
  EXPECT_FALSE(f->hitAreaList || f->hitEventList || f->conditionEventList || f->balloonList);
  EXPECT_TRUE(f->timerReset && f->menuFunctions && f->customMenuItem && f->lButton && f->capture &&
              f->capturePosition && f->hideFunction && f->addToList && f->lineUpCandidate && f->lineDownCandidate);
}

TEST(OrderRegisterTest, FuncTypeMustBeOneOfTheNamesExactly) {
  struct Case {
    std::u16string value;
    int type;  // -1: the FuncType error
  };
  const Case cases[] = {{u"REGION_EVENT", REGION_EVENT},
                        {u"LEFT_EVENT_FUZZY", LEFT_EVENT_FUZZY},
                        {u"start_event", -1},
                        {u"", -1},
                        {u"NORMAL", -1},  // a name of another family in the same table
                        {u"FUNC_TYPE_END", -1}};
  for (const Case& c : cases) {
    std::unique_ptr<STestDefinition> built;
    const COrderConfig* f = BuildOne(built, {}, c.value);
    if (c.type < 0) {
      EXPECT_EQ(f, nullptr) << std::string(c.value.begin(), c.value.end());
      EXPECT_EQ(built->Message(), u"Charaのfに不正なFuncTypeが設定されています。");
    } else {
      ASSERT_NE(f, nullptr);
      EXPECT_EQ(f->funcType, c.type);
    }
  }
  // A missing key is the same error.
  auto built = BuildTestDefinition({{u"ORDER_REG", {u"FuncName=g"}}});
  EXPECT_EQ(built->Message(), u"Charaのgに不正なFuncTypeが設定されています。");
}

TEST(OrderRegisterTest, LineCandidatesFollowTheLineTypes) {
  struct Case {
    std::u16string type;
    bool up;
    bool down;
  };
  for (const Case& c : {Case{u"LINE_UP_TOP_EVENT", false, true}, Case{u"LINE_UP_BOTTOM_EVENT", false, true},
                        Case{u"LINE_DOWN_TOP_EVENT", true, false}, Case{u"LINE_DOWN_BOTTOM_EVENT", true, false},
                        Case{u"TOP_EVENT", true, true}}) {
    std::unique_ptr<STestDefinition> built;
    const COrderConfig* f = BuildOne(built, {}, c.type);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->lineUpCandidate, c.up);
    EXPECT_EQ(f->lineDownCandidate, c.down);
  }
}

TEST(OrderRegisterTest, FlagsTurnOffOnlyForExactOff) {
  struct Case {
    std::u16string key;
    bool COrderConfig::*flag;
  };
  const Case flags[] = {{u"FlagTimerReset", &COrderConfig::timerReset},
                        {u"FlagMenuFunc", &COrderConfig::menuFunctions},
                        {u"FlagCustomMenuItem", &COrderConfig::customMenuItem},
                        {u"FlagLButton", &COrderConfig::lButton},
                        {u"FlagCapture", &COrderConfig::capture},
                        {u"FlagCapturePos", &COrderConfig::capturePosition},
                        {u"FlagHideFunc", &COrderConfig::hideFunction},
                        {u"FlagAddList", &COrderConfig::addToList}};
  for (const Case& c : flags) {
    for (auto [value, expected] : {std::pair{u"OFF", false}, std::pair{u"off", true}, std::pair{u"ON", true},
                                   std::pair{u"0", true}}) {
      std::unique_ptr<STestDefinition> built;
      const COrderConfig* f = BuildOne(built, {c.key + u"=" + value});
      ASSERT_NE(f, nullptr);
      EXPECT_EQ(f->*c.flag, expected) << std::string(c.key.begin(), c.key.end());
    }
  }
  // The first line of a key wins.
  std::unique_ptr<STestDefinition> built;
  EXPECT_TRUE(BuildOne(built, {u"FlagCapture=ON", u"FlagCapture=OFF"})->capture);
}

TEST(OrderRegisterTest, HideFlagStaysOnForExitAndHideFunctions) {
  for (auto [type, expected] : {std::pair{u"EXIT_EVENT", true}, std::pair{u"HIDE_EVENT", true},
                                std::pair{u"SHOW_EVENT", false}}) {
    std::unique_ptr<STestDefinition> built;
    EXPECT_EQ(BuildOne(built, {u"FlagHideFunc=OFF"}, type)->hideFunction, expected);
  }
}

TEST(OrderRegisterTest, TimerFrameRewritesRandShorthand) {
  std::unique_ptr<STestDefinition> built;
  EXPECT_EQ(BuildOne(built, {u"TimerFrame=RAND_300"})->timer.Source(), u"Rand(300)");
  EXPECT_EQ(BuildOne(built, {u"TimerFrame=60+RAND_5"})->timer.Source(), u"60+Rand(5)");
  EXPECT_EQ(BuildOne(built, {u"TimerFrame="})->timer.Source(), u"-1");
  EXPECT_FALSE(BuildOne(built, {u"TimerFrame=90"})->timer.Empty());
}

TEST(OrderRegisterTest, FuzzyRangeIsANonNegativeNumberOrThirty) {
  for (auto [value, expected] : {std::pair{u"0", 0}, std::pair{u"45", 45}, std::pair{u"-5", 30},
                                 std::pair{u"", 30}, std::pair{u"1x", 30}, std::pair{u"3000000000", 30}}) {
    std::unique_ptr<STestDefinition> built;
    EXPECT_EQ(BuildOne(built, {std::u16string(u"FuzzyRange=") + value})->fuzzyRange, expected);
  }
}

TEST(OrderRegisterTest, SoundsAreKeptOnlyAsWav) {
  std::unique_ptr<STestDefinition> built;
  const COrderConfig* f = BuildOne(
      built, {u"SoundNameBgm=music.mp3", u"SoundNameLButton=sub\\click.WAV", u"SoundNameRButton=r.wav.txt"});
  EXPECT_EQ(f->bgmSoundName, u"");
  EXPECT_EQ(f->lButtonSoundName, u"sub\\click.WAV");
  EXPECT_EQ(f->rButtonSoundName, u"");
}

TEST(OrderRegisterTest, NamesAndListsAreKeptAsWritten) {
  std::unique_ptr<STestDefinition> built;
  const COrderConfig* f =
      BuildOne(built, {u"FuncNameMotion=walk", u"FuncNameImageLayer=a,,b,", u"FuncListTimer=x*3,y,",
                       u"FuncListBottomEvent=z", u"ListHitArea=head", u"ListConditionEvent=",
                       u"CallBalloonList=hello*2", u"CursorName=hand.cur", u"MenuItemCustom=Dance",
                       u"EventLinePosX=-12", u"EventLinePosY=abc", u"PosX=X+10", u"PosY=LINE_BOTTOM-my.Height"});
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->motionName, u"walk");
  EXPECT_EQ(f->imageLayerNames, (CNameList{u"a", u"", u"b", u""}));
  EXPECT_EQ(f->funcLists[FUNC_LIST_TIMER], (CNameList{u"x*3", u"y", u""}));
  EXPECT_EQ(f->funcLists[FUNC_LIST_BOTTOM_EVENT], CNameList{u"z"});
  EXPECT_FALSE(f->funcLists[FUNC_LIST_EVENT].has_value());
  EXPECT_EQ(f->hitAreaList, CNameList{u"head"});
  EXPECT_FALSE(f->conditionEventList.has_value());
  EXPECT_EQ(f->balloonList, CNameList{u"hello*2"});
  EXPECT_EQ(f->cursorName, u"hand.cur");
  EXPECT_EQ(f->customMenuItemText, u"Dance");
  EXPECT_EQ(f->eventLineX, -12);
  EXPECT_EQ(f->eventLineY, 0);
  EXPECT_EQ(f->positionX.Source(), u"X+10");
  ASSERT_EQ(f->positionY.Tokens().size(), 3u);
  EXPECT_EQ(f->positionY.Tokens()[0].kind, KW_LINE_BOTTOM);
  EXPECT_EQ(f->positionY.Tokens()[2].kind, KW_MY_HEIGHT);
}

TEST(OrderRegisterTest, SoundLoopIsEvaluatedOnce) {
  std::unique_ptr<STestDefinition> built;
  EXPECT_EQ(BuildOne(built, {u"SoundLoop=2*3"})->bgmSoundLoop, 6);
  EXPECT_EQ(BuildOne(built, {u"SoundLoop="})->bgmSoundLoop, 0);
  EXPECT_EQ(BuildOne(built, {u"SoundLoop==5"})->bgmSoundLoop, 0);  // no value
}

TEST(OrderRegisterTest, ExpressionErrorsCarryTheEvaluatorsText) {
  struct Case {
    std::u16string setting;
    std::u16string message;
  };
  const Case cases[] = {
      {u"SoundLoop=(1", u"Charaのfで括弧が閉じられていません。"},
      {u"SoundLoop=\"a\"*2", u"Charaのfで不正な値が設定されています。"},
      {u"PosX=\"open", u"Charaのfに\"で閉じられていない文字列があります。"},
      {u"TimerFrame=Nope(1)", u"Charaのfで存在しない命令Nopeが呼び出されています。"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<STestDefinition> built;
    EXPECT_EQ(BuildOne(built, {c.setting}), nullptr);
    EXPECT_EQ(built->Message(), c.message) << std::string(c.setting.begin(), c.setting.end());
  }
}

}  // namespace
