#pragma once
// Dialogs, web links and message boxes on Qt Widgets. A dialog of the core shows as a
// top-level QDialog that stays on top but does not block: RunModal returns once it
// shows, and the dialog stays open across frames until a button, the title bar's close
// box, Escape, the core or its owner's going ends it. The IDialog objects stay valid
// (and inert once ended) for the life of CQtDialogs. A message box does block, in a
// nested event loop, as the system's message box does. Main (GUI) thread only; a
// QApplication must exist while these are used, and CQtDialogs must go before it.
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_model.h"
#include "platform/user_interface.h"

class QDialog;
class QString;
class CQtDialogWidget;

class CQtDialog final : public IDialog {
 public:
  CQtDialog(const SDialogModel& model, IDialogHandler& handler);
  ~CQtDialog() override;
  CQtDialog(const CQtDialog&) = delete;
  CQtDialog& operator=(const CQtDialog&) = delete;

  void BringToFront() override;
  void End(int result) override;

  // Whether the dialog is still open (shown and not ended).
  bool Open() const { return !ended_; }
  const SDialogModel& Model() const { return model_; }
  // The dialog's window while it is open, null once it has ended. Tests find its
  // controls with findChildren; every control's widget carries its id in the dynamic
  // property "controlId".
  QDialog* Widget() const;

  // Used by CQtDialogs and the dialog's window.
  void Show();
  void LinkClicked(int controlId);
  void WidgetDestroyed();
  // Deletes the window without telling the handler: the platform is going away.
  void Discard();

 private:
  SDialogModel model_;  // a copy; the picture pixels are copied into the window
  IDialogHandler& handler_;
  CQtDialogWidget* widget_ = nullptr;
  bool ended_ = false;
};

class CQtDialogs {
 public:
  CQtDialogs() = default;
  ~CQtDialogs();
  CQtDialogs(const CQtDialogs&) = delete;
  CQtDialogs& operator=(const CQtDialogs&) = delete;

  // Shows `dialog` at its bounds and returns at once; the handler hears OnOpened before
  // this returns, then link clicks, then OnEnded once.
  void RunModal(const SDialogModel& dialog, IDialogHandler& handler);
  // The owner has gone: every open dialog ends with 0, the newest first.
  void OwnerGone();
  // Asks the system to open `url` when it is an http:// or https:// address and returns
  // what the system answered; anything else is refused with a line on stderr and false.
  bool OpenUrl(const std::u16string& url);
  // A modal message box with one OK button; returns once the user has closed it. Also
  // writes `messagebox "<caption>" "<text>"` to stderr, as the headless platform does.
  void MessageBox(const std::u16string& text, const std::u16string& caption, EMessageBoxIcon icon);

  // For tests: the dialogs still open, oldest first.
  std::vector<CQtDialog*> OpenDialogs() const;

 private:
  std::vector<std::unique_ptr<CQtDialog>> dialogs_;  // every dialog made, kept valid
};

// A link control's anchor markup (`text <a href="…">link</a> text`, as the system's
// link control reads it) as Qt rich text: the anchors become links, everything else,
// anchor texts included, shows as plain text, so the markup cannot bring in other HTML.
QString LinkMarkupToRichText(const std::u16string& markup);
