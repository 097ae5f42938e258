#pragma once
// The Qt widget behind a layered window: paints the shown pixels as they are (they are
// premultiplied, like the widget's backing store) and turns Qt's mouse events into the
// window messages the core handles.
#include <QWidget>

class CQtLayeredWindow;

class CQtLayeredWidget final : public QWidget {
 public:
  explicit CQtLayeredWidget(CQtLayeredWindow& window);
  // From now on every expose of the native window (created already) repaints all of it.
  void RepaintWhenExposed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;

 private:
  void Pointer(QPointF position);

  CQtLayeredWindow& window_;
};
