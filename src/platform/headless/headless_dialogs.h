#pragma once
// Dialogs and the move-range window without a display. A modal dialog is kept as a copy
// of its model and stays open across frames until scripted input or the core ends it;
// several may be open at once, the most recently opened or brought forward being the
// active one. Web addresses are recorded instead of opened. The move-range window keeps
// the view the core gave it; scripted drags and button presses reach its handler.
// Everything here is main thread only.
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_model.h"

class CHeadlessDialogs;
class IMainWindow;

class CHeadlessDialog final : public IDialog {
 public:
  CHeadlessDialog(CHeadlessDialogs& owner, const SDialogModel& model, IMainWindow& window,
                  IDialogHandler& handler)
      : owner_(owner), model_(model), window_(window), handler_(handler) {}

  void BringToFront() override;
  void End(int result) override;

  const SDialogModel& Model() const { return model_; }
  IMainWindow& Owner() const { return window_; }
  IDialogHandler& Handler() const { return handler_; }
  bool Open() const { return open_; }
  void SetClosed() { open_ = false; }

 private:
  CHeadlessDialogs& owner_;
  SDialogModel model_;
  IMainWindow& window_;
  IDialogHandler& handler_;
  bool open_ = true;
};

class CHeadlessAreaWindow final : public IAreaWindow {
 public:
  explicit CHeadlessAreaWindow(IAreaWindowHandler& handler) : handler_(handler) {}

  void Show(const SAreaView& view) override;
  void Hide() override { visible_ = false; }
  void Destroy() override;

  bool Alive() const { return alive_; }
  bool Visible() const { return visible_; }
  bool Topmost() const { return topmost_; }
  // The view the core gave last, its rectangle where the last drag left the window.
  const SAreaView& View() const { return view_; }
  // A drag or a press, as the system delivers it; the window takes the handler's answer.
  void Move(const SRect& proposed);
  void Size(const SRect& proposed);
  void Press(int buttonId) { handler_.OnButton(buttonId); }

 private:
  IAreaWindowHandler& handler_;
  SAreaView view_;
  bool visible_ = false;
  bool topmost_ = false;
  bool alive_ = true;
};

class CHeadlessDialogs {
 public:
  // IUserInterface's dialog, link and move-range window operations.
  void RunModal(const SDialogModel& dialog, IMainWindow& owner, IDialogHandler& handler);
  void OpenUrl(const std::u16string& url) { openedUrls_.push_back(url); }
  IAreaWindow* CreateAreaWindow(IAreaWindowHandler& handler);
  // The dialogs owned by `window` go away with it; their handlers hear OnEnded with 0.
  void OwnerDestroyed(const IMainWindow& window);

  // For tests and tools.
  // The open dialogs, the active one last.
  std::vector<const CHeadlessDialog*> OpenDialogs() const;
  // Every address a link click asked to open, in order.
  const std::vector<std::u16string>& OpenedUrls() const { return openedUrls_; }
  // The move-range window created last; null before the first.
  const CHeadlessAreaWindow* AreaWindow() const;

  // Scripted input. Each returns null when it acted, else why there was nothing to act on.
  // Ends the active dialog with OK (id 1).
  const char* PressOk();
  // Clicks the active dialog's link.
  const char* ClickLink();
  // Proposes moving the shown move-range window's top-left corner to `left`, `top`.
  const char* MoveArea(int left, int top);
  // Proposes a new rectangle for the shown move-range window.
  const char* SizeArea(const SRect& proposed);
  // Presses button `buttonId` (0 to 3) of the shown move-range window.
  const char* PressAreaButton(int buttonId);

  // Used by the dialogs.
  void BringToFront(CHeadlessDialog& dialog);
  void End(CHeadlessDialog& dialog, int result);

 private:
  CHeadlessDialog* Active() const { return open_.empty() ? nullptr : open_.back(); }
  CHeadlessAreaWindow* ShownArea() const;

  std::vector<std::unique_ptr<CHeadlessDialog>> dialogs_;  // every dialog made, kept valid
  std::vector<CHeadlessDialog*> open_;                     // the active one last
  std::vector<std::u16string> openedUrls_;
  std::vector<std::unique_ptr<CHeadlessAreaWindow>> areas_;
};
