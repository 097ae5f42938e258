// Hit testing: areas under the cursor with their edges, flips and scale, clicks,
// strokes, characters touching each other, the target the next function reads, and the
// cursor shown over a character.
#include "chara_fixture.h"
#include "chardef/hit_event_config.h"

namespace {

const STestBlock kStand = MotionBlock(u"stand", u"body.png", 32, 32, {u"0,0,0,0,1"});

STestBlock Area(const std::u16string& name, const std::u16string& type, int x, int y, int w, int h,
                const std::u16string& autoFlip = u"") {
  STestBlock block{u"HIT_AREA_REG",
                   {u"FuncName=" + name, u"AreaType=" + type, u"PosX=" + FromUtf8(std::to_string(x)),
                    u"PosY=" + FromUtf8(std::to_string(y)), u"Width=" + FromUtf8(std::to_string(w)),
                    u"Height=" + FromUtf8(std::to_string(h))}};
  if (!autoFlip.empty()) block.settings.push_back(u"FlagAutoFlip=" + autoFlip);
  return block;
}

STestBlock Event(const std::u16string& name, const std::u16string& type, const std::u16string& areas,
                 const std::u16string& next, std::vector<std::u16string> more = {}) {
  STestBlock block{u"HIT_EVENT_REG",
                   {u"FuncName=" + name, u"HitType=" + type, u"MyHitArea=" + areas, u"FuncListHit=" + next}};
  for (auto& setting : more) block.settings.push_back(std::move(setting));
  return block;
}

// A character standing at 100, 200 (its motion 32 x 32) whose start function lists
// `events` and `areas`; "hit" is the function every event asks for.
std::vector<STestBlock> Target(const std::u16string& events, const std::u16string& areas,
                               std::vector<STestBlock> extra, const std::u16string& flip = u"") {
  std::vector<STestBlock> blocks = {
      MotionBlock(u"stand", u"body.png", 32, 32, {u"0,0,0,0,1"}, flip),
      FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand", u"PosX=116", u"PosY=232",
                               u"ListHitEvent=" + events, u"ListHitArea=" + areas}),
      FunctionBlock(u"hit", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand", u"PosX=target.X",
                             u"PosY=target.Y"})};
  for (STestBlock& block : extra) blocks.push_back(std::move(block));
  return blocks;
}

class HitTesting : public CharaFixture {
 protected:
  void PointAt(int x, int y) {
    host.cursor = {x, y};
    Platform().SetCursorPosition({x, y});
  }
  std::vector<std::string> Hits() {
    std::vector<std::string> hits;
    for (const std::string& line : Platform().TraceLines()) {
      if (line.find("\"event\":\"hit\"") != std::string::npos) hits.push_back(line);
    }
    return hits;
  }
};

TEST_F(HitTesting, TheCursorOnAnAreasEdgeIsInsideAndTheTargetIsTheCursor) {
  WriteCharacter("A", Target(u"rest", u"", {Area(u"body", u"RECT", 4, 6, 10, 12),
                                             Event(u"rest", u"HIT_CURSOR", u"body", u"hit")}));
  CCharacter& a = Start("A");
  PointAt(99, 205);  // one pixel left of the area's left edge at 104
  Frames(a, 3);
  EXPECT_EQ(Current(a), u"start");
  PointAt(104 + 10, 206 + 12);  // the bottom-right corner
  Frames(a, 2);
  EXPECT_EQ(Current(a), u"hit");
  // The next function stands where the target was: at the cursor, a 1 x 1 target.
  EXPECT_DOUBLE_EQ(a.Mover().GetX(), 114.0);
  EXPECT_DOUBLE_EQ(a.Mover().GetY(), 218.0);
  ASSERT_EQ(Hits().size(), 1u);
  EXPECT_NE(Hits()[0].find("\"name\":\"rest\",\"kind\":\"HIT_CURSOR\",\"target\":\"\""), std::string::npos);
}

TEST_F(HitTesting, MapEventsNeverFire) {
  WriteCharacter("A", Target(u"map", u"body", {Area(u"body", u"RECT", 0, 0, 32, 32),
                                               Event(u"map", u"HIT_MAP", u"body", u"hit")}));
  CCharacter& a = Start("A");
  PointAt(110, 210);
  Frames(a, 10);
  EXPECT_EQ(Current(a), u"start");
  EXPECT_TRUE(Hits().empty());
}

TEST_F(HitTesting, AnOutRectAreaFiresWhileTheCursorIsOutside) {
  WriteCharacter("A", Target(u"away", u"", {Area(u"body", u"OUT_RECT", 0, 0, 32, 32),
                                             Event(u"away", u"HIT_CURSOR", u"body", u"hit")}));
  CCharacter& a = Start("A");
  PointAt(110, 210);
  Frames(a, 3);
  EXPECT_EQ(Current(a), u"start");
  PointAt(400, 400);
  Frames(a, 2);
  EXPECT_EQ(Current(a), u"hit");
}

