#include "window/image_wnd_class.h"

#include <algorithm>

#include "window/image_wnd.h"
#include "window/image_wnd_host.h"
#include "window/command_ids.h"

CImageWndClass::CImageWndClass(ILayeredWindows& windows, IMainWindow& owner, IImageWndHost& host)
    : windows_(windows), owner_(owner), host_(host) {}

ILayeredWindow* CImageWndClass::CreateFor(CImageWnd& object) {
  ILayeredWindow* window = windows_.Create(owner_, kImageWindowTitle, *this);
  if (window != nullptr) registry_.emplace_back(window, &object);
  return window;
}

void CImageWndClass::Forget(const ILayeredWindow& window) {
  std::erase_if(registry_, [&](const auto& entry) { return entry.first == &window; });
}

CImageWnd* CImageWndClass::Find(const ILayeredWindow& window) const {
  const auto it = std::find_if(registry_.begin(), registry_.end(),
                               [&](const auto& entry) { return entry.first == &window; });
  return it == registry_.end() ? nullptr : it->second;
}

bool CImageWndClass::OnMouse(ILayeredWindow& window, ELayeredMouse message, int x, int y) {
  CImageWnd* object = Find(window);
  const bool mouseEnabled = host_.MouseEnabled();
  switch (message) {
    case ELayeredMouse::LeftButtonDown:
    case ELayeredMouse::RightButtonDown:
      // With the mouse disabled the press belongs to the system; otherwise it is taken
      // even when the object does not want it.
      if (!mouseEnabled) return false;
      if (object != nullptr && (object->AcceptsMouse() || object->Ending())) {
        if (message == ELayeredMouse::LeftButtonDown) {
          object->LeftButtonDown(x, y);
        } else {
          object->RightButtonDown(x, y);
        }
      }
      return true;
    case ELayeredMouse::LeftButtonUp:
    case ELayeredMouse::RightButtonUp:
    case ELayeredMouse::ExitSizeMove:
      // A release while ending still arrives, so a drag begun then can finish.
      if (object == nullptr || !((mouseEnabled && object->AcceptsMouse()) || object->Ending())) return false;
      if (message == ELayeredMouse::LeftButtonUp) {
        object->LeftButtonUp(x, y);
      } else if (message == ELayeredMouse::RightButtonUp) {
        object->RightButtonUp(x, y);
      } else {
        object->ExitSizeMove();
      }
      return true;
    case ELayeredMouse::MouseMove:
      if (object == nullptr) return false;
      object->MouseMove(x, y);
      return true;
    case ELayeredMouse::SetCursor:
      if (object == nullptr) return false;
      object->SetCursorForPointer();
      return true;
    case ELayeredMouse::CaptureChanged:
      if (object == nullptr) return false;
      object->CaptureChanged();
      return true;
  }
  return false;
}

bool CImageWndClass::OnCommand(ILayeredWindow& window, int id) {
  if (id == kCmdQuitNow) {
    host_.QuitNow();
    return true;
  }
  CImageWnd* object = Find(window);
  if (object == nullptr) return false;
  if (id >= kCmdScaleFirst && id <= kCmdScaleLast) {
    object->ScaleCommand(id);
    return true;
  }
  if (id >= kCmdOpacityFirst && id <= kCmdOpacityLast) {
    object->OpacityCommand(id);
    return true;
  }
  switch (id) {
    case kCmdToggleHidden: object->ToggleHidden(); return true;
    case kCmdToggleMute: object->ToggleMute(); return true;
    case kCmdCustomItem: object->CustomItem(); return true;
    case kCmdCharacterAbout: object->ShowAbout(); return true;
    case kCmdAbout: object->ShowAppAbout(); return true;
    case kCmdAllSoundOff: object->AllSoundCommand(true); return true;
    case kCmdAllSoundOn: object->AllSoundCommand(false); return true;
    case kCmdLowQuality: object->LowQualityCommand(); return true;
    case kCmdMoveRange: object->MoveRangeCommand(); return true;
    case kCmdAlwaysOnTop: object->TopmostCommand(); return true;
    case kCmdMouseDisabled: object->MouseCommand(); return true;
    case kCmdExit: object->ExitCommand(); return true;
    default: return false;
  }
}

void CImageWndClass::OnMenuOpened(ILayeredWindow& window, intptr_t param) {
  if (CImageWnd* object = Find(window)) object->MenuOpened(param);
}

void CImageWndClass::OnDestroy(ILayeredWindow&) { host_.PostQuit(0); }
