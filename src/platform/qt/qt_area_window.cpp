#include "platform/qt/qt_area_window.h"

#include <QColor>
#include <QRgb>
#include <QCoreApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPoint>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/qt/qt_strings.h"

namespace {

constexpr char kButtonIdProperty[] = "buttonId";
constexpr QRgb kBackground = 0xFFF0F0F0;
constexpr QRgb kBorder = 0xFF404040;
constexpr QRgb kTextColour = 0xFF000000;

QRect ToQRect(const SRect& rect) {
  return QRect(rect.left, rect.top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
}

SRect FromQRect(const QRect& rect) { return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()}; }

bool SameRect(const SRect& a, const SRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Whether `a` and `b` are the same buttons, wherever they are.
bool SameButtons(const std::vector<SAreaButton>& a, const std::vector<SAreaButton>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const SAreaButton& x, const SAreaButton& y) { return x.id == y.id && x.text == y.text; });
}

Qt::CursorShape EdgeCursor(unsigned edges) {
  const bool horizontal = (edges & (kAreaEdgeLeft | kAreaEdgeRight)) != 0;
  const bool vertical = (edges & (kAreaEdgeTop | kAreaEdgeBottom)) != 0;
  if (horizontal && vertical) {
    const bool mainDiagonal = edges == (kAreaEdgeLeft | kAreaEdgeTop) || edges == (kAreaEdgeRight | kAreaEdgeBottom);
    return mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
  }
  if (horizontal) return Qt::SizeHorCursor;
  if (vertical) return Qt::SizeVerCursor;
  return Qt::ArrowCursor;
}

}  // namespace

unsigned AreaEdgesAt(int x, int y, int width, int height) {
  unsigned edges = 0;
  if (x < kAreaSizingBorder) {
    edges |= kAreaEdgeLeft;
  } else if (x >= width - kAreaSizingBorder) {
    edges |= kAreaEdgeRight;
  }
  if (y < kAreaSizingBorder) {
    edges |= kAreaEdgeTop;
  } else if (y >= height - kAreaSizingBorder) {
    edges |= kAreaEdgeBottom;
  }
  return edges;
}

SRect AreaDragProposal(const SRect& start, unsigned edges, int dx, int dy) {
  SRect rect = start;
  if (edges == 0) {
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
    return rect;
  }
  if ((edges & kAreaEdgeLeft) != 0) rect.left += dx;
  if ((edges & kAreaEdgeRight) != 0) rect.right += dx;
  if ((edges & kAreaEdgeTop) != 0) rect.top += dy;
  if ((edges & kAreaEdgeBottom) != 0) rect.bottom += dy;
  return rect;
}

