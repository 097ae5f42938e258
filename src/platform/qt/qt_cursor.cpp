#include "platform/qt/qt_cursor.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include "media/cursor_image.h"

CQtCursor::CQtCursor() {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Step(); });
}

CQtCursor::~CQtCursor() {
  if (overriding_ && qGuiApp != nullptr) QGuiApplication::restoreOverrideCursor();
}

void CQtCursor::Show(const SCursorImage* image) {
  if (image == shown_) return;
  timer_.stop();
  shown_ = image;
  frames_.clear();
  if (image == nullptr || image->frames.empty() || image->steps.empty()) {
    shown_ = nullptr;
    if (overriding_) QGuiApplication::restoreOverrideCursor();
    overriding_ = false;
    return;
  }
  for (const SCursorFrame& frame : image->frames) {
    const QImage pixels(reinterpret_cast<const uchar*>(frame.image.Pixels()), frame.image.Width(),
                        frame.image.Height(), frame.image.Width() * 4, QImage::Format_ARGB32_Premultiplied);
    // fromImage copies the pixels: the cursor does not depend on the image's storage.
    frames_.emplace_back(QPixmap::fromImage(pixels), frame.hotspotX, frame.hotspotY);
  }
  step_ = image->steps.size() - 1;  // Step moves on to the first
  Step();
}

void CQtCursor::Step() {
  if (shown_ == nullptr) return;
  step_ = (step_ + 1) % shown_->steps.size();
  const SCursorStep& step = shown_->steps[step_];
  const QCursor& cursor = frames_[static_cast<size_t>(step.frame) < frames_.size() ? step.frame : 0];
  if (overriding_) {
    QGuiApplication::changeOverrideCursor(cursor);
  } else {
    QGuiApplication::setOverrideCursor(cursor);
    overriding_ = true;
  }
  if (shown_->steps.size() > 1 && step.durationMs > 0) timer_.start(static_cast<int>(step.durationMs));
}
