#pragma once
// The balloons of one character as the character drives them: the main balloon named
// "01", closing and updating them all, calling a balloon function, and passing scale and
// opacity on. Until balloons are built a character has none: every operation does nothing.
class ILayeredWindow;

class ICharaBalloons {
 public:
  virtual ~ICharaBalloons() = default;
  // Builds the main balloon from the balloon register "01" when there is one; false when
  // the character has none.
  virtual bool CreateMain() = 0;
  // The main balloon's window, or null.
  virtual ILayeredWindow* MainWindow() const = 0;
  virtual void CloseAll() = 0;
  // One frame of every balloon, in map order (frame thread).
  virtual void UpdateAll() = 0;
  // A new function starts: the main balloon forgets a call still waiting.
  virtual void ForgetPendingCall() = 0;
  // Calls the balloon function `balloonId` on the main balloon.
  virtual void CallMain(int balloonId) = 0;
  virtual void ApplyScale(double scale) = 0;
  virtual void ApplyOpacity(double opacity) = 0;
};

class CNoBalloons final : public ICharaBalloons {
 public:
  bool CreateMain() override { return false; }
  ILayeredWindow* MainWindow() const override { return nullptr; }
  void CloseAll() override {}
  void UpdateAll() override {}
  void ForgetPendingCall() override {}
  void CallMain(int) override {}
  void ApplyScale(double) override {}
  void ApplyOpacity(double) override {}
};
