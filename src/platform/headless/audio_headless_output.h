#pragma once
// One output of the headless audio: a queue of buffers with their start times.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/audio.h"

class CHeadlessAudio;

class CHeadlessAudioOutput final : public IAudioOutput {
 public:
  CHeadlessAudioOutput(CHeadlessAudio& audio, int number, const SPcmFormat& format, AudioBufferDone done);
  ~CHeadlessAudioOutput() override;
  CHeadlessAudioOutput(const CHeadlessAudioOutput&) = delete;
  CHeadlessAudioOutput& operator=(const CHeadlessAudioOutput&) = delete;

  bool Queue(SAudioBuffer& buffer) override;
  bool Reset() override;
  bool IsQueued(const SAudioBuffer& buffer) const override;
  // When the first queued buffer finishes on the clock; kNothingQueued when none is.
  static constexpr uint64_t kNothingQueued = UINT64_MAX;
  uint64_t FirstEndUs() const;
  bool Close() override;

  // Delivers the notification of the first buffer if it has finished by `nowUs`;
  // false when none has.
  bool DeliverFinished(uint64_t nowUs);

 private:
  struct SQueued {
    SAudioBuffer* buffer;
    uint64_t startUs;
    uint64_t endUs;
  };

  uint64_t DurationUs(uint32_t length) const;
  // Waits until no notification runs on another thread; then this thread may deliver.
  void WaitForOtherDelivery(std::unique_lock<std::mutex>& lock);
  void EndDelivery();

  CHeadlessAudio& audio_;
  const int number_;
  const SPcmFormat format_;
  const AudioBufferDone done_;
  mutable std::mutex mutex_;
  std::condition_variable deliveryEnded_;
  std::deque<SQueued> queue_;
  int delivering_ = 0;  // notifications running (nested when one calls Reset)
  std::thread::id deliveringThread_;
  uint64_t notifyTimeUs_ = 0;  // the time a running notification stands for
  bool closed_ = false;
};
