// A character's balloon at work: calls of each kind while it is busy, chaining, the
// closed balloon, the opening animation, waiting text, and the character's end.
#include "balloon_fixture.h"

namespace {

constexpr const char16_t* kHidden = u"|BALLOON_ORDER_OBJECT_HIDE|";

class BalloonFlow : public BalloonFixture {};

TEST_F(BalloonFlow, ANormalCallWhileBusyIsLostAndTheLastWaitingCallFollows) {
  CCharacter& character = StartWithBalloons(
      "Talker", {BalloonBlock(u"talk", {u"Open()", u"\"0123456789\""}),
                 BalloonBlock(u"other", {u"\"x\""}),
                 BalloonBlock(u"first", {u"\"y\""}, {u"CallType=WAIT"}),
                 BalloonBlock(u"second", {u"\"z\""}, {u"CallType=WAIT"})});
  Frames(character, 1);
  CBalloon& balloon = Main();
  balloon.Call(IdOf(character, u"talk"));
  Frames(character, 3);
  EXPECT_FALSE(balloon.Idle());
  balloon.Call(IdOf(character, u"other"));   // lost
  balloon.Call(IdOf(character, u"first"));   // replaced by the next one
  balloon.Call(IdOf(character, u"second"));
  EXPECT_EQ(balloon.WaitingCall(), IdOf(character, u"second"));
  Frames(character, 30);
  const std::vector<std::u16string> expected = {kHidden, u"talk", u"second", kHidden};
  EXPECT_EQ(BalloonsEntered(), expected);
  EXPECT_EQ(balloon.WaitingCall(), -1);
}

TEST_F(BalloonFlow, AForcedCallCutsTheTextOffAndStartsAgainEvenWhenItIsTheSame) {
  CCharacter& character = StartWithBalloons(
      "Forcer", {BalloonBlock(u"urgent", {u"Open()", u"\"0123456789\""}, {u"CallType=FORCE"})});
  Frames(character, 1);
  CBalloon& balloon = Main();
  balloon.Call(IdOf(character, u"urgent"));
  Frames(character, 8);
  EXPECT_GT(balloon.TextLayers()[0]->Shown(), 0);
  EXPECT_EQ(balloon.OpenStateValue(), BALLOON_OPEN);
  balloon.Call(IdOf(character, u"urgent"));
  EXPECT_EQ(balloon.OpenStateValue(), BALLOON_CLOSED);  // hidden at once
  Frames(character, 1);
  const std::vector<std::u16string> expected = {kHidden, u"urgent", u"urgent"};
  EXPECT_EQ(BalloonsEntered(), expected);
  EXPECT_EQ(balloon.TextLayers()[0]->Shown(), 0);
}

TEST_F(BalloonFlow, AFunctionWithoutTextChainsOnTheNextFrame) {
  CCharacter& character = StartWithBalloons(
      "Chainer", {BalloonBlock(u"silent", {}, {u"NextBalloonList=talk"}), BalloonBlock(u"talk", {u"\"a\""})});
  Frames(character, 1);
  Main().Call(IdOf(character, u"silent"));
  Frames(character, 1);
  EXPECT_EQ(BalloonsEntered().back(), u"silent");
  Frames(character, 1);
  EXPECT_EQ(BalloonsEntered().back(), u"talk");
}

TEST_F(BalloonFlow, AChainNamingTheShownFunctionKeepsItsTextStanding) {
  CCharacter& character = StartWithBalloons(
      "Stayer", {BalloonBlock(u"stay", {u"Open()", u"\"abc\""}, {u"NextBalloonList=stay"})});
  Frames(character, 1);
  CBalloon& balloon = Main();
  balloon.Call(IdOf(character, u"stay"));
  Frames(character, 90);
  // Entered once: the chain back to itself leaves the typed text standing, open.
  EXPECT_EQ(BalloonsEntered(), (std::vector<std::u16string>{kHidden, u"stay"}));
  EXPECT_EQ(balloon.TextLayers()[0]->Shown(), 3);
  EXPECT_EQ(balloon.OpenStateValue(), BALLOON_OPEN);
}

TEST_F(BalloonFlow, AWaitingCallOfTheShownFunctionIsNotEnteredAgain) {
  CCharacter& character = StartWithBalloons(
      "Holder", {BalloonBlock(u"hold", {u"Open()", u"\"xyzxyzxyz\""}, {u"CallType=WAIT"})});
  Frames(character, 1);
  CBalloon& balloon = Main();
  balloon.Call(IdOf(character, u"hold"));
  Frames(character, 1);
  EXPECT_FALSE(balloon.Idle());
  balloon.Call(IdOf(character, u"hold"));
  EXPECT_EQ(balloon.WaitingCall(), IdOf(character, u"hold"));
  Frames(character, 90);
  EXPECT_EQ(BalloonsEntered(), (std::vector<std::u16string>{kHidden, u"hold", kHidden}));
  EXPECT_EQ(balloon.WaitingCall(), -1);
}

TEST_F(BalloonFlow, AClosedBalloonShowsNothingUntilItsTextOpensIt) {
  CCharacter& character = StartWithBalloons(
      "Quiet", {BalloonBlock(u"quiet", {u"\"abc\"", u"Wait(30)"}), BalloonBlock(u"loud", {u"Open()", u"\"abc\"", u"Wait(30)"})});
  Frames(character, 1);
  CBalloon& balloon = Main();
  balloon.Call(IdOf(character, u"quiet"));
  Frames(character, 10);
  EXPECT_EQ(balloon.CurrentFunction()->name, u"quiet");
  EXPECT_FALSE(balloon.WindowVisible());
  EXPECT_FALSE(balloon.Window()->Visible());

  balloon.Call(IdOf(character, u"loud"));  // NORMAL while busy: lost
  Frames(character, 40);
  balloon.Call(IdOf(character, u"loud"));
  Frames(character, 2);
  EXPECT_TRUE(balloon.WindowVisible());
  EXPECT_TRUE(balloon.Window()->Visible());
  EXPECT_EQ(TraceCount("balloon-open"), 1u);
}

TEST_F(BalloonFlow, OpenWithoutArgumentsOpensInOneStepAndOpenTenGrowsOverTen) {
  CCharacter& character = StartWithBalloons(
      "Grower", {BalloonBlock(u"fast", {u"Open()", u"\"a\"", u"Wait(50)"}),
                 BalloonBlock(u"slow", {u"Open(10)", u"\"a\"", u"Wait(50)"}, {u"CallType=FORCE"})});
  Frames(character, 1);
  CBalloon& balloon = Main();
  balloon.Call(IdOf(character, u"fast"));
  Frames(character, 1);  // the text asks; the balloon starts opening
  EXPECT_EQ(balloon.OpenStateValue(), BALLOON_OPENING);
  Frames(character, 1);  // one growing step of 100 %
  EXPECT_EQ(balloon.OpenStateValue(), BALLOON_OPEN);
  EXPECT_EQ(balloon.DisplayedWidth(), 64);

  balloon.Call(IdOf(character, u"slow"));
  Frames(character, 2);
  EXPECT_EQ(balloon.OpenStateValue(), BALLOON_OPENING);
  EXPECT_NEAR(balloon.Mover().SizeFactor(), 0.1, 1e-9);
  EXPECT_DOUBLE_EQ(balloon.Mover().OpacityFactor(), 1.0);  // the opacity is there at once
  Frames(character, 8);
  EXPECT_EQ(balloon.OpenStateValue(), BALLOON_OPENING);
  Frames(character, 1);
  EXPECT_EQ(balloon.OpenStateValue(), BALLOON_OPEN);
}

TEST_F(BalloonFlow, TextEndingInAWaitKeepsTheBalloonBusyThenItCloses) {
  CCharacter& character =
      StartWithBalloons("Waiter", {BalloonBlock(u"pause", {u"Open()", u"SetSpeed(30)", u"\"ab\"", u"Wait(10)", u"Close()"})});
  Frames(character, 1);
  CBalloon& balloon = Main();
  balloon.Call(IdOf(character, u"pause"));
  Frames(character, 12);
  EXPECT_FALSE(balloon.Idle());
  EXPECT_EQ(balloon.OpenStateValue(), BALLOON_OPEN);
  Frames(character, 10);
  EXPECT_TRUE(balloon.Idle());
  EXPECT_EQ(balloon.OpenStateValue(), BALLOON_CLOSED);
  EXPECT_EQ(balloon.EnteredId(), kHiddenBalloonId);
  EXPECT_EQ(TraceCount("balloon-close"), 1u);
}

TEST_F(BalloonFlow, TheCharactersEndClosesItsBalloonIntoTheHiddenFunction) {
  CCharacter& character = StartWithBalloons("Ender", {BalloonBlock(u"talk", {u"Open()", u"\"0123456789\"", u"Wait(100)"})});
  Frames(character, 1);
  CBalloon& balloon = Main();
  balloon.Call(IdOf(character, u"talk"));
  Frames(character, 5);
  ASSERT_EQ(balloon.RunState(), CBalloon::kActive);
  character.RequestEnding();
  Frames(character, 3);
  EXPECT_EQ(balloon.RunState(), CBalloon::kHidden);
  EXPECT_EQ(balloon.EnteredId(), kHiddenBalloonId);
  EXPECT_FALSE(balloon.Window()->Visible());
}

TEST_F(BalloonFlow, EnteringAFunctionCallsItsBalloonAndTracesTheText) {
  CCharacter& character = StartWithBalloons("Greeter", {BalloonBlock(u"hello", {u"Open()", u"\"Hi!\""})},
                                            {u"CallBalloonList=hello"});
  Frames(character, 5);  // opening takes two frames, the text starts on the fourth
  EXPECT_EQ(BalloonsEntered().back(), u"hello");
  bool traced = false;
  for (const std::string& line : Platform().TraceLines()) {
    traced |= line.find("\"event\":\"text\"") != std::string::npos && line.find("\"text\":\"Hi!\"") != std::string::npos &&
              line.find("\"layer\":0") != std::string::npos && line.find("\"function\":\"hello\"") != std::string::npos;
  }
  EXPECT_TRUE(traced);
  // The balloon stands at the character's position plus its offset (0, 0 here).
  Frames(character, 3);
  EXPECT_EQ(Main().PaintedX(), static_cast<int>(character.Mover().GetX()));
  EXPECT_EQ(Main().PaintedY(), static_cast<int>(character.Mover().GetY()));
}

}  // namespace

