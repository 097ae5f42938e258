#include "support/mutex.h"

CMutex::~CMutex() { Close(); }

int CMutex::Create(const std::u16string& name) {
  Close();
  SNamedLockResult result = m_process.CreateNamedLock(name, /*initialOwner=*/true);
  if (!result.lock) return 2;
  m_lock = std::move(result.lock);
  return result.alreadyExisted ? 1 : 0;
}

void CMutex::Lock() {
  if (m_lock) m_lock->Wait();
}

void CMutex::Close() {
  if (!m_lock) return;
  m_lock->Release();
  m_lock.reset();
}
