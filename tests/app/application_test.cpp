#include <gtest/gtest.h>

#include "app/application.h"
#include "app_fakes.h"
#include "window/command_ids.h"

namespace {

TEST(Application, BuildWarmsUpTheSoundOutputAndDecodesTheLogo) {
  FakeMainWindow window;
  FakeAudio audio;
  CApplication app(window, audio, SRect{0, 0, 800, 600}, {u"one"}, 1);
  app.Build();
  EXPECT_EQ(audio.opens, 1);  // refused here, which must not stop the build
  ASSERT_NE(app.Logo(), nullptr);
  EXPECT_EQ(app.Logo()->Width(), 185);
  EXPECT_EQ(app.Logo()->Height(), 40);
  EXPECT_EQ(app.MoveRange().left, -100);
  EXPECT_EQ(app.MoveRange().bottom, -100);
}

TEST(Application, CommandsItDoesNotCarryOutAreNotReportedAsDone) {
  FakeMainWindow window;
  FakeAudio audio;
  CApplication app(window, audio, SRect{0, 0, 800, 600}, {u"one"}, 1);
  EXPECT_TRUE(app.HandleCommand(kCmdExit));
  EXPECT_TRUE(app.HandleCommand(kCmdCharacterFirst));  // no character created yet: nothing to toggle
  EXPECT_FALSE(app.HandleCommand(kCmdQuitNow));          // the main window's own command
  EXPECT_FALSE(app.HandleCommand(12345));
}

}  // namespace
