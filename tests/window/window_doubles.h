#pragma once
// Stand-ins for the platform's layered windows, the application host and a painted
// window, recording what the window code asks of them.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/layered_window.h"
#include "platform/user_interface.h"
#include "window/image_wnd.h"
#include "window/image_wnd_host.h"
#include "window/obj_wnd.h"

class FakeLayeredWindow : public ILayeredWindow {
 public:
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  bool Visible() const override { return visible; }
  void BringToTop() override {}
  void PlaceBelow(ILayeredWindow&) override {}
  void SetTopmost(bool) override {}
  bool Update(const SLayeredFrame& frame) override {
    last = frame;
    pixels.assign(frame.pixels, frame.pixels + static_cast<size_t>(frame.stride) * static_cast<size_t>(frame.height));
    ++updates;
    return !refuse;
  }
  void SetCapture() override {}
  void ReleaseCapture() override {}
  void Destroy() override {
    ++destroyed;
    if (handler != nullptr) handler->OnDestroy(*this);
  }

  ILayeredWindowHandler* handler = nullptr;
  std::u16string title;
  bool visible = false;
  bool refuse = false;
  int updates = 0;
  int destroyed = 0;
  SLayeredFrame last;
  std::vector<uint32_t> pixels;
};

class FakeLayeredWindows : public ILayeredWindows {
 public:
  ILayeredWindow* Create(IMainWindow&, const std::u16string& title, ILayeredWindowHandler& handler) override {
    if (refuse) return nullptr;
    auto& window = windows.emplace_back(std::make_unique<FakeLayeredWindow>());
    window->title = title;
    window->handler = &handler;
    return window.get();
  }
  bool refuse = false;
  std::vector<std::unique_ptr<FakeLayeredWindow>> windows;
};

class FakeOwner : public IMainWindow {
 public:
  void PostAppMessage(uint32_t, intptr_t) override {}
  void Destroy() override {}
  void BringToForeground() override {}
  void SetTopmost(bool) override {}
  void StartTimer(int, uint32_t) override {}
  void StopTimer(int) override {}
};

class FakeHost : public IImageWndHost {
 public:
  bool MouseEnabled() const override { return mouseEnabled.load(std::memory_order_relaxed); }
  void QuitNow() override { ++quitNow; }
  void PostQuit(int code) override { quitCodes.push_back(code); }

  std::atomic<bool> mouseEnabled{true};
  int quitNow = 0;
  std::vector<int> quitCodes;
};

// Records every operation as a short text, in order.
class RecordingWnd : public CObjWnd {
 public:
  using CObjWnd::CObjWnd;
  void Update() override {}
  void Paint() override { calls.push_back("Paint"); }
  void SetCursorForPointer() override { calls.push_back("SetCursor"); }
  void LeftButtonDown(int x, int y) override { Record("LeftDown", x, y); CObjWnd::LeftButtonDown(x, y); }
  void LeftButtonUp(int x, int y) override { Record("LeftUp", x, y); CObjWnd::LeftButtonUp(x, y); }
  void RightButtonDown(int x, int y) override { Record("RightDown", x, y); }
  void RightButtonUp(int x, int y) override { Record("RightUp", x, y); }
  void MouseMove(int x, int y) override { Record("Move", x, y); }
  void CaptureChanged() override { calls.push_back("Capture"); }
  void ExitSizeMove() override { calls.push_back("ExitSizeMove"); }
  void MenuOpened(intptr_t menu) override { calls.push_back("Menu " + std::to_string(menu)); }
  void ToggleHidden() override { calls.push_back("ToggleHidden"); }
  void ToggleMute() override { calls.push_back("ToggleMute"); }
  void CustomItem() override { calls.push_back("CustomItem"); }
  void ShowAbout() override { calls.push_back("ShowAbout"); }
  void ShowAppAbout() override { calls.push_back("ShowAppAbout"); }
  void ScaleCommand(int id) override { calls.push_back("Scale " + std::to_string(id)); }
  void OpacityCommand(int id) override { calls.push_back("Opacity " + std::to_string(id)); }
  void AllSoundCommand(bool mute) override { calls.push_back(mute ? "AllSound mute" : "AllSound on"); }
  void LowQualityCommand() override { calls.push_back("LowQuality"); }
  void MoveRangeCommand() override { calls.push_back("MoveRange"); }
  void TopmostCommand() override { calls.push_back("Topmost"); }
  void MouseCommand() override { calls.push_back("Mouse"); }
  void ExitCommand() override { calls.push_back("Exit"); }

  using CImageWnd::PresentFrame;
  std::vector<std::string> calls;

 private:
  void Record(const char* name, int x, int y) {
    calls.push_back(std::string(name) + " " + std::to_string(x) + "," + std::to_string(y));
  }
};
