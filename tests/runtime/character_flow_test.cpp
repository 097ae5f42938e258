// How a character chooses its function: request priorities, list picks with line
// filtering, timers, condition events, hiding, showing and ending.
#include "chara_fixture.h"
#include "window/command_ids.h"

namespace {

const STestBlock kStand = MotionBlock(u"stand", u"body.png", 32, 32, {u"0,0,0,0,1"});
const STestBlock kWalkLeft = MotionBlock(u"walkLeft", u"body.png", 32, 32, {u"0,0,-4,0,1"});

using CharacterFlow = CharaFixture;

TEST_F(CharacterFlow, StartsInItsStartFunctionAndFollowsItsTimer) {
  WriteCharacter("A", {kStand, FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand",
                                                         u"TimerFrame=3", u"FuncListTimer=rest"}),
                       FunctionBlock(u"rest", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand"})});
  CCharacter& a = Start("A");
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"start");
  Frames(a, 2);
  EXPECT_EQ(Current(a), u"start");
  Frames(a, 2);  // the third step of start asks for rest, the next frame enters it
  EXPECT_EQ(Current(a), u"rest");
  EXPECT_EQ(Entered(), (std::vector<std::u16string>{u"start", u"rest"}));
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(CharacterFlow, ExitBeatsLeftButtonBeatsTimer) {
  WriteCharacter("A", {kStand,
                       FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand", u"TimerFrame=1",
                                                u"FuncListTimer=rest"}),
                       FunctionBlock(u"rest", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand"}),
                       FunctionBlock(u"grab", {u"FuncType=L_BUTTON_EVENT", u"FuncNameMotion=stand", u"FlagCapture=OFF"}),
                       FunctionBlock(u"bye", {u"FuncType=EXIT_EVENT", u"FuncNameMotion=stand", u"TimerFrame=5"})});
  CCharacter& a = Start("A");
  Frames(a, 1);  // in start; its timer of 1 asks for rest in this same step
  a.LeftButtonDown(5, 5);
  EXPECT_EQ(Current(a), u"start");
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"grab");  // the click's slot is above the timer's
  a.LeftButtonDown(5, 5);
  a.RequestEnding();
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"bye");
}

TEST_F(CharacterFlow, TheCustomItemAsksForTheCustomFunction) {
  WriteCharacter("A", {kStand,
                       FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand", u"TimerFrame=2",
                                                u"FuncListTimer=rest"}),
                       FunctionBlock(u"rest", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand"}),
                       FunctionBlock(u"custom", {u"FuncType=CUSTOM_EVENT", u"FuncNameMotion=stand"})});
  CCharacter& a = Start("A");
  ASSERT_NE(a.Menu().FindById(kCmdCustomItem), nullptr);
  EXPECT_EQ(a.Menu().items[0].text, u"カスタム");
  EXPECT_EQ(a.Menu().items[2].text, u"A について");  // position 2, counted with the custom item
  Frames(a, 1);
  a.CustomItem();
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"custom");
}

TEST_F(CharacterFlow, AListOfOnlyALineUpFunctionOnTheTopLineUsesItsEndLineList) {
  WriteCharacter("A", {kStand,
                       FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand", u"TimerFrame=1",
                                                u"FuncListTimer=up", u"PosY=LINE_BOTTOM"}),
                       FunctionBlock(u"up", {u"FuncType=LINE_UP_BOTTOM_EVENT", u"FuncNameMotion=stand",
                                             u"FuncListEndLine=instead", u"FuncListEvent=instead"}),
                       FunctionBlock(u"instead", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand"})},
                 "LineHeight=100\n");
  host.moveRange = {0, 0, 800, 300};  // three lines
  CCharacter& a = Start("A");
  a.Mover().SetLine(1);
  a.Mover().RecomputeLines();
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"start");
  a.Mover().SetLine(1);
  a.Mover().RecomputeLines();
  Frames(a, 1);  // publishes line 1 before the pick in the next frame's step
  Frames(a, 2);
  EXPECT_EQ(Current(a), u"instead");
  EXPECT_EQ(a.Mover().Line(), 1);
}

TEST_F(CharacterFlow, ConditionEventsAreTestedOnTheirIntervalFromTheFunctionsFirstFrame) {
  WriteCharacter("A", {kStand,
                       FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand",
                                                u"ListConditionEvent=late"}),
                       FunctionBlock(u"after", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand"}),
                       STestBlock{u"CONDITION_EVENT_REG",
                                  {u"FuncName=late", u"IntervalType=EVERY_SECOND", u"Condition=Rand(0)==0",
                                   u"FuncListCondition=after"}}});
  CCharacter& a = Start("A");
  Frames(a, 1);
  // Frame 0 of start tests the condition: it holds, so "after" follows next frame.
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"after");
}

