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
  xid_ = static_cast<uint32_t>(widget_->winId());
  ApplyX11Shape(xid_, appliedShape_, windows_.BoundingShapes());
  shapeApplied_ = true;
  boundingApplied_ = windows_.BoundingShapes();
  if (X11ShapesAvailable()) {
    connection_ = QtX11Connection();
    PrepareX11WindowOpacity(connection_);
    qtEventMask_ = QtX11EventMask(xid_);
    SetX11StructureEvents(xid_, qtEventMask_, false);
    image_ = std::make_unique<CX11WindowImage>(xid_);
    // Qt's backing store misses the pixels put past it: when the server asks for the
    // window's pixels, Qt paints them anew instead of sending its old copy.
    if (image_->Ready()) widget_->RepaintWhenExposed();
    presentHere_ = image_->Ready() && qtEventMask_ != 0 && connection_ != nullptr;
  }
}

template <typename Call>
void CQtLayeredWindow::WithQtGeometry(Call call) {
  if (qtEventMask_ == 0) {
    call();
    return;
  }
  SetX11StructureEvents(xid_, qtEventMask_, true);
  call();
  // Qt's idea of the place may be old (our moves pass it by): put the window back where
  // the last frame put it.
  MoveX11Window(xid_, shownPosition_.x, shownPosition_.y);
  SetX11StructureEvents(xid_, qtEventMask_, false);
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
    {
      std::lock_guard x(xMutex_);
      WithQtGeometry([this] { widget_->show(); });
    }
    if (!topmost_) windows_.RaiseTopmostBand();
  });
}

