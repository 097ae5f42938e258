// Dialogs, the move-range window and the topmost band on the headless platform: modal
// dialogs stay open until ended, the active one is the one scripted input reaches, the
// move-range window takes its handler's answers, and owned windows follow their owner
// between bands.
#include <gtest/gtest.h>

#include "platform/dialog_model.h"
#include "platform/headless/headless_main_window.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_ui.h"
#include "platform/headless/input_player.h"
#include "platform/headless/layered_windows.h"
#include "recording_handler.h"
#include "temp_folder.h"

namespace {

using Events = std::vector<std::string>;

class CLoggingDialogHandler : public IDialogHandler {
 public:
  CLoggingDialogHandler(CEventLog& log, std::string name) : log_(log), name_(std::move(name)) {}
  void OnOpened(IDialog& opened) override {
    dialog = &opened;
    log_.Add(name_ + " opened");
  }
  void OnLinkClicked(IDialog&, int controlId) override { log_.Add(name_ + " link " + std::to_string(controlId)); }
  void OnEnded(IDialog&, int result) override { log_.Add(name_ + " ended " + std::to_string(result)); }
  IDialog* dialog = nullptr;

 private:
  CEventLog& log_;
  std::string name_;
};

// Answers every drag by keeping the left edge at 0 or more, and logs presses.
class CLoggingAreaHandler : public IAreaWindowHandler {
 public:
  explicit CLoggingAreaHandler(CEventLog& log) : log_(log) {}
  SRect OnMoving(const SRect& proposed) override {
    log_.Add("moving " + std::to_string(proposed.left) + "," + std::to_string(proposed.top) + " " +
             std::to_string(proposed.Width()) + "x" + std::to_string(proposed.Height()));
    SRect kept = proposed;
    if (kept.left < 0) {
      kept.right -= kept.left;
      kept.left = 0;
    }
    return kept;
  }
  SRect OnSizing(const SRect& proposed) override {
    log_.Add("sizing " + std::to_string(proposed.right) + "," + std::to_string(proposed.bottom));
    return proposed;
  }
  void OnButton(int buttonId) override { log_.Add("button " + std::to_string(buttonId)); }

 private:
  CEventLog& log_;
};

SDialogModel Dialog(int id, bool withLink) {
  SDialogModel dialog;
  dialog.resourceId = id;
  dialog.title = u"About";
  SDialogControl text;
  text.id = 1001;
  text.text = u"text";
  dialog.controls.push_back(text);
  if (withLink) {
    SDialogControl link;
    link.id = 1017;
    link.kind = EDialogControl::Link;
    link.url = u"https://example.org";
    dialog.controls.push_back(link);
  }
  return dialog;
}

class HeadlessDialogsTest : public ::testing::Test {
 protected:
  CTempFolder dir;
  CHeadlessPlatform platform{[this] {
    SHeadlessOptions options;
    options.runtimeDir = dir.NativeString();
    return options;
  }()};
  IUserInterface& ui = platform.Ui();
  CHeadlessDialogs& dialogs = platform.HeadlessUi().Dialogs();
  CEventLog log{platform.Clock()};
  CRecordingHandler handler{log};
  CRecordingLayeredHandler layeredHandler{log};
  IMainWindow* window = ui.CreateMainWindow({u"main", false}, handler);
  Events ignored;

