#pragma once
// Process-level capabilities: the system-wide named lock, the window census, the
// executable's location and the desktop's extent.
#include <memory>
#include <string>

#include "platform/geometry.h"

// A lock shared by every process of the user under one name. The process that creates
// it may own it from the start; ownership is recursive for its owner and is given up
// when the lock is destroyed, also when the owning process dies.
class INamedLock {
 public:
  virtual ~INamedLock() = default;
  // Blocks until this process owns the lock. Each successful wait needs one Release.
  virtual void Wait() = 0;
  // Gives up one level of ownership; does nothing when not owned.
  virtual void Release() = 0;
};

struct SNamedLockResult {
  std::unique_ptr<INamedLock> lock;  // null when the name could not be used
  bool alreadyExisted = false;       // another holder had it open before this call
};

class IProcessServices {
 public:
  virtual ~IProcessServices() = default;
  // Creates or opens the named lock; with initialOwner it is owned at once unless it
  // already existed. Costs a few system calls.
  virtual SNamedLockResult CreateNamedLock(const std::u16string& name, bool initialOwner) = 0;
  // Counts the visible-to-the-user top-level windows, in every process, whose title is
  // exactly `title` (case-sensitive). Costs a walk over all windows.
  virtual int CountWindowsTitled(const std::u16string& title) = 0;
  // Full path of the running program, in the system's own notation.
  virtual std::u16string ExecutablePath() = 0;
  // The desktop rectangle the characters live on.
  virtual SRect DesktopRect() = 0;
};
