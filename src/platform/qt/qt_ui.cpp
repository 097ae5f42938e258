#include "platform/qt/qt_ui.h"

#include <pthread.h>
#include <sched.h>

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMetaObject>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

#include "platform/frame_worker_loop.h"
#include "platform/menu_model.h"
#include "platform/trace_record.h"
#include "platform/qt/qt_area_window.h"
#include "platform/qt/qt_cursor.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_layered_window.h"
#include "platform/qt/qt_layered_windows.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/qt_menu.h"
#include "platform/qt/qt_strings.h"
#include "platform/qt/x11_display.h"

namespace {

// How often the program looks for a tray host that came after it.
constexpr int kTrayWatchMs = 2000;

// Both coordinates in one word, so a reader never sees x of one move and y of another.
uint64_t PackPoint(QPoint p) {
  return (uint64_t{static_cast<uint32_t>(p.x())} << 32) | static_cast<uint32_t>(p.y());
}
SPoint UnpackPoint(uint64_t v) {
  return SPoint{static_cast<int>(static_cast<uint32_t>(v >> 32)), static_cast<int>(static_cast<uint32_t>(v))};
}

// The notification icon: a round face in the program's colours, drawn here so the
// program needs no image file to start.
QIcon TrayIconImage() {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0x1d, 0x4e, 0x2f), 4));
  painter.setBrush(QColor(0x6c, 0xc0, 0x7a));
  painter.drawEllipse(4, 4, 56, 56);
  painter.setBrush(QColor(0x1d, 0x4e, 0x2f));
  painter.drawEllipse(20, 22, 8, 10);
  painter.drawEllipse(36, 22, 8, 10);
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(18, 26, 28, 22, 200 * 16, 140 * 16);
  painter.end();
  return QIcon(pixmap);
}

// Marks the calling thread as one that never preempts a running thread when it wakes
// (Linux's SCHED_BATCH, at the same share of the processor): a woken frame or present
// then waits for the running thread to sleep instead of switching it out, which halves
// the context switches a frame costs and leaves other programs' work uninterrupted.
// Threads this one starts later inherit it.
void YieldOnWakeUp() {
  sched_param param{};
  param.sched_priority = 0;
  pthread_setschedparam(pthread_self(), SCHED_BATCH, &param);
}

// The frame thread's work, each frame bracketed so its windows wake the GUI thread once.
class CFrameBatchingWorker final : public IFrameWorker {
 public:
  CFrameBatchingWorker(IFrameWorker& inner, CQtLayeredWindows& windows) : inner_(inner), windows_(windows) {}
  void Begin() override { inner_.Begin(); }
  bool KeepRunning() override { return inner_.KeepRunning(); }
  uint32_t Step() override {
    windows_.BeginFrame();
    const uint32_t sleepMs = inner_.Step();
    windows_.EndFrame();
    return sleepMs;
  }
  void End() override { inner_.End(); }

 private:
  IFrameWorker& inner_;
  CQtLayeredWindows& windows_;
};

}  // namespace

CQtUi::CQtUi(IClock& clock, CX11Display& display, CQtLayeredWindows& layered, ITraceSink& trace,
             uint64_t quitAfterFrames)
    : clock_(clock),
      display_(display),
      layered_(layered),
      trace_(trace),
      quitAfterFrames_(quitAfterFrames),
      dialogs_(std::make_unique<CQtDialogs>()),
      cursor_(std::make_unique<CQtCursor>()) {
  if (!display_.Connected()) {
    SampleQtCursor();
    auto* sampler = new QTimer(QCoreApplication::instance());
    QObject::connect(sampler, &QTimer::timeout, [this] { SampleQtCursor(); });
    sampler->start(15);
  }
}

CQtUi::~CQtUi() {
  if (worker_.joinable()) worker_.join();
  delete openMenu_;
}

IMainWindow* CQtUi::CreateMainWindow(const SMainWindowDesc& desc, IMainWindowHandler& handler) {
  auto window = std::make_unique<CQtMainWindow>(
      desc, handler,
      [this](CQtMainWindow& owner, bool topmost) { layered_.SetOwnerTopmost(owner, topmost); },
      [this](CQtMainWindow&) { dialogs_->OwnerGone(); });
  CQtMainWindow* created = windows_.emplace_back(std::move(window)).get();
  mainWindow_.store(created, std::memory_order_release);
  handler.OnCreate(*created);
  return created;
}

int CQtUi::RunMessageLoop() {
  YieldOnWakeUp();
  return QApplication::exec();
}

void CQtUi::PostQuit(int code) {
  // Queued, so a quit asked for before the loop runs still ends it.
  QMetaObject::invokeMethod(QCoreApplication::instance(), [code] { QCoreApplication::exit(code); },
                            Qt::QueuedConnection);
}

