#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/bool_mutex.h"
#include "support/mutex.h"
#include "support/state_transition_mutex.h"

namespace {

// One named lock standing in for the system's: it exists while a holder has it open.
class CFakeProcess : public IProcessServices {
 public:
  int open = 0;
  int waits = 0;
  int releases = 0;

  class CFakeLock : public INamedLock {
   public:
    explicit CFakeLock(CFakeProcess& process) : m_process(process) { ++m_process.open; }
    ~CFakeLock() override { --m_process.open; }
    void Wait() override { ++m_process.waits; }
    void Release() override { ++m_process.releases; }

   private:
    CFakeProcess& m_process;
  };

  SNamedLockResult CreateNamedLock(const std::u16string& name, bool) override {
    if (name.empty()) return {};
    const bool existed = open > 0;
    return {std::make_unique<CFakeLock>(*this), existed};
  }
  int CountWindowsTitled(const std::u16string&) override { return 0; }
  std::u16string ExecutablePath() override { return {}; }
  SRect DesktopRect() override { return {}; }
};

TEST(Mutex, CreateLockAndClose) {
  CFakeProcess process;
  {
    CMutex first(process);
    CMutex second(process);
    EXPECT_EQ(first.Create(u"Zelvotta_Mutex"), 0);
    EXPECT_EQ(second.Create(u"Zelvotta_Mutex"), 1);
    EXPECT_EQ(second.Create(u""), 2);  // closes its previous lock first
    EXPECT_EQ(process.open, 1);
    EXPECT_EQ(process.releases, 1);
    second.Lock();  // holds nothing: nothing to wait for
    first.Lock();
    EXPECT_EQ(process.waits, 1);
    first.Close();
    first.Close();
    EXPECT_EQ(process.releases, 2);
    EXPECT_EQ(first.Create(u"Zelvotta_Mutex"), 0);
  }  // the destructor closes
  EXPECT_EQ(process.releases, 3);
  EXPECT_EQ(process.open, 0);
}

TEST(StateTransitionMutex, HighestSlotWinsAndOutOfRangeIsIgnored) {
  CStateTransitionMutex table(14);
  table.SetBase(1);
  table.Request(0, 50);   // below base
  table.Request(14, 51);  // at base + 13
  EXPECT_FALSE(table.IsPending());
  EXPECT_EQ(table.Take(), -1);
  EXPECT_EQ(table.TakenSlot(), -1);

  table.Request(3, 202);
  table.Request(10, 209);
  table.Request(13, 212);
  table.Request(13, 213);  // a later request in a slot replaces its value
  EXPECT_TRUE(table.IsPending());
  EXPECT_EQ(table.Take(), 213);
  EXPECT_EQ(table.TakenSlot(), 12);

  table.Reset();
  EXPECT_FALSE(table.IsPending());
  EXPECT_EQ(table.Take(), -1);
  EXPECT_EQ(table.TakenSlot(), 12);  // kept until a take finds a slot
}

// The main thread requests while the frame thread takes and resets, as in the running
// program; under ThreadSanitizer this shows the table and busy mark are race-free.
TEST(StateTransitionMutex, RequestsAndFramesOnTwoThreads) {
  CStateTransitionMutex table(14);
  CBoolMutex busy;
  std::atomic<bool> done{false};
  std::atomic<int> foreignValues{0};
  std::thread frames([&] {
    while (!done.load()) {
      busy.SetBusy(true);
      if (table.IsPending()) {
        // Requests store 1000 + slot; -1 is a request dropped by a concurrent reset.
        const int value = table.Take();
        if (value != -1 && (value < 1000 || value > 1012)) ++foreignValues;
        table.Reset();
      }
      busy.SetBusy(false);
    }
  });
  for (int i = 0; i < 20000; ++i) {
    table.Request(i % 13, 1000 + i % 13);
    (void)busy.IsBusy();
  }
  done.store(true);
  frames.join();
  EXPECT_EQ(foreignValues.load(), 0);
}

}  // namespace
