#pragma once
// The base of every character and balloon window: a layered window, the marks that the
// window procedure and the owner share, and the ordered operations that window messages
// turn into. The operations the base gives a body do what the marks need and nothing
// else; the owners override the rest.
#include <atomic>
#include <cstdint>

#include "window/paint_pipeline.h"

class CImageWndClass;
class CWorkSurfaces;
class ILayeredWindow;

class CImageWnd {
 public:
  // Creates the hidden layered window and enters it in the class's registry (main
  // thread). Window() is null when the system refused the window.
  explicit CImageWnd(CImageWndClass& windowClass);
  virtual ~CImageWnd();
  CImageWnd(const CImageWnd&) = delete;
  CImageWnd& operator=(const CImageWnd&) = delete;

  virtual void Update() = 0;  // frame thread, once per frame
  virtual void Paint() = 0;   // from Update and Redraw
  virtual void ClearLeftButton() { leftButton_.store(false, std::memory_order_relaxed); }
  virtual void Redraw() { Paint(); }
  virtual void SetCursorForPointer() {}
  virtual void LeftButtonDown(int, int) { leftButton_.store(true, std::memory_order_relaxed); }
  virtual void LeftButtonUp(int, int) { leftButton_.store(false, std::memory_order_relaxed); }
  virtual void RightButtonDown(int, int) {}
  virtual void RightButtonUp(int, int) { rightButton_.store(false, std::memory_order_relaxed); }
  virtual void MouseMove(int, int) {}
  virtual void CaptureChanged() {}
  virtual void ExitSizeMove() {}
  virtual void MenuOpened(intptr_t) {}
  virtual void ToggleHidden() {}
  virtual void ToggleMute() {}
  virtual void CustomItem() {}
  virtual void ApplyScale(int, double) {}
  virtual void ApplyOpacity(int) {}
  virtual void ShowAbout() {}
  virtual void ShowAppAbout() {}
  virtual void ScaleCommand(int) {}
  virtual void OpacityCommand(int) {}
  virtual void AllSoundCommand(bool) {}
  virtual void LowQualityCommand() {}
  virtual void MoveRangeCommand() {}
  virtual void TopmostCommand() {}
  virtual void MouseCommand() {}
  virtual void ExitCommand() {}

  ILayeredWindow* Window() const { return window_; }
  // The class the window was made with; a character's balloons share it.
  CImageWndClass& WindowClass() const { return class_; }

  // The marks. Each may be written by one thread and read by the other.
  bool Hidden() const { return hidden_.load(std::memory_order_relaxed); }
  void SetHidden(bool on) { hidden_.store(on, std::memory_order_relaxed); }
  bool Ending() const { return ending_.load(std::memory_order_acquire); }
  void SetEnding(bool on) { ending_.store(on, std::memory_order_release); }
  bool AcceptsMouse() const { return acceptsMouse_.load(std::memory_order_relaxed); }
  void SetAcceptsMouse(bool on) { acceptsMouse_.store(on, std::memory_order_relaxed); }
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  void SetFinished(bool on) { finished_.store(on, std::memory_order_release); }
  bool Ended() const { return ended_.load(std::memory_order_acquire); }
  void SetEnded(bool on) { ended_.store(on, std::memory_order_release); }
  bool LeftButton() const { return leftButton_.load(std::memory_order_relaxed); }
  bool RightButton() const { return rightButton_.load(std::memory_order_relaxed); }
  void SetRightButton(bool on) { rightButton_.store(on, std::memory_order_relaxed); }

 protected:
  // The composition pipeline for Paint: does nothing without work surfaces; a refused
  // update destroys the window, which ends the application. Frame thread.
  void PresentFrame(CWorkSurfaces* surfaces, const SPaintRequest& request);

 private:
  CImageWndClass& class_;
  ILayeredWindow* window_ = nullptr;
  std::atomic<bool> hidden_{false};
  std::atomic<bool> ending_{false};
  std::atomic<bool> acceptsMouse_{true};
  std::atomic<bool> finished_{false};
  std::atomic<bool> ended_{false};
  std::atomic<bool> leftButton_{false};
  std::atomic<bool> rightButton_{false};
};
