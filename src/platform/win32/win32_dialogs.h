#pragma once
// The core's dialogs on Windows: each runs as a real modal dialog box built from an
// in-memory template, in the dialog manager's own message loop, with its controls made
// at their exact client pixels. RunModal returns once the dialog has ended. The IDialog
// objects stay valid (and inert once ended) for the life of CWin32Dialogs. Links are
// SysLink controls when the common controls provide them (version 6, through the
// program's manifest) and clickable static text otherwise. Main thread only.
#include "platform/win32/win32_system.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_model.h"

class CWin32Dialog;

// How link controls are made.
enum class ELinkControl {
  SysLinkWhenAvailable,  // a SysLink control, or static text when the class is missing
  StaticText,            // always the clickable static text
};

class CWin32Dialogs {
 public:
  // Registers the common controls the dialogs use.
  explicit CWin32Dialogs(ELinkControl links = ELinkControl::SysLinkWhenAvailable);
  ~CWin32Dialogs();
  CWin32Dialogs(const CWin32Dialogs&) = delete;
  CWin32Dialogs& operator=(const CWin32Dialogs&) = delete;

  // Runs `dialog` owned by `owner` (null: no owner), its client area at the model's
  // bounds, and returns once it has ended. The handler hears OnOpened once the controls
  // exist and the dialog shows, then link clicks, then OnEnded last: with the id of the
  // button pressed (Enter 1, Escape and the close box 2), the result End was given, or 0
  // when the dialog went away with its owner or the message loop's quit. When the system
  // makes no dialog, the handler hears nothing.
  void RunModal(const SDialogModel& dialog, HWND owner, IDialogHandler& handler);

  // Hands `url` to the shell's "open" when it is a web address (IsWebAddress) and
  // returns whether the shell took it; anything else is refused with a line on stderr.
  bool OpenUrl(const std::u16string& url);

 private:
  ELinkControl links_;
  std::vector<std::unique_ptr<CWin32Dialog>> dialogs_;  // every dialog run, kept valid
};

// Whether `url` is an http:// or https:// address (any letter case) with a host and no
// control characters: the only addresses given to the shell, which would also start
// programs and open files.
bool IsWebAddress(std::u16string_view url);

// The text a reader sees in SysLink markup: the anchor tags (<a …> and </a>, any letter
// case) are dropped, everything else, anchor texts included, stays as written.
std::u16string LinkMarkupPlainText(std::u16string_view markup);