namespace {

TEST_F(BalloonFlow, BalloonMusicPlaysOnItsOwnChannelAndTheCharactersMuteSilencesIt) {
  WriteWithBalloons("Singer", {BalloonBlock(u"song", {u"\"la\""}, {u"SoundNameBgm=tune.wav", u"CallType=FORCE"})});
  folder_.WriteSound("Singer", "tune.wav");
  CCharacter& character = Start("Singer");
  Frames(character, 1);
  Main().Call(IdOf(character, u"song"));
  Frames(character, 1);
  EXPECT_EQ(TraceCount("sound"), 1u);
  bool onSix = false;
  for (const std::string& line : Platform().TraceLines()) {
    onSix |= line.find("\"event\":\"sound\"") != std::string::npos && line.find("\"channel\":6") != std::string::npos;
  }
  EXPECT_TRUE(onSix);
  // Muting stops the looping music through the ordinary stop, which the trace records.
  character.ToggleMute();
  EXPECT_EQ(TraceCount("sound-stop"), 1u);
  EXPECT_NE(Platform().TraceLines().back().find("\"channel\":6"), std::string::npos);
  Main().Call(IdOf(character, u"song"));
  Frames(character, 1);
  EXPECT_EQ(TraceCount("sound"), 1u);  // muted: the balloon is silent too
}

}  // namespace
