// What a character keeps and shows: its saved state across runs, its menu, and the
// pictures it presents.
#include "chara_fixture.h"
#include "window/command_ids.h"

namespace {

const STestBlock kStand = MotionBlock(u"stand", u"body.png", 32, 32, {u"0,0,0,0,1"});

using CharacterState = CharaFixture;

std::vector<STestBlock> Stander() {
  return {kStand, FunctionBlock(u"appear", {u"FuncType=START_EVENT", u"FuncNameMotion=stand"})};
}

TEST_F(CharacterState, ThePlaceLineMuteAndHiddenMarkComeBackInTheNextRun) {
  WriteCharacter("S", Stander(), "LineHeight=200\n");
  {
    CCharacter& s = Start("S");
    Frames(s, 1);
    s.Mover().SetPosition(123.75, 345.5);
    s.Mover().SetLine(2);
    s.ToggleMute();
    s.ToggleHidden();
    characters_.Clear();  // the character writes its state as it goes
  }
  CCharacter& again = Start("S");
  EXPECT_DOUBLE_EQ(again.Mover().GetX(), 123.0);
  EXPECT_DOUBLE_EQ(again.Mover().GetY(), 345.0);
  EXPECT_EQ(again.Mover().Line(), 2);
  EXPECT_TRUE(again.Muted());
  EXPECT_TRUE(again.Hidden());
  EXPECT_TRUE(again.Menu().FindById(kCmdToggleMute)->checked);
  // A hidden character rests in the hidden function until it is shown.
  Frames(again, 3);
  EXPECT_EQ(again.EnteredFunctionId(), kHiddenFunctionId);
  again.ToggleHidden();
  Frames(again, 1);
  EXPECT_EQ(Current(again), u"appear");
}

TEST_F(CharacterState, ACharacterThatFailedToLoadLeavesTheSavedStateAlone) {
  WriteCharacter("S", Stander());
  {
    CCharacter& s = Start("S");
    s.Mover().SetPosition(50, 60);
    characters_.Clear();
  }
  const std::string saved = ReadAppFile("Params/S.param");
  folder_.Write("S", "Scripts/test.func", "<FUNC_ORDER_REG>\n");  // no longer loads
  {
    Start("S");
    EXPECT_FALSE(host.errors.empty());
    characters_.Clear();
  }
  EXPECT_EQ(ReadAppFile("Params/S.param"), saved);
}

TEST_F(CharacterState, TheMenuHasItsItemsInOrderWithTheAboutItemAndTheChecks) {
  WriteCharacter("S", Stander(), "CharaName=Sam\n");
  CCharacter& s = Start("S");
  const std::vector<std::u16string> items = MenuTraceItems(s.Menu());
  ASSERT_GE(items.size(), 4u);
  EXPECT_EQ(items[0], u"32816 非表示");
  EXPECT_EQ(items[1], u"32883 サウンド（OFF）");
  EXPECT_EQ(items[2], u"157 Sam について");
  EXPECT_EQ(items[3], u"-");
  EXPECT_EQ(items[4], u"全体設定/倍率/32778 200%");
  EXPECT_NE(std::find(items.begin(), items.end(), u"全体設定/倍率/32782 100% +checked"), items.end());
  EXPECT_EQ(items[items.size() - 2], u"104 Zelvotta について");
  EXPECT_EQ(items.back(), u"32772 終了");
}

TEST_F(CharacterState, UnchangedFramesOnlyMoveTheWindowAndShowTheSamePixels) {
  const std::vector<STestBlock> blocks = {
      MotionBlock(u"anim", u"body.png", 32, 32, {u"0,0,2,0,3", u"32,0,2,1,2", u"0,32,0,0,4"}),
      STestBlock{u"IMAGE_LAYER_REG", {u"FuncName=spark", u"ImageName=body.png", u"Width=8", u"Height=8", u"PosX=4",
                                      u"PosY=2"}, {u"16,16,1,0,2", u"24,24,0,1,3"}},
      FunctionBlock(u"appear", {u"FuncType=START_EVENT", u"FuncNameMotion=anim", u"FuncNameImageLayer=spark",
                                u"PosX=100", u"PosY=100"})};
  WriteCharacter("P", blocks);
  WriteCharacter("Q", blocks);
  CCharacter& p = Start("P");
  CCharacter& q = Start("Q");
  q.SetComposeEveryFrame(true);
  uint64_t pUpdates = 0;
  for (int frame = 0; frame < 40; ++frame) {
    if (frame == 20) {
      p.ApplyScale(32780, 1.5);
      q.ApplyScale(32780, 1.5);
    }
    p.Update();
    q.Update();
    const CPixelSurface a = Windows().Pixels(*p.Window());
    const CPixelSurface b = Windows().Pixels(*q.Window());
    ASSERT_EQ(a.Width(), b.Width()) << frame;
    ASSERT_EQ(a.Height(), b.Height()) << frame;
    for (int y = 0; y < a.Height(); ++y) {
      ASSERT_TRUE(std::equal(a.Row(y), a.Row(y) + a.Width(), b.Row(y))) << "frame " << frame << " row " << y;
    }
    EXPECT_EQ(Windows().State(*p.Window()).position.x, Windows().State(*q.Window()).position.x);
    pUpdates = Windows().State(*p.Window()).updates;
  }
  EXPECT_EQ(pUpdates, 40u);  // every frame reached the window, moved or composed
}

}  // namespace

