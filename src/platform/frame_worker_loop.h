#pragma once
// The frame worker's run on a desktop platform: on a thread of its own, each step
// followed by the sleep it asks for, against the system clock.
#include <atomic>
#include <cstdint>
#include <functional>

class IClock;
class IFrameWorker;

// Runs `worker` from Begin to End on the calling thread. `frames` counts the steps
// done; when it reaches `quitAfterFrames` (> 0), `askQuit` runs once, on this thread.
void RunFrameWorkerLoop(IFrameWorker& worker, IClock& clock, std::atomic<uint64_t>& frames,
                        uint64_t quitAfterFrames, const std::function<void()>& askQuit);
