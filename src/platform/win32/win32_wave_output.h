#pragma once
// One winmm waveOut output. The system's callback runs on a thread of its own where no
// waveOut function may be called, so it only signals an event; a thread of the output
// then unprepares the finished headers and delivers their notifications, which may
// queue again. The device is open only while something plays: after a while with
// nothing queued the thread closes it, and the next Queue opens it again, so an idle
// program keeps no audio stream (nor the system's mixing for it) running.
#include "platform/win32/win32_system.h"
#include <mmsystem.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/audio.h"

class CWin32WaveOutput final : public IAudioOutput {
 public:
  // Opens the default device (the wave mapper) for the format; null with the system's
  // reason in `result` when it refuses (WAVERR_BADFORMAT for the format itself).
  static std::unique_ptr<CWin32WaveOutput> Open(const SPcmFormat& format, AudioBufferDone done, MMRESULT& result);

  // Takes an open device and the event its callback signals; the device is closed
  // after `idleBeforeClose` with nothing queued.
  CWin32WaveOutput(HWAVEOUT device, HANDLE wake, const SPcmFormat& format, AudioBufferDone done,
                   std::chrono::milliseconds idleBeforeClose = std::chrono::seconds(2));
  // Stops the device without notifications and closes it; never from a notification.
  ~CWin32WaveOutput() override;
  CWin32WaveOutput(const CWin32WaveOutput&) = delete;
  CWin32WaveOutput& operator=(const CWin32WaveOutput&) = delete;

  bool Queue(SAudioBuffer& buffer) override;
  bool Reset() override;
  bool IsQueued(const SAudioBuffer& buffer) const override;
  bool Close() override;

  // Whether the system's device is open now (false while closed for silence).
  bool DeviceOpen() const;

 private:
  struct SQueued {
    SAudioBuffer* buffer;
    // Null for a buffer without a whole sample frame: nothing to play, done in turn.
    std::unique_ptr<WAVEHDR> header;
  };

  void Run();
  // How long the deliverer may wait for the callback's signal; closes the device once
  // it has been idle long enough.
  DWORD NextWait();
  // Opens the device again after it was closed for silence.
  bool Reopen();
  void DeliverFinished();
  // Takes a header back from the device; false while the device still plays it.
  bool Unprepare(SQueued& queued);
  // After waveOutReset: takes every header back, waiting a little for a slow device.
  void TakeBackAfterStop(std::deque<SQueued>& stopped);
  void Deliver(std::deque<SQueued>& finished, std::unique_lock<std::mutex>& lock);
  // Waits until no notification runs on another thread; then this thread may deliver.
  void WaitForOtherDelivery(std::unique_lock<std::mutex>& lock);
  void StopDevice();

  HWAVEOUT device_;
  const HANDLE wake_;
  const SPcmFormat format_;
  const AudioBufferDone done_;
  const std::chrono::milliseconds idleBeforeClose_;
  std::chrono::steady_clock::time_point idleSince_;
  mutable std::mutex mutex_;
  std::condition_variable deliveryEnded_;
  std::deque<SQueued> queue_;
  int delivering_ = 0;  // notifications running (nested when one calls Reset)
  std::thread::id deliveringThread_;
  bool closed_ = false;
  std::atomic<bool> stop_{false};
  std::thread deliverer_;
};
