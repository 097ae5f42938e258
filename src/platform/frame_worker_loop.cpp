#include "platform/frame_worker_loop.h"

#include "platform/clock.h"
#include "platform/user_interface.h"

void RunFrameWorkerLoop(IFrameWorker& worker, IClock& clock, std::atomic<uint64_t>& frames,
                        uint64_t quitAfterFrames, const std::function<void()>& askQuit) {
  worker.Begin();
  while (worker.KeepRunning()) {
    const uint32_t sleepMs = worker.Step();
    const uint64_t done = frames.fetch_add(1, std::memory_order_acq_rel) + 1;
    if (quitAfterFrames != 0 && done == quitAfterFrames) askQuit();
    clock.Sleep(sleepMs);
  }
  worker.End();
}
