#pragma once
// The mouse cursor on Windows: a character's cursor files loaded by the system itself
// (animated ones animate on their own), made from the decoded pixels when the system
// cannot read a file, and the standard arrow otherwise.
#include "platform/win32/win32_system.h"

#include <unordered_map>

struct SCursorImage;

class CWin32Cursor {
 public:
  CWin32Cursor();
  ~CWin32Cursor();
  CWin32Cursor(const CWin32Cursor&) = delete;
  CWin32Cursor& operator=(const CWin32Cursor&) = delete;

  // Shows `image` (null: the arrow). Main thread. The first use of an image costs a
  // file load; later ones a lookup.
  void Show(const SCursorImage* image);
  // The native cursor for `image`, made on first use; null when neither the file nor
  // the pixels give one.
  HCURSOR CursorFor(const SCursorImage& image);

 private:
  HCURSOR arrow_;
  std::unordered_map<const SCursorImage*, HCURSOR> cursors_;
  std::unordered_map<const SCursorImage*, HCURSOR> made_;  // ours to destroy
};
