#include "platform/qt/qt_layered_windows.h"

#include <algorithm>

#include "platform/qt/qt_layered_window.h"
#include "platform/qt/x11_shape.h"

thread_local bool CQtLayeredWindows::inFrame_ = false;
thread_local bool CQtLayeredWindows::wakeAtEnd_ = false;
thread_local bool CQtLayeredWindows::flushAtEnd_ = false;

CQtLayeredWindows::CQtLayeredWindows(std::function<void()> showArrow)
    : showArrow_(std::move(showArrow)), signal_([this] { OnSignal(); }) {}

CQtLayeredWindows::~CQtLayeredWindows() = default;

ILayeredWindow* CQtLayeredWindows::Create(IMainWindow& owner, const std::u16string& title,
                                          ILayeredWindowHandler& handler) {
  const bool topmost = std::find(topmostOwners_.begin(), topmostOwners_.end(), &owner) != topmostOwners_.end();
  return windows_.emplace_back(std::make_unique<CQtLayeredWindow>(*this, owner, title, handler, topmost)).get();
}

void CQtLayeredWindows::SetOwnerTopmost(const IMainWindow& owner, bool topmost) {
  topmostOwners_.erase(std::remove(topmostOwners_.begin(), topmostOwners_.end(), &owner), topmostOwners_.end());
  if (topmost) topmostOwners_.push_back(&owner);
  for (const auto& window : windows_) {
    if (window->Alive() && &window->OwnerWindow() == &owner) window->SetTopmostFlag(topmost);
  }
  RaiseTopmostBand();
}

void CQtLayeredWindows::SetBoundingShapes(bool bounding) {
  if (bounding == BoundingShapes()) return;
  bounding_.store(bounding, std::memory_order_release);
  for (const auto& window : windows_) {
    if (window->Alive()) window->ReapplyShape();
  }
  FlushX11();
}

void CQtLayeredWindows::RaiseTopmostBand() {
  // In creation order: the band keeps a stable order among itself.
  for (const auto& window : windows_) {
    if (window->Alive() && window->Topmost() && window->Visible()) window->BringToTop();
  }
}

void CQtLayeredWindows::PostToGui(std::function<void()> task) {
  {
    std::lock_guard lock(tasksMutex_);
    tasks_.push_back(std::move(task));
  }
  Wake();
}

void CQtLayeredWindows::Wake() {
  if (inFrame_) {
    wakeAtEnd_ = true;
  } else {
    signal_.Raise();
  }
}

void CQtLayeredWindows::FlushAfterFrame() {
  if (inFrame_) {
    flushAtEnd_ = true;
  } else {
    FlushX11(QtX11ConnectionAnyThread());
  }
}

void CQtLayeredWindows::EndFrame() {
  inFrame_ = false;
  if (flushAtEnd_) {
    flushAtEnd_ = false;
    FlushX11(QtX11ConnectionAnyThread());
  }
  if (wakeAtEnd_) {
    wakeAtEnd_ = false;
    signal_.Raise();
  }
}

void CQtLayeredWindows::OnSignal() {
  RunPostedTasks();
  if (presentRequested_.load(std::memory_order_acquire)) PresentAll();
}

void CQtLayeredWindows::RunPostedTasks() {
  // Taken out first: a task may post more, which wake the loop again.
  std::vector<std::function<void()>> batch;
  {
    std::lock_guard lock(tasksMutex_);
    batch.swap(tasks_);
  }
  for (auto& task : batch) task();
}

void CQtLayeredWindows::PresentAll() {
  // Cleared first: a frame handed over while these present wakes the loop again.
  presentRequested_.store(false, std::memory_order_release);
  for (const auto& window : windows_) window->Present();
  // Every window's moves and shapes leave in one write.
  FlushX11();
}