bool CQtUi::AddTrayIcon(IMainWindow& owner, const std::u16string& tip) {
  MakeTrayIcon(owner, tip);
  // A tray host that starts after the program (or restarts) gets a new icon: Qt's icon
  // stays undocked when there was no tray to dock in.
  trayWatch_ = std::make_unique<QTimer>();
  QObject::connect(trayWatch_.get(), &QTimer::timeout, [this, &owner, tip] {
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (available && !trayAvailable_) MakeTrayIcon(owner, tip);
    trayAvailable_ = available;
  });
  trayAvailable_ = QSystemTrayIcon::isSystemTrayAvailable();
  trayWatch_->start(kTrayWatchMs);
  return true;
}

void CQtUi::MakeTrayIcon(IMainWindow& owner, const std::u16string& tip) {
  if (tray_) tray_->hide();
  tray_ = std::make_unique<QSystemTrayIcon>(TrayIconImage());
  tray_->setToolTip(ToQString(tip));
  QObject::connect(tray_.get(), &QSystemTrayIcon::activated, [&owner](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) owner.PostAppMessage(kTrayMessage, kTrayLeftButtonDown);
    if (reason == QSystemTrayIcon::Context) owner.PostAppMessage(kTrayMessage, kTrayRightButtonDown);
  });
  tray_->show();
}

void CQtUi::RemoveTrayIcon(IMainWindow&) {
  trayWatch_.reset();
  if (tray_) tray_->hide();
  tray_.reset();
}

bool CQtUi::TrayIconShown() const { return tray_ && tray_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable(); }

void CQtUi::TrackPopupMenu(const CMenuModel& menu, SPoint at, IMainWindow& owner, ILayeredWindow* commandTarget) {
  auto* target = static_cast<CQtLayeredWindow*>(commandTarget);
  // The target sets up the menu (check marks, greyed items) before it shows.
  if (target != nullptr) target->DeliverMenuOpened(0);
  if (openMenu_ != nullptr) openMenu_->close();
  auto* mainWindow = static_cast<CQtMainWindow*>(&owner);
  QMenu* shown = BuildQtMenu(menu, [mainWindow, target](int commandId) {
    // The menu has closed by the time its command arrives, so the handler may open the
    // next one. A character's window may be gone by then: Deliver checks.
    if (target != nullptr) {
      target->DeliverCommand(commandId);
    } else if (mainWindow->Alive()) {
      mainWindow->Handler().OnCommand(commandId);
    }
  });
  openMenu_ = shown;
  QObject::connect(shown, &QMenu::aboutToHide, [this, shown] {
    if (openMenu_ == shown) {
      openMenu_ = nullptr;
      menuShowing_.store(false, std::memory_order_release);
    }
    // The chosen action's signal comes after the menu hides: delete it later.
    shown->deleteLater();
  });
  menuShowing_.store(true, std::memory_order_release);
  shown->popup(QPoint(at.x, at.y));
}

void CQtUi::MessageBox(IMainWindow*, const std::u16string& text, const std::u16string& caption,
                       EMessageBoxIcon icon) {
  if (trace_.Tracing()) trace_.Trace(CTraceRecord("messagebox").Add("caption", caption).Add("text", text));
  dialogs_->MessageBox(text, caption, icon);
}

void CQtUi::RunModalDialog(const SDialogModel& dialog, IMainWindow&, IDialogHandler& handler) {
  dialogs_->RunModal(dialog, handler);
}

void CQtUi::OpenUrl(const std::u16string& url) { dialogs_->OpenUrl(url); }

IAreaWindow* CQtUi::CreateAreaWindow(IMainWindow&, IAreaWindowHandler& handler) {
  return areaWindows_.emplace_back(std::make_unique<CQtAreaWindow>(handler)).get();
}

SPoint CQtUi::CursorPosition() {
  if (display_.Connected()) {
    if (auto pointer = display_.Pointer()) return pointer->position;
  }
  return UnpackPoint(qtCursor_.load(std::memory_order_relaxed));
}

SPoint CQtUi::SampleCursorPosition() {
  if (display_.Connected()) {
    if (auto position = display_.SampledPosition()) return *position;
  }
  return UnpackPoint(qtCursor_.load(std::memory_order_relaxed));
}

void CQtUi::SampleQtCursor() { qtCursor_.store(PackPoint(QCursor::pos()), std::memory_order_relaxed); }

void CQtUi::SetCursor(const SCursorImage* cursor) { cursor_->Show(cursor); }

bool CQtUi::IsPrimaryButtonDown() const {
  if (!display_.Connected()) return false;
  auto pointer = display_.Pointer();
  return pointer && pointer->primaryDown;
}

bool CQtUi::StartFrameWorker(IFrameWorker& worker) {
  if (worker_.joinable()) return false;
  worker_ = std::thread([this, &worker] { RunWorker(worker); });
  return true;
}

void CQtUi::JoinFrameWorker() {
  if (worker_.joinable()) worker_.join();
}

void CQtUi::RunWorker(IFrameWorker& worker) {
  YieldOnWakeUp();
  CFrameBatchingWorker batching(worker, layered_);
  RunFrameWorkerLoop(batching, clock_, frames_, quitAfterFrames_, [this] {
    if (CQtMainWindow* window = mainWindow_.load(std::memory_order_acquire)) {
      window->PostAppMessage(kQuitRequestMessage, 0);
    }
  });
}