  void Play(std::string_view script) {
    SInputScript parsed = ParseInputScript(script);
    ASSERT_EQ(parsed.error, "");
    CInputPlayer player(platform, std::move(parsed.commands), [this](const SInputCommand& command, const char* why) {
      ignored.push_back(std::to_string(command.line) + " " + why);
    });
    player.RunFrame(1000);
  }
};

TEST_F(HeadlessDialogsTest, ModalDialogsStayOpenUntilEndedAndTheActiveOneTakesTheInput) {
  CLoggingDialogHandler first(log, "first");
  CLoggingDialogHandler second(log, "second");
  Play("0 dialog-ok\n0 dialog-link\n");
  ui.RunModalDialog(Dialog(103, true), *window, first);
  ui.RunModalDialog(Dialog(157, false), *window, second);
  ASSERT_EQ(dialogs.OpenDialogs().size(), 2u);
  EXPECT_EQ(dialogs.OpenDialogs().back()->Model().resourceId, 157);

  Play("0 dialog-link\n");  // the active dialog has none
  first.dialog->BringToFront();
  Play("0 dialog-link\n0 dialog-ok\n0 dialog-ok\n0 dialog-ok\n");
  EXPECT_TRUE(dialogs.OpenDialogs().empty());
  // An ended dialog ignores what the core still asks of it.
  first.dialog->End(1);
  first.dialog->BringToFront();
  EXPECT_TRUE(dialogs.OpenDialogs().empty());

  EXPECT_EQ(ignored, (Events{"1 no dialog is open", "2 no dialog is open", "1 the dialog has no link",
                             "4 no dialog is open"}));
  EXPECT_EQ(log.Events(), (Events{"0 create", "0 first opened", "0 second opened", "0 first link 1017",
                                  "0 first ended 1", "0 second ended 1"}));
  ui.OpenUrl(u"https://example.org");
  EXPECT_EQ(dialogs.OpenedUrls(), std::vector<std::u16string>{u"https://example.org"});
}

TEST_F(HeadlessDialogsTest, DialogsGoAwayWithTheirOwner) {
  CLoggingDialogHandler owned(log, "owned");
  ui.RunModalDialog(Dialog(103, false), *window, owned);
  window->Destroy();
  EXPECT_TRUE(dialogs.OpenDialogs().empty());
  EXPECT_EQ(log.Events(), (Events{"0 create", "0 owned opened", "0 owned ended 0", "0 destroy"}));
}

TEST_F(HeadlessDialogsTest, TheMoveRangeWindowShowsItsViewAndTakesTheHandlersAnswers) {
  CLoggingAreaHandler areaHandler(log);
  IAreaWindow* area = ui.CreateAreaWindow(*window, areaHandler);
  ASSERT_NE(area, nullptr);
  Play("0 area-move 1 1\n");
  SAreaView view;
  view.rect = {100, 50, 500, 450};
  view.buttons.push_back({0, u"決定", {}});
  area->Show(view);
  const CHeadlessAreaWindow& shown = *dialogs.AreaWindow();
  EXPECT_TRUE(shown.Visible());
  EXPECT_TRUE(shown.Topmost());

  Play("0 area-move -30 60\n0 area-size 10 20 700 800\n0 area-button 0\n0 area-button 2\n");
  EXPECT_EQ(shown.View().rect.left, 10);
  EXPECT_EQ(shown.View().rect.bottom, 800);
  area->Hide();
  Play("0 area-button 0\n");
  area->Show(view);
  area->Destroy();
  Play("0 area-button 0\n");

  EXPECT_EQ(log.Events(), (Events{"0 create", "0 moving -30,60 400x400", "0 sizing 700,800", "0 button 0"}));
  EXPECT_EQ(ignored, (Events{"1 the move-range window is not showing", "4 the move-range window has no such button",
                             "1 the move-range window is not showing", "1 the move-range window is not showing"}));
}

TEST_F(HeadlessDialogsTest, OwnedWindowsFollowTheirOwnerBetweenBands) {
  CRecordingHandler otherHandler(log);
  IMainWindow* other = ui.CreateMainWindow({u"", false}, otherHandler);
  CHeadlessLayeredWindows& layered = platform.Layered();
  ILayeredWindow* first = layered.Create(*window, u"", layeredHandler);
  ILayeredWindow* foreign = layered.Create(*other, u"", layeredHandler);
  ILayeredWindow* second = layered.Create(*window, u"", layeredHandler);
  ILayeredWindow* pinned = layered.Create(*other, u"", layeredHandler);
  pinned->SetTopmost(true);

  window->SetTopmost(true);
  EXPECT_TRUE(static_cast<CHeadlessMainWindow*>(window)->Topmost());
  EXPECT_EQ(layered.StackingOrder(), (std::vector<ILayeredWindow*>{foreign, pinned, first, second}));
  // A window made now starts in its owner's band.
  ILayeredWindow* later = layered.Create(*window, u"", layeredHandler);
  EXPECT_TRUE(layered.State(*later).topmost);
  EXPECT_FALSE(layered.State(*foreign).topmost);

  window->SetTopmost(false);
  EXPECT_EQ(layered.StackingOrder(), (std::vector<ILayeredWindow*>{foreign, first, second, later, pinned}));
  EXPECT_FALSE(layered.State(*second).topmost);
  EXPECT_FALSE(layered.State(*layered.Create(*window, u"", layeredHandler)).topmost);
}

}  // namespace
