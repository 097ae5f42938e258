#pragma once
// One about box at a time: runs its dialog, brings an open one forward instead of opening
// a second, opens its link's web address, and forgets the dialog when it ends.
#include "platform/dialog_model.h"

class IMainWindow;
class ITraceSink;
class IUserInterface;

class CAboutBox final : public IDialogHandler {
 public:
  CAboutBox(IUserInterface& ui, IMainWindow& owner, ITraceSink& trace) : ui_(ui), owner_(owner), trace_(trace) {}
  // An open dialog is cancelled.
  ~CAboutBox() override;
  CAboutBox(const CAboutBox&) = delete;
  CAboutBox& operator=(const CAboutBox&) = delete;

  // Brings the open dialog to the foreground; false when none is open.
  bool BringForward();
  // Runs `dialog` modally; the caller checked that none is open.
  void Run(SDialogModel dialog);

  void OnOpened(IDialog& dialog) override;
  void OnLinkClicked(IDialog& dialog, int controlId) override;
  void OnEnded(IDialog& dialog, int result) override;

 private:
  IUserInterface& ui_;
  IMainWindow& owner_;
  ITraceSink& trace_;
  SDialogModel model_;  // what the open dialog shows
  IDialog* dialog_ = nullptr;
};