namespace {

TEST_F(CharacterState, AnOpenMenuStartsTheMenuFunctionAndItsClosingEndsIt) {
  WriteCharacter("M", {kStand, FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand"}),
                       FunctionBlock(u"menu", {u"FuncType=MENU_EVENT", u"FuncNameMotion=stand", u"FuncListEvent=back"}),
                       FunctionBlock(u"back", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand"})});
  CCharacter& m = Start("M");
  Frames(m, 1);
  ASSERT_TRUE(Windows().DeliverMouse(*m.Window(), ELayeredMouse::RightButtonDown, 4, 4));
  ASSERT_TRUE(Platform().Ui().IsPopupMenuShowing());
  Frames(m, 2);
  EXPECT_EQ(Current(m), u"menu");
  Frames(m, 3);  // stays while the menu shows
  EXPECT_EQ(Current(m), u"menu");
  EXPECT_EQ(Platform().HeadlessUi().CloseMenu(), nullptr);
  Frames(m, 2);
  EXPECT_EQ(Current(m), u"back");
  EXPECT_EQ(Entered(), (std::vector<std::u16string>{u"start", u"menu", u"back"}));
}

TEST_F(CharacterState, MusicStartsWithItsFunctionAndStopsWithTheNext) {
  folder_.WriteSound("S", "tune.wav");
  WriteCharacter("S", {kStand,
                       FunctionBlock(u"start", {u"FuncType=START_EVENT", u"FuncNameMotion=stand", u"SoundNameBgm=tune.wav",
                                                u"SoundLoop=1", u"TimerFrame=2", u"FuncListTimer=quiet"}),
                       FunctionBlock(u"quiet", {u"FuncType=NONE_EVENT", u"FuncNameMotion=stand"})});
  CCharacter& s = Start("S");
  Frames(s, 4);
  std::vector<std::string> sounds;
  for (const std::string& line : Platform().TraceLines()) {
    if (line.find("\"event\":\"sound") != std::string::npos) sounds.push_back(line);
  }
  ASSERT_EQ(sounds.size(), 2u);
  EXPECT_NE(sounds[0].find("\"event\":\"sound\",\"chara\":\"S\",\"channel\":1,\"file\":\"tune.wav\",\"loop\":true"),
            std::string::npos)
      << sounds[0];
  EXPECT_NE(sounds[1].find("\"event\":\"sound-stop\",\"chara\":\"S\",\"channel\":1"), std::string::npos) << sounds[1];
  // Muted, the character plays nothing.
  s.SetMute(true);
  EXPECT_TRUE(s.Menu().FindById(kCmdToggleMute)->checked);
}

}  // namespace