TEST_F(HitTesting, AutoFlipMirrorsTheAreaWithTheMotionAndScaleMovesIt) {
  int round = 0;
  for (const char16_t* flip : {u"H", u"V", u"HV", u"NONE"}) {
    const std::string name = "F" + std::to_string(round++);
    WriteCharacter(name, Target(u"e", u"", {Area(u"spot", u"RECT", 2, 3, 6, 5), Event(u"e", u"HIT_CURSOR", u"spot", u"hit")},
                               flip));
    CCharacter& f = Start(name);
    Frames(f, 1);
    const std::u16string mode(flip);
    const bool h = mode.find(u'H') != std::u16string::npos;
    const bool v = mode.find(u'V') != std::u16string::npos;
    // Without a flip the spot spans 102..108 x 203..208; a flip measures from the other side.
    const int x = h ? 100 + 32 - 2 - 3 : 100 + 2 + 3;
    const int y = v ? 200 + 32 - 3 - 2 : 200 + 3 + 2;
    PointAt(x, y);
    Frames(f, 2);
    EXPECT_EQ(Current(f), u"hit") << ToUtf8(mode);
    characters_.Clear();
  }
  // At 200 % the same spot of an unflipped character lies twice as far in.
  WriteCharacter("G", Target(u"e", u"", {Area(u"spot", u"RECT", 2, 3, 6, 5), Event(u"e", u"HIT_CURSOR", u"spot", u"hit")}));
  host.scale = 2.0;
  CCharacter& g = Start("G");
  Frames(g, 1);
  const double left = g.Mover().GetX();
  const double top = g.Mover().GetY();
  PointAt(static_cast<int>(left) + 3, static_cast<int>(top) + 5);  // inside at 100 %, outside at 200 %
  Frames(g, 2);
  EXPECT_EQ(Current(g), u"start");
  PointAt(static_cast<int>(left) + 10, static_cast<int>(top) + 10);
  Frames(g, 2);
  EXPECT_EQ(Current(g), u"hit");
}

TEST_F(HitTesting, AClickOnAnAreaAsksForItsFunctionWithTheClickSlot) {
  WriteCharacter("A", Target(u"press", u"", {Area(u"body", u"RECT", 0, 0, 32, 32),
                                              Event(u"press", u"CLICK_L_BUTTON", u"body", u"hit")}));
  CCharacter& a = Start("A");
  Frames(a, 1);
  PointAt(120, 220);
  ASSERT_TRUE(Windows().DeliverMouse(*a.Window(), ELayeredMouse::LeftButtonDown, 20, 20));
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"hit");
  ASSERT_EQ(Hits().size(), 1u);
  EXPECT_NE(Hits()[0].find("\"kind\":\"CLICK_L_BUTTON\""), std::string::npos);
  size_t clickEntries = 0;
  for (const std::string& line : Platform().TraceLines()) {
    clickEntries += line.find("\"function\":\"hit\"") != std::string::npos && line.find("\"slot\":7") != std::string::npos;
  }
  EXPECT_EQ(clickEntries, 1u);
}

TEST_F(HitTesting, AStrokeFiresOnTheSixteenthDistinctPositionWithinItsWindow) {
  WriteCharacter("S", Target(u"rub", u"", {Area(u"body", u"RECT", 0, 0, 32, 32),
                                            Event(u"rub", u"STROKE_CURSOR", u"body", u"hit")}));
  CCharacter& s = Start("S");
  Frames(s, 1);
  auto move = [&](int x, int y) {
    PointAt(x, y);
    Windows().DeliverMouse(*s.Window(), ELayeredMouse::SetCursor, 0, 0);
  };
  for (int i = 0; i < 15; ++i) move(105 + i, 210);
  move(119, 210);  // the same position again counts nothing
  Frames(s, 1);
  EXPECT_EQ(Current(s), u"start");
  move(125, 211);  // the sixteenth distinct position
  Frames(s, 1);
  EXPECT_EQ(Current(s), u"hit");

  // A window that runs out starts the count again.
  WriteCharacter("T", Target(u"rub", u"", {Area(u"body", u"RECT", 0, 0, 32, 32),
                                            Event(u"rub", u"STROKE_CURSOR", u"body", u"hit")}));
  CCharacter& t = Start("T");
  Frames(t, 1);
  auto moveT = [&](int x, int y) {
    PointAt(x, y);
    Windows().DeliverMouse(*t.Window(), ELayeredMouse::SetCursor, 0, 0);
  };
  for (int i = 0; i < 10; ++i) moveT(101 + i, 205);
  Frames(t, 31);
  for (int i = 0; i < 6; ++i) moveT(101 + i, 215);
  Frames(t, 1);
  EXPECT_EQ(Current(t), u"start");
}

std::vector<STestBlock> Toucher(const std::u16string& target, const std::u16string& myType,
                                const std::u16string& x) {
  return {kStand,
          FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand", u"PosX=" + x, u"PosY=232",
                                   u"ListHitEvent=meet", u"ListHitArea=skin"}),
          FunctionBlock(u"met", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand", u"PosX=target.X+target.Width",
                                 u"PosY=232"}),
          Area(u"skin", myType, 0, 0, 32, 32),
          Event(u"meet", u"HIT_CHARA", u"skin", u"met", {u"TargetID=" + target, u"TargetHitArea=skin"})};
}

