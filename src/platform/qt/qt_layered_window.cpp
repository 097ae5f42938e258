#include "platform/qt/qt_layered_window.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <cstring>

#include "platform/qt/frame_difference.h"
#include "platform/qt/qt_layered_widget.h"
#include "platform/qt/qt_layered_windows.h"
#include "platform/qt/qt_strings.h"
#include "platform/qt/x11_image.h"
#include "platform/qt/x11_shape.h"

namespace {

bool OnGuiThread() {
  return QCoreApplication::instance() != nullptr &&
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

// The smallest rectangle holding both.
SRect BoundsOfBoth(const SRect& a, const SRect& b) {
  if (a.Height() <= 0) return b;
  if (b.Height() <= 0) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

CQtLayeredWindow::CQtLayeredWindow(CQtLayeredWindows& windows, IMainWindow& owner, const std::u16string& title,
                                   ILayeredWindowHandler& handler, bool topmost)
    : windows_(windows), owner_(owner), handler_(handler), topmost_(topmost) {
  widget_ = new CQtLayeredWidget(*this);
  widget_->setWindowTitle(ToQString(title));
  widget_->setGeometry(0, 0, 1, 1);
  pending_.pixels.assign(1, 0u);
  shown_.pixels.assign(1, 0u);
  // The native window exists from now on, so the census counts it while it is hidden.
  (void)widget_->winId();
  ApplyX11Shape(NativeId(), appliedShape_, windows_.BoundingShapes());
  shapeApplied_ = true;
  boundingApplied_ = windows_.BoundingShapes();
  if (X11ShapesAvailable()) {
    qtEventMask_ = QtX11EventMask(NativeId());
    SetX11StructureEvents(NativeId(), qtEventMask_, false);
    image_ = std::make_unique<CX11WindowImage>(NativeId());
    // Qt's backing store misses the pixels put past it: when the server asks for the
    // window's pixels, Qt paints them anew instead of sending its old copy.
    if (image_->Ready()) widget_->RepaintWhenExposed();
  }
}

template <typename Call>
void CQtLayeredWindow::WithQtGeometry(Call call) {
  if (qtEventMask_ == 0) {
    call();
    return;
  }
  SetX11StructureEvents(NativeId(), qtEventMask_, true);
  call();
  // Qt's idea of the place may be old (our moves pass it by): put the window back where
  // the last frame put it.
  MoveX11Window(NativeId(), shownPosition_.x, shownPosition_.y);
  SetX11StructureEvents(NativeId(), qtEventMask_, false);
}

CQtLayeredWindow::~CQtLayeredWindow() { delete widget_; }

uint32_t CQtLayeredWindow::NativeId() const {
  return widget_ != nullptr ? static_cast<uint32_t>(widget_->winId()) : 0;
}

template <typename Call>
void CQtLayeredWindow::OnGui(Call call) {
  // Qt's widgets belong to the GUI thread: a call from the frame thread waits there.
  if (OnGuiThread()) {
    call();
  } else {
    windows_.PostToGui(std::move(call));
  }
}

void CQtLayeredWindow::Show() {
  if (!Alive()) return;
  // The flag changes at once: the core asks for it right after.
  visible_.store(true, std::memory_order_release);
  OnGui([this] {
    if (!Alive() || widget_ == nullptr) return;
    WithQtGeometry([this] { widget_->show(); });
    if (!topmost_) windows_.RaiseTopmostBand();
  });
}

void CQtLayeredWindow::Hide() {
  if (!Alive()) return;
  visible_.store(false, std::memory_order_release);
  OnGui([this] {
    if (!Alive() || widget_ == nullptr) return;
    WithQtGeometry([this] { widget_->hide(); });
  });
}

void CQtLayeredWindow::BringToTop() {
  OnGui([this] {
    if (!Alive() || widget_ == nullptr) return;
    widget_->raise();
    if (!topmost_) windows_.RaiseTopmostBand();
  });
}

void CQtLayeredWindow::PlaceBelow(ILayeredWindow& other) {
  auto& below = static_cast<CQtLayeredWindow&>(other);
  if (&below == this) return;
  OnGui([this, &below] {
    if (!Alive() || !below.Alive() || widget_ == nullptr) return;
    topmost_ = below.topmost_;
    StackX11WindowBelow(NativeId(), below.NativeId());
  });
}

void CQtLayeredWindow::SetTopmost(bool topmost) {
  OnGui([this, topmost] {
    if (!Alive() || widget_ == nullptr) return;
    topmost_ = topmost;
    if (topmost) {
      widget_->raise();
    } else {
      windows_.RaiseTopmostBand();
    }
  });
}

bool CQtLayeredWindow::Update(const SLayeredFrame& frame) {
  if (!Alive()) return false;
  if (frame.pixels != nullptr) {
    if (frame.width <= 0 || frame.height <= 0 || frame.stride < frame.width) return false;
    std::lock_guard lock(mutex_);
    const SRect changed = ChangedPart(frame);
    if (changed.Height() <= 0) {
      // Nothing new to show: only the position counts, and the X server hears nothing
      // but a move.
      pendingPosition_ = frame.position;
      presentQueued_.store(true, std::memory_order_release);
      windows_.RequestPresent();
      return true;
    }
    // resize keeps the capacity: frames no larger than the largest so far allocate nothing.
    pending_.pixels.resize(static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height));
    for (int y = 0; y < frame.height; ++y) {
      std::memcpy(pending_.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(frame.width),
                  frame.pixels + static_cast<size_t>(y) * static_cast<size_t>(frame.stride),
                  static_cast<size_t>(frame.width) * sizeof(uint32_t));
    }
    pending_.width = frame.width;
    pending_.height = frame.height;
    // The shape is worked out here, off the GUI thread, from the copy just made.
    AlphaShapeRects(pending_.pixels.data(), frame.width, frame.height, frame.width, pending_.shape);
    // Pixels not yet shown are replaced: the part to repaint is what both changed.
    pendingChanged_ = pendingPixels_ ? BoundsOfBoth(pendingChanged_, changed) : changed;
    pendingPixels_ = true;
    pendingAlpha_ = frame.constantAlpha;
    pendingPosition_ = frame.position;
  } else {
    std::lock_guard lock(mutex_);
    pendingPosition_ = frame.position;
  }
  if (!presentQueued_.exchange(true, std::memory_order_acq_rel)) windows_.RequestPresent();
  return true;
}

SRect CQtLayeredWindow::ChangedPart(const SLayeredFrame& frame) const {
  // The latest pixels are the ones waiting to be shown, else the ones shown; the GUI
  // thread only swaps the two under the lock this runs under.
  const SFrameSlot& latest = pendingPixels_ ? pending_ : shown_;
  const SRect all{0, 0, frame.width, frame.height};
  if (latest.width != frame.width || latest.height != frame.height || pendingAlpha_ != frame.constantAlpha ||
      latest.pixels.size() < static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height)) {
    return all;
  }
  return DifferingPart(latest.pixels.data(), frame.width, frame.pixels, frame.stride, frame.width, frame.height,
                       frame.changed);
}

void CQtLayeredWindow::Present() {
  if (!presentQueued_.exchange(false, std::memory_order_acq_rel)) return;
  bool newPixels = false;
  SPoint position;
  uint8_t alpha;
  SRect changed;
  {
    std::lock_guard lock(mutex_);
    if (pendingPixels_) {
      // The two buffers trade places; the frame thread fills the old one next time.
      std::swap(pending_, shown_);
      pendingPixels_ = false;
      newPixels = true;
      changed = pendingChanged_;
    }
    position = pendingPosition_;
    alpha = pendingAlpha_;
  }
  if (!Alive() || widget_ == nullptr) return;
  const QRect geometry = widget_->geometry();
  if (newPixels && (geometry.width() != shown_.width || geometry.height() != shown_.height)) {
    shownPosition_ = position;
    WithQtGeometry([&] { widget_->setGeometry(position.x, position.y, shown_.width, shown_.height); });
  } else if (position.x != shownPosition_.x || position.y != shownPosition_.y) {
    // A position-only update: the window moves, its pixels stay as they are.
    if (X11ShapesAvailable()) {
      MoveX11Window(NativeId(), position.x, position.y);
    } else {
      widget_->move(position.x, position.y);
    }
  }
  shownPosition_ = position;
  if (!newPixels) return;
  if (alpha != shownAlpha_) {
    shownAlpha_ = alpha;
    widget_->setWindowOpacity(alpha / 255.0);
  }
  if (!shapeApplied_ || shown_.shape != appliedShape_ || boundingApplied_ != windows_.BoundingShapes()) {
    appliedShape_ = shown_.shape;
    ReapplyShape();
  }
  // Only the part that changed is sent to the X server, or painted again by Qt.
  if (image_ == nullptr || !image_->Put(shown_.pixels.data(), shown_.width, shown_.height, changed)) {
    widget_->update(QRect(changed.left, changed.top, changed.Width(), changed.Height()));
  }
}

void CQtLayeredWindow::ReapplyShape() {
  if (widget_ == nullptr) return;
  boundingApplied_ = windows_.BoundingShapes();
  ApplyX11Shape(NativeId(), appliedShape_, boundingApplied_);
  shapeApplied_ = true;
}

bool CQtLayeredWindow::DeliverMouse(ELayeredMouse message, int x, int y) {
  if (!Alive()) return false;
  return handler_.OnMouse(*this, message, x, y);
}

void CQtLayeredWindow::DeliverCommand(int commandId) {
  if (Alive()) handler_.OnCommand(*this, commandId);
}

void CQtLayeredWindow::DeliverMenuOpened(intptr_t param) {
  if (Alive()) handler_.OnMenuOpened(*this, param);
}

void CQtLayeredWindow::ShowArrowIfAlive() {
  if (Alive()) windows_.ShowArrow();
}

void CQtLayeredWindow::NotePointerMoved() { windows_.PointerMoved(); }

void CQtLayeredWindow::SetCapture() {
  OnGui([this] {
    if (!Alive() || widget_ == nullptr || captured_) return;
    captured_ = true;
    widget_->grabMouse();
  });
}

void CQtLayeredWindow::ReleaseCapture() {
  OnGui([this] {
    if (!captured_) return;
    captured_ = false;
    if (widget_ != nullptr) widget_->releaseMouse();
    // As on the system the design follows, the window losing the capture hears of it.
    DeliverMouse(ELayeredMouse::CaptureChanged, 0, 0);
  });
}

void CQtLayeredWindow::OnGrabLost() {
  if (!captured_) return;
  captured_ = false;
  DeliverMouse(ELayeredMouse::CaptureChanged, 0, 0);
}

void CQtLayeredWindow::Destroy() {
  if (!alive_.exchange(false, std::memory_order_acq_rel)) return;
  visible_.store(false, std::memory_order_release);
  handler_.OnDestroy(*this);
  OnGui([this] { DestroyOnGuiThread(); });
}

void CQtLayeredWindow::DestroyOnGuiThread() {
  if (widget_ == nullptr) return;
  if (captured_) {
    captured_ = false;
    widget_->releaseMouse();
  }
  WithQtGeometry([this] { widget_->hide(); });
  if (image_ != nullptr) image_->Release();
  // Later, through the event loop: the call may come from one of the widget's own events.
  widget_->deleteLater();
  widget_ = nullptr;
}
