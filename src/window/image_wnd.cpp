#include "window/image_wnd.h"

#include "platform/layered_window.h"
#include "window/image_wnd_class.h"

CImageWnd::CImageWnd(CImageWndClass& windowClass) : class_(windowClass) {
  window_ = class_.CreateFor(*this);
}

CImageWnd::~CImageWnd() {
  if (window_ == nullptr) return;
  // Out of the registry first, so no message reaches the object while it goes.
  class_.Forget(*window_);
  window_->Destroy();
}

void CImageWnd::PresentFrame(CWorkSurfaces* surfaces, const SPaintRequest& request) {
  if (surfaces == nullptr || window_ == nullptr) return;
  if (!PaintLayered(*surfaces, *window_, request)) window_->Destroy();
}
