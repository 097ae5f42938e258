#pragma once
// Dialogs as plain data. The core fills in a dialog's title, place and controls; a
// backend shows it, reports link clicks and the dialog's end to a handler, and lets the
// core bring it forward. The move-range window is data of the same kind: a rectangle the
// core clamps, two lines of text and four buttons; the backend shows it semi-transparent
// and reports the user's drags and button presses.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/geometry.h"

enum class EDialogControl { Static, Link, List, Picture, Button };

// A picture control's image: premultiplied 0xAARRGGBB, rows top to bottom, `width`
// pixels apart. The pixels belong to the core and live as long as the dialog.
struct SDialogImage {
  const uint32_t* pixels = nullptr;  // null: an empty picture
  int width = 0;
  int height = 0;
};

struct SDialogControl {
  int id = -1;  // -1: a label without an id of its own
  EDialogControl kind = EDialogControl::Static;
  SRect bounds;  // client pixels
  // Static and button: the text shown. Link: anchor markup, <a href="…">…</a>. List: the
  // title of its one column.
  std::u16string text;
  std::u16string url;                // link: the address a click opens
  int columnWidth = 0;               // list: the width of its column in pixels
  std::vector<std::u16string> rows;  // list: one entry a row
  SDialogImage image;                // picture
};

struct SDialogModel {
  int resourceId = 0;  // which dialog: 103 the application's about box, 157 a character's
  std::u16string title;
  std::u16string fontFace;
  int fontPoints = 9;
  SRect bounds;  // desktop pixels
  std::vector<SDialogControl> controls;  // in tab order
};

// The texts of the controls, in control order.
std::vector<std::u16string> DialogTexts(const SDialogModel& dialog);

// An open dialog, as the backend keeps it. The object stays valid for the life of the
// platform; once the dialog has ended its calls do nothing.
class IDialog {
 public:
  virtual ~IDialog() = default;
  // Brings the dialog to the foreground. Main thread.
  virtual void BringToFront() = 0;
  // Ends the dialog as a button with id `result` would; the handler hears OnEnded.
  virtual void End(int result) = 0;
};

// The dialog procedure, implemented by the core. Every call arrives on the main thread.
class IDialogHandler {
 public:
  virtual ~IDialogHandler() = default;
  // The dialog exists and shows: the first call of every dialog.
  virtual void OnOpened(IDialog& dialog) = 0;
  // The link control `controlId` was clicked.
  virtual void OnLinkClicked(IDialog& dialog, int controlId) = 0;
  // The dialog has ended: `result` is the id of its button (1 OK, 2 cancel), 0 when it
  // went away with its owner. The last call for this dialog.
  virtual void OnEnded(IDialog& dialog, int result) = 0;
};

// One line of the move-range window's text, centred on `centreX` with its top at `top`
// (client pixels).
struct SAreaText {
  std::u16string text;
  int centreX = 0;
  int top = 0;
};

struct SAreaButton {
  int id = 0;
  std::u16string text;
  SRect bounds;  // client pixels
};

// What the move-range window shows.
struct SAreaView {
  std::u16string title;
  SRect rect;                // desktop pixels
  uint8_t opacity = 255;     // the window's constant alpha
  std::vector<SAreaText> lines;
  std::vector<SAreaButton> buttons;
};

// The move-range window's procedure, implemented by the core; main thread.
class IAreaWindowHandler {
 public:
  virtual ~IAreaWindowHandler() = default;
  // The user drags the window to `proposed`; returns where it may go (same size).
  virtual SRect OnMoving(const SRect& proposed) = 0;
  // The user drags a border, giving `proposed`; returns the rectangle it may have.
  virtual SRect OnSizing(const SRect& proposed) = 0;
  // Button `buttonId` was pressed.
  virtual void OnButton(int buttonId) = 0;
};

class IAreaWindow {
 public:
  virtual ~IAreaWindow() = default;
  // Shows the window topmost as `view` says, or brings a shown one up to date: its
  // rectangle, texts and buttons. Main thread.
  virtual void Show(const SAreaView& view) = 0;
  virtual void Hide() = 0;
  // Destroys the window; afterwards it is inert and its handler is never called again.
  virtual void Destroy() = 0;
};
