#include "platform/headless/headless_dialogs.h"

#include <algorithm>

void CHeadlessDialog::BringToFront() {
  if (open_) owner_.BringToFront(*this);
}

void CHeadlessDialog::End(int result) {
  if (open_) owner_.End(*this, result);
}

void CHeadlessAreaWindow::Show(const SAreaView& view) {
  if (!alive_) return;
  view_ = view;
  visible_ = true;
  topmost_ = true;
}

void CHeadlessAreaWindow::Destroy() {
  alive_ = false;
  visible_ = false;
}

void CHeadlessAreaWindow::Move(const SRect& proposed) {
  const SRect accepted = handler_.OnMoving(proposed);
  if (alive_) view_.rect = accepted;
}

void CHeadlessAreaWindow::Size(const SRect& proposed) {
  const SRect accepted = handler_.OnSizing(proposed);
  if (alive_) view_.rect = accepted;
}

void CHeadlessDialogs::RunModal(const SDialogModel& dialog, IMainWindow& owner, IDialogHandler& handler) {
  CHeadlessDialog& made = *dialogs_.emplace_back(std::make_unique<CHeadlessDialog>(*this, dialog, owner, handler));
  open_.push_back(&made);
  handler.OnOpened(made);
}

IAreaWindow* CHeadlessDialogs::CreateAreaWindow(IAreaWindowHandler& handler) {
  return areas_.emplace_back(std::make_unique<CHeadlessAreaWindow>(handler)).get();
}

void CHeadlessDialogs::OwnerDestroyed(const IMainWindow& window) {
  // Newest first, as the system destroys a stack of owned dialogs from the top.
  for (auto it = open_.rbegin(); it != open_.rend();) {
    CHeadlessDialog* dialog = *it;
    ++it;
    if (&dialog->Owner() == &window) End(*dialog, 0);
  }
}

std::vector<const CHeadlessDialog*> CHeadlessDialogs::OpenDialogs() const { return {open_.begin(), open_.end()}; }

const CHeadlessAreaWindow* CHeadlessDialogs::AreaWindow() const {
  return areas_.empty() ? nullptr : areas_.back().get();
}

void CHeadlessDialogs::BringToFront(CHeadlessDialog& dialog) {
  open_.erase(std::remove(open_.begin(), open_.end(), &dialog), open_.end());
  open_.push_back(&dialog);
}

void CHeadlessDialogs::End(CHeadlessDialog& dialog, int result) {
  open_.erase(std::remove(open_.begin(), open_.end(), &dialog), open_.end());
  dialog.SetClosed();
  dialog.Handler().OnEnded(dialog, result);
}

const char* CHeadlessDialogs::PressOk() {
  CHeadlessDialog* dialog = Active();
  if (dialog == nullptr) return "no dialog is open";
  End(*dialog, 1);
  return nullptr;
}

const char* CHeadlessDialogs::ClickLink() {
  CHeadlessDialog* dialog = Active();
  if (dialog == nullptr) return "no dialog is open";
  const std::vector<SDialogControl>& controls = dialog->Model().controls;
  const auto link = std::find_if(controls.begin(), controls.end(),
                                 [](const SDialogControl& control) { return control.kind == EDialogControl::Link; });
  if (link == controls.end()) return "the dialog has no link";
  dialog->Handler().OnLinkClicked(*dialog, link->id);
  return nullptr;
}

CHeadlessAreaWindow* CHeadlessDialogs::ShownArea() const {
  for (auto it = areas_.rbegin(); it != areas_.rend(); ++it) {
    if ((*it)->Alive() && (*it)->Visible()) return it->get();
  }
  return nullptr;
}

const char* CHeadlessDialogs::MoveArea(int left, int top) {
  CHeadlessAreaWindow* area = ShownArea();
  if (area == nullptr) return "the move-range window is not showing";
  const SRect& now = area->View().rect;
  area->Move({left, top, left + now.Width(), top + now.Height()});
  return nullptr;
}

const char* CHeadlessDialogs::SizeArea(const SRect& proposed) {
  CHeadlessAreaWindow* area = ShownArea();
  if (area == nullptr) return "the move-range window is not showing";
  area->Size(proposed);
  return nullptr;
}

const char* CHeadlessDialogs::PressAreaButton(int buttonId) {
  CHeadlessAreaWindow* area = ShownArea();
  if (area == nullptr) return "the move-range window is not showing";
  const std::vector<SAreaButton>& buttons = area->View().buttons;
  if (std::none_of(buttons.begin(), buttons.end(), [&](const SAreaButton& button) { return button.id == buttonId; })) {
    return "the move-range window has no such button";
  }
  area->Press(buttonId);
  return nullptr;
}
