#pragma once
// One OpenAL source playing queued buffers. OpenAL has no completion callback, so a
// small thread looks at the source when the playing buffer should have ended (and at
// least every few tenths of a second) for processed buffers and delivers their
// notifications outside the lock, where they may queue again. It tells the audio when
// its queue fills and empties, so the device runs only while some output plays.
#include <AL/al.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/audio.h"

class COpenAlAudio;

class COpenAlOutput final : public IAudioOutput {
 public:
  // Takes a source that is already generated; `alFormat` is an AL_FORMAT_* value.
  COpenAlOutput(COpenAlAudio& audio, ALuint source, ALenum alFormat, const SPcmFormat& format, AudioBufferDone done);
  // Stops the source and joins the polling thread; never from a notification.
  ~COpenAlOutput() override;
  COpenAlOutput(const COpenAlOutput&) = delete;
  COpenAlOutput& operator=(const COpenAlOutput&) = delete;

  bool Queue(SAudioBuffer& buffer) override;
  bool Reset() override;
  bool IsQueued(const SAudioBuffer& buffer) const override;
  bool Close() override;

 private:
  struct SQueued {
    SAudioBuffer* buffer;
    ALuint alBuffer;
  };

  // Returns how long the playing buffer still sounds.
  std::chrono::microseconds Poll();
  // Tells the audio whether this output now holds buffers, when that changed.
  void ReportActivity();
  void Deliver(std::deque<SQueued>& finished, std::unique_lock<std::mutex>& lock);
  void WaitForOtherDelivery(std::unique_lock<std::mutex>& lock);

  COpenAlAudio& audio_;
  const ALuint source_;
  const ALenum alFormat_;
  const SPcmFormat format_;
  const AudioBufferDone done_;
  mutable std::mutex mutex_;
  std::condition_variable deliveryEnded_;
  std::deque<SQueued> queue_;
  int delivering_ = 0;
  std::thread::id deliveringThread_;
  bool closed_ = false;
  bool reportedBusy_ = false;
  std::condition_variable queuedOrStopped_;  // wakes the poller, which sleeps while nothing is queued
  std::atomic<bool> stop_{false};
  std::thread poller_;
};