void CQtLayeredWindow::Hide() {
  if (!Alive()) return;
  visible_.store(false, std::memory_order_release);
  OnGui([this] {
    if (!Alive() || widget_ == nullptr) return;
    std::lock_guard x(xMutex_);
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
    StackX11WindowBelow(xid_, below.xid_);
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
  if (frame.pixels != nullptr && (frame.width <= 0 || frame.height <= 0 || frame.stride < frame.width)) return false;
  // Presented here unless the GUI thread is at the window, a frame waits for it (which
  // this one must not overtake) or the window must grow to hold the frame.
  std::unique_lock x(xMutex_, std::try_to_lock);
  std::lock_guard lock(mutex_);
  const bool here = x.owns_lock() && presentHere_ && !presentQueued_.load(std::memory_order_acquire) &&
                    (frame.pixels == nullptr || (frame.width <= windowWidth_ && frame.height <= windowHeight_));
  if (here) {
    if (frame.pixels != nullptr) {
      if (frame.constantAlpha != shownAlpha_) SetOpacity(frame.constantAlpha);
      pendingAlpha_ = frame.constantAlpha;
      const SRect changed = ChangedPart(frame, /*alphaCounts=*/false);
      if (changed.Height() > 0) PresentHere(frame, changed);
    }
    // No new pixels: the X server hears of nothing but a move.
    MoveHere(frame.position);
    return true;
  }
  const SRect changed = frame.pixels != nullptr ? ChangedPart(frame, /*alphaCounts=*/true) : SRect{};
  if (changed.Height() <= 0) {
    pendingPosition_ = frame.position;
  } else {
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
  }
  if (!presentQueued_.exchange(true, std::memory_order_acq_rel)) windows_.RequestPresent();
  return true;
}

void CQtLayeredWindow::PresentHere(const SLayeredFrame& frame, const SRect& changed) {
  const size_t width = static_cast<size_t>(frame.width);
  const size_t stride = static_cast<size_t>(frame.stride);
  const size_t runBytes = static_cast<size_t>(changed.Width()) * sizeof(uint32_t);
  const bool resized = frame.width != shown_.width || frame.height != shown_.height;
  if (resized) {
    // A smaller frame in the same window (ChangedPart named all of it).
    shown_.pixels.resize(width * static_cast<size_t>(frame.height));
    shown_.width = frame.width;
    shown_.height = frame.height;
  }
  // Only the changed part is copied. The shape is worked out again only when a pixel of
  // it turned clear or visible, and then only for its rows.
  bool reshaped = resized;
  for (int y = changed.top; y < changed.bottom; ++y) {
    uint32_t* shown = shown_.pixels.data() + static_cast<size_t>(y) * width + static_cast<size_t>(changed.left);
    const uint32_t* now = frame.pixels + static_cast<size_t>(y) * stride + static_cast<size_t>(changed.left);
    for (int i = 0; !reshaped && i < changed.Width(); ++i) reshaped = ((shown[i] >> 24) == 0) != ((now[i] >> 24) == 0);
    std::memcpy(shown, now, runBytes);
  }
  if (resized) {
    AlphaShapeRects(shown_.pixels.data(), frame.width, frame.height, frame.width, shown_.shape);
  } else if (reshaped) {
    AlphaShapeRectsAgain(shown_.pixels.data(), frame.width, frame.height, frame.width, changed.top, changed.bottom,
                         shown_.shape, shapeScratch_);
  }
  if (!SendShown(changed)) {
    // Not sendable as requests (never for a frame the output surface holds): Qt paints it.
    OnGui([this, changed] {
      if (Alive() && widget_ != nullptr) widget_->update(changed.left, changed.top, changed.Width(), changed.Height());
    });
  }
  windows_.FlushAfterFrame();
}

bool CQtLayeredWindow::SendShown(const SRect& changed) {
  if (!shapeApplied_ || boundingApplied_ != windows_.BoundingShapes() || shown_.shape != appliedShape_) {
    appliedShape_ = shown_.shape;
    ApplyShape();
  }
  if (image_ == nullptr || !image_->Ready()) return false;
  ClearOutside(shown_.width, shown_.height);
  return image_->Put(shown_.pixels.data(), shown_.width, shown_.height, changed);
}

void CQtLayeredWindow::ClearOutside(int width, int height) {
  // What the last frame drew beyond this one, to the right and below it.
  if (coveredWidth_ > width) image_->Clear({width, 0, coveredWidth_, coveredHeight_});
  if (coveredHeight_ > height) image_->Clear({0, height, std::min(width, coveredWidth_), coveredHeight_});
  coveredWidth_ = width;
  coveredHeight_ = height;
}

void CQtLayeredWindow::SetOpacity(uint8_t alpha) {
  shownAlpha_ = alpha;
  if (connection_ != nullptr) {
    // As Qt would set it, but from any thread and without Qt keeping a value of its own.
    SetX11WindowOpacity(connection_, xid_, alpha);
    windows_.FlushAfterFrame();
  } else {
    widget_->setWindowOpacity(alpha / 255.0);
  }
}

void CQtLayeredWindow::MoveHere(SPoint position) {
  pendingPosition_ = position;
  if (position.x == shownPosition_.x && position.y == shownPosition_.y) return;
  MoveX11Window(connection_, xid_, position.x, position.y);
  shownPosition_ = position;
  windows_.FlushAfterFrame();
}

SRect CQtLayeredWindow::ChangedPart(const SLayeredFrame& frame, bool alphaCounts) const {
  // The latest pixels are the ones waiting to be shown, else the ones shown; the GUI
  // thread only swaps the two under the lock this runs under.
  const SFrameSlot& latest = pendingPixels_ ? pending_ : shown_;
  const SRect all{0, 0, frame.width, frame.height};
  if (latest.width != frame.width || latest.height != frame.height ||
      (alphaCounts && pendingAlpha_ != frame.constantAlpha) ||
      latest.pixels.size() < static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height)) {
    return all;
  }
  return DifferingPart(latest.pixels.data(), frame.width, frame.pixels, frame.stride, frame.width, frame.height,
                       frame.changed);
}

void CQtLayeredWindow::Present() {
  // Taken before the flag is cleared: a frame thread that finds the flag clear and the
  // lock free presents a frame newer than the one waiting here.
  std::lock_guard x(xMutex_);
  if (!presentQueued_.exchange(false, std::memory_order_acq_rel)) return;
  bool newPixels = false;
  SPoint position;
  uint8_t alpha;
  SRect changed;
  std::unique_lock lock(mutex_);
  if (pendingPixels_) {
    // The two buffers trade places; the frame thread fills the old one next time.
    std::swap(pending_, shown_);
    pendingPixels_ = false;
    newPixels = true;
    changed = pendingChanged_;
  }
  position = pendingPosition_;
  alpha = pendingAlpha_;
  // The shown pixels stay still under xMutex_ alone: only presents change them.
  lock.unlock();
  if (!Alive() || widget_ == nullptr) return;
  // A window whose pixels go straight to the X server only grows: a smaller frame sits
  // in its top-left corner, the rest clear and outside its shape, so a balloon that opens
  // and closes again costs Qt's geometry traffic only the first time. A window Qt paints
  // keeps the frame's size, since without X shapes clicks would land on the rest.
  const bool growOnly = image_ != nullptr && image_->Ready();
  const int width = growOnly ? std::max(windowWidth_, shown_.width) : shown_.width;
  const int height = growOnly ? std::max(windowHeight_, shown_.height) : shown_.height;
  if (newPixels && (width != windowWidth_ || height != windowHeight_)) {
    shownPosition_ = position;
    WithQtGeometry([&] { widget_->setGeometry(position.x, position.y, width, height); });
    windowWidth_ = width;
    windowHeight_ = height;
  } else if (position.x != shownPosition_.x || position.y != shownPosition_.y) {
    // A position-only update: the window moves, its pixels stay as they are.
    if (X11ShapesAvailable()) {
      MoveX11Window(xid_, position.x, position.y);
    } else {
      widget_->move(position.x, position.y);
    }
  }
  shownPosition_ = position;
  if (!newPixels) return;
  if (alpha != shownAlpha_) SetOpacity(alpha);
  // Only the part that changed is sent to the X server, or painted again by Qt.
  if (!SendShown(changed)) {
    widget_->update(QRect(changed.left, changed.top, changed.Width(), changed.Height()));
  }
}

void CQtLayeredWindow::ReapplyShape() {
  if (widget_ == nullptr) return;
  std::lock_guard x(xMutex_);
  ApplyShape();
}

void CQtLayeredWindow::ApplyShape() {
  boundingApplied_ = windows_.BoundingShapes();
  ApplyX11Shape(connection_ != nullptr ? connection_ : QtX11Connection(), xid_, appliedShape_, boundingApplied_);
  shapeApplied_ = true;
}

void CQtLayeredWindow::AfterQtPainted() {
  if (!presentHere_) return;
  windows_.PostToGui([this] {
    std::lock_guard x(xMutex_);
    if (!presentHere_ || !Alive()) return;
    std::lock_guard lock(mutex_);
    if (shown_.width > windowWidth_ || shown_.height > windowHeight_) return;
    image_->Put(shown_.pixels.data(), shown_.width, shown_.height, SRect{0, 0, shown_.width, shown_.height});
    FlushX11(connection_);
  });
}

std::vector<uint32_t> CQtLayeredWindow::ShownPixels() const {
  std::lock_guard lock(mutex_);
  return shown_.pixels;
}

const uint32_t* CQtLayeredWindow::ShownBuffer() const {
  std::lock_guard lock(mutex_);
  return shown_.pixels.data();
}

int CQtLayeredWindow::ShownWidth() const {
  std::lock_guard lock(mutex_);
  return shown_.width;
}

int CQtLayeredWindow::ShownHeight() const {
  std::lock_guard lock(mutex_);
  return shown_.height;
}

SPoint CQtLayeredWindow::ShownPosition() const {
  std::lock_guard x(xMutex_);
  return shownPosition_;
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
  std::lock_guard x(xMutex_);
  presentHere_ = false;
  WithQtGeometry([this] { widget_->hide(); });
  if (image_ != nullptr) image_->Release();
  // Later, through the event loop: the call may come from one of the widget's own events.
  widget_->deleteLater();
  widget_ = nullptr;
}
