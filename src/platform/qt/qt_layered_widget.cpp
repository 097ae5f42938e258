#include "platform/qt/qt_layered_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "platform/qt/qt_layered_window.h"

CQtLayeredWidget::CQtLayeredWidget(CQtLayeredWindow& window)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::BypassWindowManagerHint | Qt::NoDropShadowWindowHint),
      window_(window) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_NoSystemBackground);
  // Every paint covers the whole window with its own pixels: Qt need not clear it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_X11DoNotAcceptFocus);
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
}

void CQtLayeredWidget::RepaintWhenExposed() {
  if (QWindow* native = windowHandle()) native->installEventFilter(this);
}

bool CQtLayeredWidget::eventFilter(QObject* watched, QEvent* event) {
  // Marked dirty before Qt handles the expose, so it paints rather than flushes.
  if (event->type() == QEvent::Expose) update();
  return QWidget::eventFilter(watched, event);
}

void CQtLayeredWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  // The window may be larger than the frame in its corner: the rest is clear.
  painter.fillRect(rect(), Qt::transparent);
  window_.WithShownPixels([&](const uint32_t* pixels, int width, int height) {
    // Our pixels are 0xAARRGGBB premultiplied: Qt's ARGB32_Premultiplied, used in place.
    const QImage image(reinterpret_cast<const uchar*>(pixels), width, height, width * 4,
                       QImage::Format_ARGB32_Premultiplied);
    painter.drawImage(0, 0, image);
  });
  window_.AfterQtPainted();
}

void CQtLayeredWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    window_.DeliverMouse(ELayeredMouse::LeftButtonDown, at.x(), at.y());
  } else if (event->button() == Qt::RightButton) {
    window_.DeliverMouse(ELayeredMouse::RightButtonDown, at.x(), at.y());
  }
}

void CQtLayeredWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    window_.DeliverMouse(ELayeredMouse::LeftButtonUp, at.x(), at.y());
  } else if (event->button() == Qt::RightButton) {
    window_.DeliverMouse(ELayeredMouse::RightButtonUp, at.x(), at.y());
  }
}

void CQtLayeredWidget::mouseMoveEvent(QMouseEvent* event) { Pointer(event->position()); }

void CQtLayeredWidget::enterEvent(QEnterEvent* event) { Pointer(event->position()); }

void CQtLayeredWidget::Pointer(QPointF position) {
  const QPoint at = position.toPoint();
  // Moves that make no raw device event (a warp) still reach the frame's cursor sample.
  window_.NotePointerMoved();
  // The system asks a window for its cursor before each move, except while it holds
  // the capture.
  if (!window_.HasCapture() && !window_.DeliverMouse(ELayeredMouse::SetCursor, at.x(), at.y())) {
    window_.ShowArrowIfAlive();
  }
  window_.DeliverMouse(ELayeredMouse::MouseMove, at.x(), at.y());
}
