#pragma once
// A system-wide named lock, used to serialise the start-up of separate processes.
#include <memory>
#include <string>

#include "platform/process.h"

class IMutex {
 public:
  virtual ~IMutex() = default;
  // Creates or opens the lock and asks to own it. Returns 0 when it was new, 1 when it
  // already existed, 2 when the name could not be used.
  virtual int Create(const std::u16string& name) = 0;
  // Waits without time limit until this process owns the lock.
  virtual void Lock() = 0;
  // Releases one level of ownership and lets go of the lock.
  virtual void Close() = 0;
};

class CMutex : public IMutex {
 public:
  explicit CMutex(IProcessServices& process) : m_process(process) {}
  ~CMutex() override;
  CMutex(const CMutex&) = delete;
  CMutex& operator=(const CMutex&) = delete;

  int Create(const std::u16string& name) override;
  void Lock() override;
  void Close() override;

 private:
  IProcessServices& m_process;
  std::unique_ptr<INamedLock> m_lock;  // null when closed
};
