#pragma once
// What the application shell asks of a live character. The character runtime provides
// the implementation; the shell only drives it: one Update per frame on the frame
// thread, the rest from the main thread.
#include <atomic>

class CCharacter {
 public:
  CCharacter() = default;
  CCharacter(const CCharacter&) = delete;
  CCharacter& operator=(const CCharacter&) = delete;
  virtual ~CCharacter() = default;

  // Shows or hides the character as its saved state says, once after loading.
  virtual void InitialShow() = 0;
  // Advances the character by one frame (frame thread).
  virtual void Update() = 0;
  // The character's menu entry was chosen: hide it if shown, show it if hidden.
  virtual void ToggleHidden() = 0;
  // The program is ending: play the end event if the character can, then finish.
  virtual void RequestEnding() = 0;

  // Set once the character has played out its ending; read by the frame thread.
  bool IsFinished() const { return finished_.load(std::memory_order_acquire); }

 protected:
  void MarkFinished() { finished_.store(true, std::memory_order_release); }

 private:
  std::atomic<bool> finished_{false};
};
