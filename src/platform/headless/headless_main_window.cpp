#include "platform/headless/headless_main_window.h"

#include "platform/headless/headless_ui.h"

void CHeadlessMainWindow::PostAppMessage(uint32_t message, intptr_t param) {
  if (Alive()) ui_.Post(*this, message, param);
}

void CHeadlessMainWindow::Destroy() {
  if (!alive_.exchange(false, std::memory_order_acq_rel)) return;
  ui_.OnWindowDestroyed(*this);
}

void CHeadlessMainWindow::SetTopmost(bool topmost) {
  if (!Alive()) return;
  topmost_ = topmost;
  ui_.OnTopmostChanged(*this, topmost);
}

void CHeadlessMainWindow::StartTimer(int timerId, uint32_t intervalMs) {
  if (Alive()) ui_.StartTimer(*this, timerId, intervalMs);
}

void CHeadlessMainWindow::StopTimer(int timerId) { ui_.StopTimer(*this, timerId); }