// The window itself. It calls the handler while it is attached; Destroy detaches it
// before it goes, so no event still queued for it reaches the handler.
class CQtAreaWidget final : public QWidget {
 public:
  explicit CQtAreaWidget(IAreaWindowHandler& handler)
      : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), handler_(&handler) {
    setAttribute(Qt::WA_QuitOnClose, false);
    setMouseTracking(true);
  }
  CQtAreaWidget(const CQtAreaWidget&) = delete;
  CQtAreaWidget& operator=(const CQtAreaWidget&) = delete;

  void Detach() {
    handler_ = nullptr;
    dragging_ = false;
  }

  void ShowView(const SAreaView& view) {
    setWindowTitle(ToQString(view.title));
    setWindowOpacity(view.opacity / 255.0);
    lines_.clear();
    for (const SAreaText& line : view.lines) lines_.push_back({ToQString(line.text), line.centreX, line.top});
    if (SameButtons(view.buttons, buttons_)) {
      MoveButtons(view.buttons);
    } else {
      RebuildButtons(view.buttons);
    }
    setGeometry(ToQRect(view.rect));
    show();
    raise();
    update();
  }

  void HideView() {
    dragging_ = false;
    hide();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
    painter.setPen(QColor::fromRgb(kBorder));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(QColor::fromRgb(kTextColour));
    const QFontMetrics metrics(font());
    for (const SLine& line : lines_) {
      const int width = metrics.horizontalAdvance(line.text);
      painter.drawText(QPoint(line.centreX - width / 2, line.top + metrics.ascent()), line.text);
    }
  }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || handler_ == nullptr) {
      QWidget::mousePressEvent(event);
      return;
    }
    dragging_ = true;
    dragStart_ = event->globalPosition().toPoint();
    startRect_ = FromQRect(geometry());
    const QPoint at = event->position().toPoint();
    dragEdges_ = AreaEdgesAt(at.x(), at.y(), width(), height());
    setCursor(EdgeCursor(dragEdges_));
    event->accept();
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    if (!dragging_) {
      const QPoint at = event->position().toPoint();
      setCursor(EdgeCursor(AreaEdgesAt(at.x(), at.y(), width(), height())));
      QWidget::mouseMoveEvent(event);
      return;
    }
    if ((event->buttons() & Qt::LeftButton) == 0 || handler_ == nullptr) {
      dragging_ = false;
      return;
    }
    const QPoint delta = event->globalPosition().toPoint() - dragStart_;
    const SRect proposed = AreaDragProposal(startRect_, dragEdges_, delta.x(), delta.y());
    const SRect accepted = dragEdges_ == 0 ? handler_->OnMoving(proposed) : handler_->OnSizing(proposed);
    // The handler may have hidden or destroyed the window meanwhile.
    if (handler_ != nullptr && dragging_) setGeometry(ToQRect(accepted));
    event->accept();
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || !dragging_) {
      QWidget::mouseReleaseEvent(event);
      return;
    }
    dragging_ = false;
    const QPoint at = event->position().toPoint();
    setCursor(EdgeCursor(AreaEdgesAt(at.x(), at.y(), width(), height())));
    event->accept();
  }

 private:
  struct SLine {
    QString text;
    int centreX = 0;
    int top = 0;
  };

  // The same buttons, moved where `buttons` puts them (a border drag moves them).
  void MoveButtons(const std::vector<SAreaButton>& buttons) {
    for (size_t i = 0; i < buttons.size(); ++i) {
      if (SameRect(buttons[i].bounds, buttons_[i].bounds)) continue;
      buttons_[i].bounds = buttons[i].bounds;
      pushButtons_[i]->setGeometry(ToQRect(buttons[i].bounds));
    }
  }

  void RebuildButtons(const std::vector<SAreaButton>& buttons) {
    // The old buttons go later: this may run inside one of their own clicks.
    for (QPushButton* button : pushButtons_) {
      button->hide();
      button->deleteLater();
    }
    pushButtons_.clear();
    buttons_ = buttons;
    for (const SAreaButton& shown : buttons_) {
      auto* button = new QPushButton(ToQString(shown.text), this);
      button->setProperty(kButtonIdProperty, shown.id);
      button->setGeometry(ToQRect(shown.bounds));
      button->setCursor(Qt::ArrowCursor);
      const int id = shown.id;
      QObject::connect(button, &QPushButton::clicked, button, [this, id] {
        if (handler_ != nullptr) handler_->OnButton(id);
      });
      button->show();
      pushButtons_.push_back(button);
    }
  }

  IAreaWindowHandler* handler_;  // null once detached
  std::vector<SLine> lines_;
  std::vector<SAreaButton> buttons_;  // what the push buttons show
  std::vector<QPushButton*> pushButtons_;
  bool dragging_ = false;
  QPoint dragStart_;   // global
  SRect startRect_;    // the window's rectangle when the drag began
  unsigned dragEdges_ = 0;
};

CQtAreaWindow::CQtAreaWindow(IAreaWindowHandler& handler) : widget_(new CQtAreaWidget(handler)) {}

CQtAreaWindow::~CQtAreaWindow() {
  if (widget_ == nullptr) return;
  widget_->Detach();
  // Without an application its widgets cannot be deleted safely; it is going away anyway.
  if (QCoreApplication::instance() != nullptr) delete widget_;
  widget_ = nullptr;
}

void CQtAreaWindow::Show(const SAreaView& view) {
  if (widget_ != nullptr) widget_->ShowView(view);
}

void CQtAreaWindow::Hide() {
  if (widget_ != nullptr) widget_->HideView();
}

void CQtAreaWindow::Destroy() {
  if (widget_ == nullptr) return;
  CQtAreaWidget* widget = std::exchange(widget_, nullptr);
  widget->Detach();
  widget->hide();
  // Later: Destroy may run inside one of the window's own events (a button's click).
  widget->deleteLater();
}

QWidget* CQtAreaWindow::Widget() const { return widget_; }
