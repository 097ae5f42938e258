#include "platform/headless/headless_ui.h"

#include <chrono>
#include <cstdio>
#include <system_error>

#include "platform/headless/layered_windows.h"
#include "platform/headless/menu_copy.h"
#include "platform/headless/trace_log.h"
#include "platform/headless/virtual_clock.h"
#include "platform/headless/window_registry.h"
#include "platform/trace_record.h"
#include "support/utf.h"

CHeadlessUi::CHeadlessUi(CHeadlessClock& clock, CVirtualClock* virtualClock,
                         CWindowRegistry& registry, CHeadlessLayeredWindows& layered, CTraceLog& trace,
                         uint64_t quitAfterFrames)
    : clock_(clock),
      virtualClock_(virtualClock),
      registry_(registry),
      layered_(layered),
      trace_(trace),
      quitAfterFrames_(quitAfterFrames) {}

CHeadlessUi::~CHeadlessUi() {
  // A realtime worker must not outlive the windows it posts to.
  if (workerThread_.joinable()) workerThread_.join();
  // The core's handlers may be gone by now: take the titles out of the census without
  // calling them.
  for (const auto& window : windows_) {
    if (window->Alive() && window->RegistryId() != 0) registry_.Unregister(window->RegistryId());
  }
}

IMainWindow* CHeadlessUi::CreateMainWindow(const SMainWindowDesc& desc,
                                           IMainWindowHandler& handler) {
  const int registryId = desc.title.empty() ? 0 : registry_.Register(desc.title);
  auto& window = windows_.emplace_back(std::make_unique<CHeadlessMainWindow>(*this, handler, registryId));
  CHeadlessMainWindow* created = window.get();
  CHeadlessMainWindow* none = nullptr;
  mainWindow_.compare_exchange_strong(none, created, std::memory_order_acq_rel);
  handler.OnCreate(*created);
  return created;
}

void CHeadlessUi::OnWindowDestroyed(CHeadlessMainWindow& window) {
  timers_.StopAll(&window);
  CHeadlessMainWindow* owner = &window;
  trayOwner_.compare_exchange_strong(owner, nullptr, std::memory_order_acq_rel);
  // A menu and the dialogs go away with the window that owns them.
  if (menuOwner_ == &window) ForgetMenu();
  dialogs_.OwnerDestroyed(window);
  window.Handler().OnDestroy();
  if (window.RegistryId() != 0) registry_.Unregister(window.RegistryId());
}

void CHeadlessUi::OnTopmostChanged(CHeadlessMainWindow& window, bool topmost) {
  layered_.SetOwnerTopmost(window, topmost);
}

void CHeadlessUi::Post(CHeadlessMainWindow& window, uint32_t message, intptr_t param) {
  queue_.Push({&window, message, param});
}

void CHeadlessUi::PostQuit(int code) { queue_.Push({nullptr, 0, code}); }

void CHeadlessUi::StartTimer(CHeadlessMainWindow& window, int timerId, uint32_t intervalMs) {
  timers_.Start(&window, timerId, intervalMs, clock_.NowMs());
}

void CHeadlessUi::StopTimer(CHeadlessMainWindow& window, int timerId) {
  timers_.Stop(&window, timerId);
}

std::optional<int> CHeadlessUi::DeliverQueued() {
  while (std::optional<SQueuedMessage> next = queue_.TryPop()) {
    if (next->window == nullptr) return static_cast<int>(next->param);
    if (next->window->Alive()) next->window->Handler().OnAppMessage(next->message, next->param);
  }
  return std::nullopt;
}

std::optional<int> CHeadlessUi::DeliverDueTimers() {
  while (std::optional<STimerDue> due = timers_.PopDue(clock_.NowMs())) {
    due->window->Handler().OnTimer(due->timerId);
    // Messages a timer handler posts come before the next timer, as they would in a
    // system queue where timers have the lowest priority.
    if (std::optional<int> code = DeliverQueued()) return code;
  }
  return std::nullopt;
}

int CHeadlessUi::RunMessageLoop() {
  for (;;) {
    if (std::optional<int> code = DeliverQueued()) return *code;
    if (std::optional<int> code = DeliverDueTimers()) return *code;
    if (virtualClock_ == nullptr) {
      WaitRealtime();
    } else if (std::optional<int> code = StepVirtual()) {
      return *code;
    }
  }
}

void CHeadlessUi::WaitRealtime() {
  std::optional<std::chrono::steady_clock::time_point> deadline;
  if (std::optional<uint64_t> due = timers_.NextDue()) {
    const uint64_t now = clock_.NowMs();
    deadline = std::chrono::steady_clock::now() +
               std::chrono::milliseconds(*due > now ? *due - now : 0);
  }
  queue_.WaitUntil(deadline);
}

std::optional<int> CHeadlessUi::StepVirtual() {
  if (worker_ != nullptr && !workerEnded_) {
    if (!workerBegun_) {
      worker_->Begin();
      workerBegun_ = true;
    }
    if (!worker_->KeepRunning()) {
      worker_->End();
      workerEnded_ = true;
      return std::nullopt;
    }
    const uint64_t frame = FrameCount();
    for (const auto& hook : beforeVirtualFrame_) hook(frame);
    const uint32_t sleepMs = worker_->Step();
    CountFrame();
    std::optional<int> code = AdvanceVirtual(clock_.NowMs() + sleepMs);
    for (const auto& hook : afterVirtualFrame_) hook(frame);
    return code;
  }
  if (std::optional<uint64_t> due = timers_.NextDue()) return AdvanceVirtual(*due);
  // Nothing will happen on this thread until another thread posts.
  queue_.WaitUntil(std::nullopt);
  return std::nullopt;
}