TEST_F(HitTesting, CharactersWhoseAreasTouchAtAnEdgeMeetByGroupCharaOrAll) {
  int round = 0;
  for (const char16_t* id : {u"ALL", u"friends", u"bee"}) {
    characters_.Clear();
    const std::string nameA = "A" + std::to_string(round);
    const std::string nameB = "B" + std::to_string(round++);
    // A stands on 100..132, B on 132..164: their areas share the column x = 132.
    WriteCharacter(nameA, Toucher(id, u"RECT", u"116"), "GroupID=people\nCharaID=ay\n");
    WriteCharacter(nameB, Toucher(u"nobody", u"RECT", u"148"), "GroupID=friends\nCharaID=bee\n");
    CCharacter& a = Start(nameA);
    CCharacter& b = Start(nameB);
    a.HitTest().SetUp(characters_);
    b.HitTest().SetUp(characters_);
    Frames(a, 1);
    Frames(b, 1);
    Frames(a, 2);
    EXPECT_EQ(Current(a), u"met") << ToUtf8(id);
    // target.X + target.Width is B's right edge, 164.
    EXPECT_DOUBLE_EQ(a.Mover().GetX(), 164.0) << ToUtf8(id);
    EXPECT_EQ(Current(b), u"start");  // B targets nobody, and never itself
  }
}

TEST_F(HitTesting, AnOutRectAreaOfTheTargetMeetsWhatDoesNotOverlapIt) {
  WriteCharacter("A", Toucher(u"ALL", u"RECT", u"116"));
  WriteCharacter("B", Toucher(u"nobody", u"OUT_RECT", u"500"));
  CCharacter& a = Start("A");
  CCharacter& b = Start("B");
  a.HitTest().SetUp(characters_);
  Frames(b, 1);
  Frames(a, 3);
  EXPECT_EQ(Current(a), u"met");
}

TEST_F(HitTesting, APendingTransitionSuppressesTheFrameTest) {
  WriteCharacter("A", Target(u"rest", u"", {Area(u"body", u"RECT", 0, 0, 32, 32),
                                             Event(u"rest", u"HIT_CURSOR", u"body", u"hit"),
                                             FunctionBlock(u"custom", {u"FuncType=CUSTOM_EVENT", u"FuncNameMotion=stand",
                                                                       u"TimerFrame=1", u"FuncListTimer=start"})}));
  CCharacter& a = Start("A");
  Frames(a, 1);
  PointAt(110, 210);
  // A custom request sits in the slots when the frame test would run: nothing fires.
  a.CustomItem();
  EXPECT_EQ(a.HitTest().FrameTest(), nullptr);
  Frames(a, 1);
  EXPECT_EQ(Current(a), u"custom");
}

TEST_F(HitTesting, TheCursorFollowsAreasFunctionsTheMouseModeAndTheHiddenMark) {
  folder_.WriteCursor("C", "area.cur");
  folder_.WriteCursor("C", "own.cur");
  folder_.WriteCursor("C", "normal.cur");
  folder_.WriteCursor("C", "off.cur");
  WriteCharacter("C",
                 {kStand,
                  FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand", u"PosX=116", u"PosY=232",
                                           u"ListHitEvent=press", u"CursorName=own.cur"}),
                  FunctionBlock(u"plain", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand"}),
                  Area(u"head", u"RECT", 0, 0, 32, 8),
                  Event(u"press", u"CLICK_L_BUTTON", u"head", u"plain", {u"CursorName=area.cur"})},
                 "NormalCursor=normal.cur\nDisabledCursor=off.cur\n");
  CCharacter& c = Start("C");
  Frames(c, 1);
  auto shown = [&](int x, int y) {
    PointAt(x, y);
    Windows().DeliverMouse(*c.Window(), ELayeredMouse::SetCursor, 0, 0);
    const std::vector<std::string> lines = Platform().TraceLines();
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
      if (line->find("\"event\":\"cursor\"") == std::string::npos) continue;
      const size_t at = line->find("\"cursor\":\"") + 10;
      return line->substr(at, line->find('"', at) - at);
    }
    return std::string("none");
  };
  EXPECT_EQ(shown(110, 202), "area.cur");  // over the click area
  EXPECT_EQ(shown(110, 225), "own.cur");   // elsewhere: the function's own
  c.SetMouseMode(2);
  EXPECT_EQ(shown(110, 225), "off.cur");
  c.SetMouseMode(1);
  c.ToggleHidden();  // hiding clears the accepts-mouse mark
  EXPECT_EQ(shown(110, 226), "off.cur");
  Frames(c, 2);
  c.ToggleHidden();  // shown again, through the edge function "plain", which has no cursor
  Frames(c, 2);
  EXPECT_EQ(Current(c), u"plain");
  EXPECT_EQ(shown(110, 225), "normal.cur");
}

}  // namespace
