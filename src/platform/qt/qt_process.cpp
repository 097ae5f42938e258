#include "platform/qt/qt_process.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/headless/headless_process.h"
#include "platform/headless/named_lock.h"
#include "platform/qt/x11_display.h"
#include "support/utf.h"

CQtProcess::CQtProcess(std::string lockDir, CX11Display& display, std::u16string executablePath)
    : lockDir_(std::move(lockDir)),
      display_(display),
      executablePath_(executablePath.empty() ? OwnExecutablePath() : std::move(executablePath)) {}

SNamedLockResult CQtProcess::CreateNamedLock(const std::u16string& name, bool initialOwner) {
  return OpenNamedLock(lockDir_, name, initialOwner);
}

int CQtProcess::CountWindowsTitled(const std::u16string& title) {
  return display_.CountWindowsTitled(ToUtf8(title));
}

SRect CQtProcess::DesktopRect() {
  const QList<QScreen*> screens = QGuiApplication::screens();
  QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr) return SRect{0, 0, 0, 0};
  QRect area = primary->geometry();
  bool oneFormat = true;
  for (QScreen* screen : screens) oneFormat = oneFormat && screen->depth() == primary->depth();
  if (oneFormat) {
    for (QScreen* screen : screens) area = area.united(screen->geometry());
  }
  return SRect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}
