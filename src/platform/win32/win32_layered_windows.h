#pragma once
// The factory and register of the layered windows: every window stays owned here for
// the life of the platform, and windows follow their owner into and out of the
// topmost band.
#include <memory>
#include <vector>

#include "platform/layered_window.h"

class CWin32LayeredWindow;
class CWin32MainWindow;

class CWin32LayeredWindows final : public ILayeredWindows {
 public:
  CWin32LayeredWindows();
  ~CWin32LayeredWindows() override;

  ILayeredWindow* Create(IMainWindow& owner, const std::u16string& title, ILayeredWindowHandler& handler) override;
  // The owner moved into (or out of) the topmost band: its windows go along.
  void SetOwnerTopmost(const CWin32MainWindow& owner, bool topmost);
  // Every window made so far, in creation order; for tests.
  const std::vector<std::unique_ptr<CWin32LayeredWindow>>& Windows() const { return windows_; }

 private:
  std::vector<std::unique_ptr<CWin32LayeredWindow>> windows_;
};
