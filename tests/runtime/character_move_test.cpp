// How a character moves: walking to an edge and turning, changing lines, being dragged
// out of the move range and dropped, and its entry position.
#include "chara_fixture.h"

namespace {

const STestBlock kStand = MotionBlock(u"stand", u"body.png", 32, 32, {u"0,0,0,0,1"});
const STestBlock kWalkLeft = MotionBlock(u"walkLeft", u"body.png", 32, 32, {u"0,0,-4,0,1"});
const STestBlock kWalkRight = MotionBlock(u"walkRight", u"body.png", 32, 32, {u"0,0,4,0,1"}, u"H");
const STestBlock kClimb = MotionBlock(u"climb", u"body.png", 32, 32, {u"0,0,0,-10,1"});
const STestBlock kFall = MotionBlock(u"fall", u"body.png", 32, 32, {u"0,0,0,10,1"});
const STestBlock kStandBlock = MotionBlock(u"still", u"body.png", 32, 32, {u"0,0,0,0,1"});

using CharacterMove = CharaFixture;

std::vector<STestBlock> Walker() {
  return {kWalkLeft, kWalkRight,
          FunctionBlock(u"appear", {u"FuncType=START_EVENT", u"FuncNameMotion=walkLeft", u"PosX=LINE_LEFT+40",
                                    u"PosY=LINE_BOTTOM", u"TimerFrame=1", u"FuncListTimer=goLeft"}),
          FunctionBlock(u"goLeft", {u"FuncType=LEFT_EVENT", u"FuncNameMotion=walkLeft", u"FuncListEvent=goRight"}),
          FunctionBlock(u"goRight", {u"FuncType=RIGHT_EVENT", u"FuncNameMotion=walkRight", u"FuncListEvent=goLeft"})};
}

TEST_F(CharacterMove, WalksToTheLeftEdgeStopsOnItAndTurns) {
  WriteCharacter("W", Walker());
  CCharacter& w = Start("W");
  Frames(w, 1);
  EXPECT_EQ(Current(w), u"appear");
  EXPECT_DOUBLE_EQ(w.Mover().GetX(), 36.0);  // entered at 40, then one step of -4
  EXPECT_DOUBLE_EQ(w.Mover().GetY(), 600.0 - 32.0);
  int frames = 0;
  while (Current(w) != u"goRight" && frames < 100) {
    Frames(w, 1);
    ++frames;
  }
  EXPECT_EQ(frames, 10);  // 36 pixels at 4 a frame, then one frame to enter goRight
  EXPECT_EQ(Entered(), (std::vector<std::u16string>{u"appear", u"goLeft", u"goRight"}));
  // The frame that reached the edge put the character exactly on it; goRight's first
  // step moved it on by 4.
  EXPECT_DOUBLE_EQ(w.Mover().GetX(), 4.0);
}

TEST_F(CharacterMove, StandingExactlyOnTheEventLineRequestsTheEventThatFrame) {
  WriteCharacter("W", {kStand,
                       FunctionBlock(u"appear", {u"FuncType=START_EVENT", u"FuncNameMotion=stand", u"TimerFrame=1",
                                                 u"FuncListTimer=edge", u"PosX=LINE_LEFT", u"PosY=LINE_BOTTOM"}),
                       FunctionBlock(u"edge", {u"FuncType=LEFT_EVENT", u"FuncNameMotion=stand", u"FuncListEvent=after"}),
                       FunctionBlock(u"after", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand"})});
  CCharacter& w = Start("W");
  Frames(w, 2);
  EXPECT_EQ(Current(w), u"edge");
  Frames(w, 1);
  EXPECT_EQ(Current(w), u"after");
}

TEST_F(CharacterMove, LineFunctionsChangeTheLineAndWalkToTheNewBand) {
  WriteCharacter("W", {kStand, kClimb, kFall,
                       FunctionBlock(u"appear", {u"FuncType=START_EVENT", u"FuncNameMotion=stand", u"PosX=400",
                                                 u"PosY=LINE_BOTTOM", u"TimerFrame=1", u"FuncListTimer=up"}),
                       FunctionBlock(u"up", {u"FuncType=LINE_UP_BOTTOM_EVENT", u"FuncNameMotion=climb",
                                             u"FuncListEvent=down"}),
                       FunctionBlock(u"down", {u"FuncType=LINE_DOWN_BOTTOM_EVENT", u"FuncNameMotion=fall",
                                               u"FuncListEvent=rest"}),
                       FunctionBlock(u"rest", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand"})},
                 "LineHeight=200\n");
  CCharacter& w = Start("W");
  w.Mover().SetPosition(100, 600 - 32);
  w.Mover().SetLine(3);
  Frames(w, 1);
  ASSERT_EQ(w.Mover().LineCount(), 3);
  EXPECT_EQ(w.Mover().Line(), 3);
  Frames(w, 1);
  EXPECT_EQ(Current(w), u"up");
  EXPECT_EQ(w.Mover().Line(), 2);
  Frames(w, 25);  // 200 pixels up at 10 a frame
  EXPECT_EQ(Current(w), u"down");
  EXPECT_EQ(w.Mover().Line(), 3);
  Frames(w, 25);
  EXPECT_EQ(Current(w), u"rest");
  EXPECT_DOUBLE_EQ(w.Mover().GetY(), 600.0 - 32.0);
}

std::vector<STestBlock> Draggable() {
  return {kStand,
          FunctionBlock(u"appear", {u"FuncType=START_EVENT", u"FuncNameMotion=stand", u"PosX=100", u"PosY=LINE_BOTTOM"}),
          FunctionBlock(u"held", {u"FuncType=L_BUTTON_EVENT", u"FuncNameMotion=stand", u"FuncListEvent=dropped"}),
          FunctionBlock(u"dropped", {u"FuncType=RELEASE_EVENT", u"FuncNameMotion=stand", u"PosY=LINE_BOTTOM"})};
}

TEST_F(CharacterMove, ADragFollowsTheCursorAndTheReleaseLandsOnTheLine) {
  WriteCharacter("D", Draggable(), "LineHeight=200\n");
  CCharacter& d = Start("D");
  Frames(d, 1);
  const double startX = d.Mover().GetX();
  host.cursor = {static_cast<int>(startX) + 10, static_cast<int>(d.Mover().GetY()) + 12};
  Platform().HeadlessUi().SetPrimaryButtonDown(true);
  Platform().Layered().DeliverMouse(*d.Window(), ELayeredMouse::LeftButtonDown, 10, 12);
  EXPECT_EQ(Platform().Layered().Captured(), d.Window());
  Frames(d, 1);
  EXPECT_EQ(Current(d), u"held");
  host.cursor = {300, 250};
  Frames(d, 1);
  EXPECT_DOUBLE_EQ(d.Mover().GetX(), 290.0);
  EXPECT_DOUBLE_EQ(d.Mover().GetY(), 238.0);
  Platform().HeadlessUi().SetPrimaryButtonDown(false);
  Platform().Layered().DeliverMouse(*d.Window(), ELayeredMouse::LeftButtonUp, 10, 12);
  EXPECT_EQ(Platform().Layered().Captured(), nullptr);
  Frames(d, 2);
  EXPECT_EQ(Current(d), u"dropped");
  EXPECT_EQ(d.Mover().Line(), 2);  // the band that held the character's bottom edge
  EXPECT_DOUBLE_EQ(d.Mover().GetY(), 400.0 - 32.0);
}

TEST_F(CharacterMove, ADragOutOfTheRangeEndsAtOnceAndTheNextEntryClampsInside) {
  WriteCharacter("D", Draggable(), "LineHeight=200\n");
  CCharacter& d = Start("D");
  Frames(d, 1);
  host.cursor = {110, 580};
  Platform().HeadlessUi().SetPrimaryButtonDown(true);
  Platform().Layered().DeliverMouse(*d.Window(), ELayeredMouse::LeftButtonDown, 10, 12);
  Frames(d, 1);
  ASSERT_EQ(Current(d), u"held");
  host.cursor = {2000, 580};  // far right of the 800-wide range, button still down
  Frames(d, 1);
  Frames(d, 1);
  EXPECT_EQ(Current(d), u"dropped");
  EXPECT_LE(d.Mover().GetX(), 800.0 - 32.0);
  EXPECT_GE(d.Mover().GetX(), 0.0);
}

TEST_F(CharacterMove, TheClampKeepsACharacterFromLeavingTheRangeEntirely) {
  WriteCharacter("W", {kWalkLeft, FunctionBlock(u"appear", {u"FuncType=START_EVENT", u"FuncNameMotion=walkLeft",
                                                            u"PosX=LINE_LEFT", u"PosY=LINE_BOTTOM"})});
  CCharacter& w = Start("W");
  Frames(w, 30);
  EXPECT_DOUBLE_EQ(w.Mover().GetX(), -32.0);
}

TEST_F(CharacterMove, AFunctionChosenAgainKeepsItsMotionAndOnlySetsUpItsTimer) {
  WriteCharacter("W", {MotionBlock(u"two", u"body.png", 32, 32, {u"0,0,0,0,3", u"32,0,0,0,3"}),
                       FunctionBlock(u"loop", {u"FuncType=START_EVENT", u"FuncNameMotion=two", u"TimerFrame=2",
                                               u"FuncListTimer=loop"})});
  CCharacter& w = Start("W");
  Frames(w, 5);
  EXPECT_EQ(Entered().size(), 1u);
  EXPECT_EQ(w.Motion().FrameIndex(), 1);  // the motion went on through the re-choice
}

}  // namespace

namespace {

struct SEdgeCase {
  const char16_t* type;
  const char16_t* move;  // the motion's movement per frame, "x,y"
  double x;              // where the event leaves the character
  double y;
};

class EdgeSteps : public CharaFixture, public ::testing::WithParamInterface<SEdgeCase> {};

// A character starting mid-range walks until its edge event; the event puts it exactly
// on the event line and asks for its FuncListEvent.
TEST_P(EdgeSteps, EachEdgeStepStopsOnItsLineAndAsksForItsEvent) {
  const SEdgeCase edge = GetParam();
  WriteCharacter("E", {MotionBlock(u"go", u"body.png", 32, 32, {u"0,0," + std::u16string(edge.move) + u",1"}),
                       kStandBlock,
                       FunctionBlock(u"appear", {u"FuncType=START_EVENT", u"FuncNameMotion=go", u"PosX=300", u"PosY=300",
                                                 u"TimerFrame=1", u"FuncListTimer=walk"}),
                       FunctionBlock(u"walk", {u"FuncType=" + std::u16string(edge.type), u"FuncNameMotion=go",
                                               u"FuncListEvent=after"}),
                       FunctionBlock(u"after", {u"FuncType=NONE_EVENT", u"FuncNameMotion=still"})},
                 "LineHeight=N\n");
  CCharacter& e = Start("E");
  for (int frame = 0; frame < 400 && Current(e) != u"after"; ++frame) Frames(e, 1);
  ASSERT_EQ(Current(e), u"after");
  EXPECT_DOUBLE_EQ(e.Mover().GetX(), edge.x);
  EXPECT_DOUBLE_EQ(e.Mover().GetY(), edge.y);
}

// The range is 800 x 600 with one line; the frame is 32 x 32 at scale 1, so L = 0,
// R = 768, T = 0, B = 568. PosX=300 and PosY=300 name the frame's bottom centre (a
// coordinate without a position keyword), so the character starts at 284, 268.
INSTANTIATE_TEST_SUITE_P(AllEdges, EdgeSteps,
                         ::testing::Values(SEdgeCase{u"LEFT_EVENT", u"-4,0", 0.0, 268.0},
                                           SEdgeCase{u"RIGHT_EVENT", u"4,0", 768.0, 268.0},
                                           SEdgeCase{u"TOP_EVENT", u"0,-4", 284.0, 0.0},
                                           SEdgeCase{u"BOTTOM_EVENT", u"0,4", 284.0, 568.0},
                                           SEdgeCase{u"LEFT_EVENT_FUZZY", u"-4,0", 0.0, 268.0},
                                           SEdgeCase{u"BOTTOM_EVENT_FUZZY", u"0,4", 284.0, 568.0}),
                         [](const ::testing::TestParamInfo<SEdgeCase>& param) {
                           std::string name = ToUtf8(param.param.type);
                           std::erase(name, '_');
                           return name;
                         });

TEST_F(CharacterMove, WalkingSidewaysTurnsAtTheBottomOfItsLine) {
  WriteCharacter("T", {MotionBlock(u"slope", u"body.png", 32, 32, {u"0,0,-2,4,1"}), kStandBlock,
                       FunctionBlock(u"appear", {u"FuncType=START_EVENT", u"FuncNameMotion=slope", u"PosX=400",
                                                 u"PosY=500", u"TimerFrame=1", u"FuncListTimer=walk"}),
                       FunctionBlock(u"walk", {u"FuncType=LEFT_EVENT", u"FuncNameMotion=slope", u"FuncListEvent=walk",
                                               u"FuncListTurn=turned"}),
                       FunctionBlock(u"turned", {u"FuncType=NONE_EVENT", u"FuncNameMotion=still"})},
                 "LineHeight=N\n");
  CCharacter& t = Start("T");
  for (int frame = 0; frame < 100 && Current(t) != u"turned"; ++frame) Frames(t, 1);
  ASSERT_EQ(Current(t), u"turned");
  EXPECT_DOUBLE_EQ(t.Mover().GetY(), 568.0);
}

}  // namespace
