#include "app/desktop_area.h"

#include <utility>
#include <vector>

#include "app/desktop_area_layout.h"
#include "app/dialog_trace.h"
#include "platform/trace_record.h"
#include "platform/user_interface.h"

namespace {

constexpr char16_t kTitle[] = u"移動範囲設定";
// The window is drawn at 230 of 255, so the desktop shows through it.
constexpr uint8_t kOpacity = 230;

bool SameRect(const SRect& a, const SRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

CDesktopArea::CDesktopArea(IUserInterface& ui, IMainWindow& owner, ITraceSink& trace, const SRect& desktop,
                           const SRect& moveRange, FConfirm onConfirm)
    : trace_(trace),
      window_(ui.CreateAreaWindow(owner, *this)),
      desktop_(desktop),
      rect_(moveRange),
      onConfirm_(std::move(onConfirm)) {}

CDesktopArea::~CDesktopArea() {
  if (window_ != nullptr) window_->Destroy();
}

SAreaView CDesktopArea::View() const {
  SAreaView view;
  view.title = kTitle;
  view.rect = rect_;
  view.opacity = kOpacity;
  // The window has no frame in this data: its client area is its rectangle.
  const int width = rect_.Width();
  const int height = rect_.Height();
  view.lines.push_back({AreaPositionText(rect_), width / 2, AreaPositionTextTop(height)});
  view.lines.push_back({AreaSizeText(rect_), width / 2, AreaSizeTextTop(height)});
  for (int button = 0; button < AREA_BUTTON_COUNT; ++button) {
    view.buttons.push_back({button, AreaButtonText(button), AreaButtonBounds(button, width, height)});
  }
  return view;
}

void CDesktopArea::Show(const SRect& moveRange) {
  SetRect(moveRange);
  visible_ = true;
  const SAreaView view = View();
  if (window_ != nullptr) window_->Show(view);
  if (!trace_.Tracing()) return;
  std::vector<std::u16string> texts;
  for (const SAreaButton& button : view.buttons) texts.push_back(button.text);
  trace_.Trace(DialogTraceRecord(std::u16string(u"area"), view.title, std::move(texts), rect_));
}

void CDesktopArea::Hide() {
  visible_ = false;
  if (window_ != nullptr) window_->Hide();
}

SRect CDesktopArea::OnMoving(const SRect& proposed) {
  SetRect(ClampAreaMove(proposed, desktop_));
  return rect_;
}

SRect CDesktopArea::OnSizing(const SRect& proposed) {
  SetRect(ClampAreaSizing(proposed, rect_, desktop_));
  return rect_;
}

void CDesktopArea::OnButton(int buttonId) {
  switch (buttonId) {
    case AREA_BUTTON_CONFIRM:
      Hide();
      if (onConfirm_) onConfirm_(rect_);
      return;
    case AREA_BUTTON_CANCEL:
      Hide();
      return;
    case AREA_BUTTON_LARGEST:
      SetRect(desktop_);
      return;
    case AREA_BUTTON_SMALLEST:
      SetRect(SmallestArea(rect_));
      return;
    default:
      return;
  }
}

void CDesktopArea::SetRect(const SRect& rect) {
  if (SameRect(rect, rect_)) return;
  rect_ = rect;
  if (trace_.Tracing()) {
    trace_.Trace(CTraceRecord("area")
                     .Add("left", int64_t{rect_.left})
                     .Add("top", int64_t{rect_.top})
                     .Add("right", int64_t{rect_.right})
                     .Add("bottom", int64_t{rect_.bottom}));
  }
  if (visible_ && window_ != nullptr) window_->Show(View());
}
