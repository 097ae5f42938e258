#pragma once
// CStateTransitionMutex: a fixed table of state-change requests. The main thread fills
// slots from window messages and menu commands; once per frame the frame thread takes
// the highest filled slot and resets the table, dropping the weaker requests.
//
// Each slot's value is published by its mark (release/acquire) and the pending flag is
// stored last by a request and cleared last by a reset, so no lock is needed.
#include <atomic>
#include <memory>

class CStateTransitionMutex {
 public:
  // Builds the table for stateCount states, which gives stateCount - 1 slots.
  explicit CStateTransitionMutex(int stateCount);
  virtual ~CStateTransitionMutex() = default;
  CStateTransitionMutex(const CStateTransitionMutex&) = delete;
  CStateTransitionMutex& operator=(const CStateTransitionMutex&) = delete;

  // Stores value in slot state - base; states outside the table are ignored.
  void Request(int state, int value);
  // The value of the highest marked slot, remembered as the taken slot; -1 (and the
  // taken slot unchanged) when no slot is marked. Does not clear anything.
  int Take();
  // The value in slot state - base when that slot is marked, else -1.
  int ValueOf(int state) const;
  // Empties every slot, then clears the pending flag.
  void Reset();
  bool IsPending() const { return m_pending.load(std::memory_order_acquire); }
  // Index of the slot last taken, -1 until a take found one.
  int TakenSlot() const { return m_takenSlot; }
  // Sets the number subtracted from a state to give its slot; set before threads share it.
  void SetBase(int base) { m_base = base; }
  int SlotCount() const { return m_slotCount; }

 private:
  int m_slotCount;
  std::unique_ptr<std::atomic<int>[]> m_values;
  std::unique_ptr<std::atomic<bool>[]> m_marks;
  int m_base = 0;
  std::atomic<bool> m_pending{false};
  int m_takenSlot = -1;  // owned by the taking thread
};
