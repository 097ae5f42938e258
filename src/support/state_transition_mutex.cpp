#include "support/state_transition_mutex.h"

#include <algorithm>

CStateTransitionMutex::CStateTransitionMutex(int stateCount)
    : m_slotCount(std::max(stateCount - 1, 0)),
      m_values(new std::atomic<int>[static_cast<size_t>(m_slotCount)]),
      m_marks(new std::atomic<bool>[static_cast<size_t>(m_slotCount)]) {
  for (int i = 0; i < m_slotCount; ++i) {
    m_values[i].store(-1, std::memory_order_relaxed);
    m_marks[i].store(false, std::memory_order_relaxed);
  }
}

void CStateTransitionMutex::Request(int state, int value) {
  const int slot = state - m_base;
  if (slot < 0 || slot >= m_slotCount) return;
  m_values[slot].store(value, std::memory_order_relaxed);
  m_marks[slot].store(true, std::memory_order_release);
  m_pending.store(true, std::memory_order_release);
}

int CStateTransitionMutex::Take() {
  for (int slot = m_slotCount - 1; slot >= 0; --slot) {
    if (m_marks[slot].load(std::memory_order_acquire)) {
      m_takenSlot = slot;
      return m_values[slot].load(std::memory_order_relaxed);
    }
  }
  return -1;
}

int CStateTransitionMutex::ValueOf(int state) const {
  const int slot = state - m_base;
  if (slot < 0 || slot >= m_slotCount || !m_marks[slot].load(std::memory_order_acquire)) return -1;
  return m_values[slot].load(std::memory_order_relaxed);
}

void CStateTransitionMutex::Reset() {
  for (int slot = 0; slot < m_slotCount; ++slot) {
    m_values[slot].store(-1, std::memory_order_relaxed);
    m_marks[slot].store(false, std::memory_order_relaxed);
  }
  m_pending.store(false, std::memory_order_release);
}
