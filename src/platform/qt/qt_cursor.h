#pragma once
// The mouse cursor on Qt: our decoded cursor images (static or animated) as the
// application's cursor, over every window of the program, or the system arrow.
#include <QCursor>
#include <QTimer>
#include <vector>

struct SCursorImage;

class CQtCursor {
 public:
  CQtCursor();
  ~CQtCursor();
  CQtCursor(const CQtCursor&) = delete;
  CQtCursor& operator=(const CQtCursor&) = delete;

  // Shows `image` (null: the system arrow). The image must stay alive while it shows.
  // GUI thread. Costs a conversion of its frames when the image changes.
  void Show(const SCursorImage* image);

 private:
  void Step();

  const SCursorImage* shown_ = nullptr;
  std::vector<QCursor> frames_;
  size_t step_ = 0;
  bool overriding_ = false;
  QTimer timer_;
};
