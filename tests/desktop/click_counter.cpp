// A plain window for the desktop tests: it sits where its arguments say, filled with one
// colour, and prints a line for every mouse press it receives, so a test can tell
// whether a click fell through a character to the window below.
// Usage: zv_click_counter X Y WIDTH HEIGHT
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

class CClickCounter final : public QWidget {
 public:
  CClickCounter() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle("zv-click-counter");
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0x20, 0xa0, 0x40)); }
  void mousePressEvent(QMouseEvent* event) override {
    ++clicks_;
    const QPoint at = event->position().toPoint();
    std::printf("click %d at %d,%d\n", clicks_, at.x(), at.y());
    std::fflush(stdout);
  }

 private:
  int clicks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: zv_click_counter X Y WIDTH HEIGHT\n");
    return 2;
  }
  QApplication application(argc, argv);
  CClickCounter window;
  window.setGeometry(std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
  window.show();
  std::printf("ready\n");
  std::fflush(stdout);
  return QApplication::exec();
}