TEST_F(CharacterFlow, HideAndShowGoThroughTheirFunctionsAndTheHiddenOne) {
  WriteCharacter("A", {kStand,
                       FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand"}),
                       FunctionBlock(u"back", {u"FuncType=SHOW_EVENT", u"FuncNameMotion=stand"}),
                       FunctionBlock(u"away", {u"FuncType=HIDE_EVENT", u"FuncNameMotion=stand", u"TimerFrame=3"})});
  CCharacter& a = Start("A");
  Frames(a, 1);
  a.ToggleHidden();
  EXPECT_TRUE(a.Hidden());
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"away");
  EXPECT_FALSE(a.Ended());
  Frames(a, 3);  // the hide function's timer ends it
  Frames(a, 1);
  EXPECT_EQ(a.EnteredFunctionId(), kHiddenFunctionId);
  EXPECT_TRUE(a.Ended());
  a.ToggleHidden();
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"back");
  EXPECT_FALSE(a.Hidden());
  EXPECT_EQ(TraceCount("hide"), 1u);
  EXPECT_EQ(TraceCount("show"), 1u);
}

TEST_F(CharacterFlow, EndingPlaysTheExitFunctionUntilItsTimerThenFinishes) {
  WriteCharacter("A", {kStand, FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand"}),
                       FunctionBlock(u"bye", {u"FuncType=EXIT_EVENT", u"FuncNameMotion=stand", u"TimerFrame=4"})});
  CCharacter& a = Start("A");
  Frames(a, 2);
  a.RequestEnding();
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"bye");
  EXPECT_FALSE(a.Finished());
  Frames(a, 3);
  EXPECT_TRUE(a.Finished());
  EXPECT_EQ(TraceCount("finished"), 1u);
}

TEST_F(CharacterFlow, EndingWithoutAnExitFunctionFinishesAtOnce) {
  WriteCharacter("A", {kStand, FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand"})});
  CCharacter& a = Start("A");
  Frames(a, 1);
  a.RequestEnding();
  EXPECT_TRUE(a.Finished());
  Frames(a, 1);
  EXPECT_EQ(a.EnteredFunctionId(), kHiddenFunctionId);
}

TEST_F(CharacterFlow, WithTimerMinusOneAnExitFunctionEndsAtItsFirstFrame) {
  WriteCharacter("A", {kStand, FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand"}),
                       FunctionBlock(u"bye", {u"FuncType=EXIT_EVENT", u"FuncNameMotion=stand"})});
  CCharacter& a = Start("A");
  Frames(a, 1);
  a.RequestEnding();
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"bye");
  EXPECT_TRUE(a.Finished());
}

TEST_F(CharacterFlow, ACharacterWithNothingToStartWithStaysHidden) {
  WriteCharacter("A", {kStand, FunctionBlock(u"lonely", {u"FuncType=CUSTOM_EVENT", u"FuncNameMotion=stand"})});
  CCharacter& a = Start("A");
  Frames(a, 3);
  EXPECT_EQ(a.EnteredFunctionId(), kHiddenFunctionId);
  EXPECT_EQ(TraceCount("no-start"), 1u);
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(CharacterFlow, AnEmptyEventListAtAnEdgeEndsTheProgramWithItsMessage) {
  WriteCharacter("A", {kWalkLeft, FunctionBlock(u"go", {u"FuncType=START_EVENT", u"FuncNameMotion=walkLeft",
                                                         u"TimerFrame=1", u"FuncListTimer=edge"}),
                       FunctionBlock(u"edge", {u"FuncType=LEFT_EVENT", u"FuncNameMotion=walkLeft", u"PosX=LINE_LEFT"})});
  CCharacter& a = Start("A");
  Frames(a, 3);
  ASSERT_FALSE(host.errors.empty());
  EXPECT_EQ(host.errors[0], u"Aのedgeに有効なFuncListEventが存在しません。");
}

TEST_F(CharacterFlow, ScriptErrorsInPosXAndTimerFrameEndTheProgramWithTheirMessage) {
  WriteCharacter("A", {kStand, FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand",
                                                         u"PosX=X+LINE_LEFT"})},
                 "CharaName=Alpha\n");
  CCharacter& a = Start("A");
  Frames(a, 1);
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0], u"Alphaのstartに不正な値が設定されています。");

  WriteCharacter("B", {kStand, FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand",
                                                         u"TimerFrame=1/0"})});
  host.errors.clear();
  CCharacter& b = Start("B");
  Frames(b, 1);
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0], u"Bのstartで0除算がされています。");
}

}  // namespace
