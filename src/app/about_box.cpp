#include "app/about_box.h"

#include <utility>

#include "app/about_dialogs.h"
#include "app/dialog_trace.h"
#include "platform/trace_record.h"
#include "platform/user_interface.h"

namespace {
constexpr int kDialogCancelId = 2;
}  // namespace

CAboutBox::~CAboutBox() {
  if (dialog_ != nullptr) dialog_->End(kDialogCancelId);
}

bool CAboutBox::BringForward() {
  if (dialog_ == nullptr) return false;
  dialog_->BringToFront();
  return true;
}

void CAboutBox::Run(SDialogModel dialog) {
  model_ = std::move(dialog);
  ui_.RunModalDialog(model_, owner_, *this);
}

void CAboutBox::OnOpened(IDialog& dialog) {
  dialog_ = &dialog;
  if (trace_.Tracing()) {
    trace_.Trace(DialogTraceRecord(int64_t{model_.resourceId}, model_.title, DialogTexts(model_), model_.bounds));
  }
}

void CAboutBox::OnLinkClicked(IDialog&, int controlId) {
  for (const SDialogControl& control : model_.controls) {
    if (control.id != controlId || control.kind != EDialogControl::Link) continue;
    // An empty link, or one that is no web address, has nothing the system should open.
    if (!IsOpenableWebAddress(control.url)) return;
    if (trace_.Tracing()) trace_.Trace(CTraceRecord("open-url").Add("url", control.url));
    ui_.OpenUrl(control.url);
    return;
  }
}

void CAboutBox::OnEnded(IDialog&, int) { dialog_ = nullptr; }