std::optional<int> CHeadlessUi::AdvanceVirtual(uint64_t targetMs) {
  // Timers that fall due on the way run at their own times, in order.
  for (std::optional<uint64_t> due = timers_.NextDue(); due && *due <= targetMs;
       due = timers_.NextDue()) {
    virtualClock_->AdvanceTo(*due);
    if (std::optional<int> code = DeliverDueTimers()) return code;
  }
  virtualClock_->AdvanceTo(targetMs);
  return std::nullopt;
}

void CHeadlessUi::CountFrame() {
  const uint64_t count = frames_.fetch_add(1, std::memory_order_acq_rel) + 1;
  if (count != quitAfterFrames_) return;
  if (CHeadlessMainWindow* main = mainWindow_.load(std::memory_order_acquire)) {
    main->PostAppMessage(kQuitRequestMessage, 0);
  }
}

bool CHeadlessUi::StartFrameWorker(IFrameWorker& worker) {
  if (worker_ != nullptr) return false;
  if (virtualClock_ == nullptr) {
    try {
      workerThread_ = std::thread([this, &worker] { RunWorkerThread(worker); });
    } catch (const std::system_error&) {
      return false;
    }
  }
  worker_ = &worker;
  return true;
}

void CHeadlessUi::RunWorkerThread(IFrameWorker& worker) {
  worker.Begin();
  while (worker.KeepRunning()) {
    const uint32_t sleepMs = worker.Step();
    CountFrame();
    clock_.Sleep(sleepMs);
  }
  worker.End();
}

void CHeadlessUi::JoinFrameWorker() {
  if (workerThread_.joinable()) {
    workerThread_.join();
    return;
  }
  // Virtual mode: Begin and End pair up as they do on a thread, even when the loop
  // never stepped.
  if (worker_ == nullptr || workerEnded_ || virtualClock_ == nullptr) return;
  if (!workerBegun_) {
    worker_->Begin();
    workerBegun_ = true;
  }
  worker_->End();
  workerEnded_ = true;
}

bool CHeadlessUi::AddTrayIcon(IMainWindow& owner, const std::u16string&) {
  trayOwner_.store(static_cast<CHeadlessMainWindow*>(&owner), std::memory_order_release);
  return true;
}

void CHeadlessUi::RemoveTrayIcon(IMainWindow& owner) {
  CHeadlessMainWindow* expected = static_cast<CHeadlessMainWindow*>(&owner);
  trayOwner_.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
}

bool CHeadlessUi::ClickTrayIcon(int mouseMessage) {
  CHeadlessMainWindow* owner = trayOwner_.load(std::memory_order_acquire);
  if (owner == nullptr) return false;
  owner->PostAppMessage(kTrayMessage, mouseMessage);
  return true;
}

const char* CHeadlessUi::SendTrayClick(int mouseMessage) {
  CHeadlessMainWindow* owner = trayOwner_.load(std::memory_order_acquire);
  if (owner == nullptr || !owner->Alive()) return "there is no tray icon";
  owner->Handler().OnAppMessage(kTrayMessage, mouseMessage);
  return nullptr;
}

const char* CHeadlessUi::SendCommand(int commandId) {
  CHeadlessMainWindow* main = mainWindow_.load(std::memory_order_acquire);
  if (main == nullptr || !main->Alive()) return "there is no main window";
  main->Handler().OnCommand(commandId);
  return nullptr;
}

void CHeadlessUi::TrackPopupMenu(const CMenuModel& menu, SPoint, IMainWindow& owner, ILayeredWindow* commandTarget) {
  // The target sets up the menu (check marks, greyed items) before it shows.
  if (commandTarget != nullptr) layered_.DeliverMenuOpened(*commandTarget, 0);
  openMenu_ = &menu;
  menuOwner_ = static_cast<CHeadlessMainWindow*>(&owner);
  menuTarget_ = commandTarget;
  lastMenu_ = CopyMenu(menu);
  menuShowing_.store(true, std::memory_order_release);
}

void CHeadlessUi::ForgetMenu() {
  openMenu_ = nullptr;
  menuOwner_ = nullptr;
  menuTarget_ = nullptr;
  menuShowing_.store(false, std::memory_order_release);
}

const char* CHeadlessUi::ChooseMenuItem(int commandId) {
  if (openMenu_ == nullptr) return "no pop-up menu is open";
  ILayeredWindow* target = menuTarget_;
  CHeadlessMainWindow* owner = menuOwner_;
  // The core may free a character's menu with its window: look at the model only while
  // the window lives.
  if (target != nullptr && !layered_.Alive(*target)) {
    ForgetMenu();
    return "the window of the open menu is gone";
  }
  const CMenuItem* item = openMenu_->FindById(commandId);
  if (item == nullptr) return "the open menu has no such item";
  if (item->greyed) return "the item is greyed";
  // The menu has closed by the time its command arrives, as with a system menu, so the
  // command's handler may open the next one.
  ForgetMenu();
  if (target != nullptr) {
    layered_.DeliverCommand(*target, commandId);
  } else {
    owner->Handler().OnCommand(commandId);
  }
  return nullptr;
}

const char* CHeadlessUi::CloseMenu() {
  if (openMenu_ == nullptr) return "no pop-up menu is open";
  ForgetMenu();
  return nullptr;
}

void CHeadlessUi::MessageBox(IMainWindow*, const std::u16string& text,
                             const std::u16string& caption, EMessageBoxIcon) {
  const std::string line = "messagebox \"" + ToUtf8(caption) + "\" \"" + ToUtf8(text) + "\"\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  trace_.Append(CTraceRecord("messagebox")
                    .Add("caption", caption)
                    .Add("text", text)
                    .ToJson(FrameCount()));
}
