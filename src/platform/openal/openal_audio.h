#pragma once
// Audio through OpenAL Soft: one context on the default device, one source per output.
// The device is opened on the first Open; without one every Open fails at once. It
// runs only while something plays: once every output has been empty for a while the
// device is paused (ALC_SOFT_pause_device), so the library stops mixing silence and the
// sound server may suspend its sink; the next queued buffer resumes it before it plays.
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/audio.h"

class COpenAlAudio final : public IAudio {
 public:
  // The device pauses after `idleBeforePause` with nothing queued on any output.
  explicit COpenAlAudio(std::chrono::milliseconds idleBeforePause = std::chrono::seconds(2));
  // Every output must be destroyed first.
  ~COpenAlAudio() override;
  COpenAlAudio(const COpenAlAudio&) = delete;
  COpenAlAudio& operator=(const COpenAlAudio&) = delete;

  // Mono or stereo, 8 or 16 bits; other formats fail, as does a missing device.
  std::unique_ptr<IAudioOutput> Open(const SPcmFormat& format, AudioBufferDone done) override;

  // Whether the device is paused now (false without a device).
  bool Paused();
  // Times the device was paused since it opened, for tests and measurements.
  int PauseCount();

  // For the outputs: an output's queue went from empty to holding a buffer (the device
  // resumes at once, on the caller's thread), or from holding buffers to empty.
  void OutputBusy();
  void OutputIdle();

 private:
  bool EnsureDevice();
  // Pauses the device once it has been idle long enough; sleeps while it plays or is paused.
  void WatchIdle();

  const std::chrono::milliseconds idleBeforePause_;
  std::mutex mutex_;
  bool tried_ = false;
  void* device_ = nullptr;   // ALCdevice*, kept opaque so callers need no OpenAL headers
  void* context_ = nullptr;  // ALCcontext*
  void* pause_ = nullptr;   // alcDevicePauseSOFT, when the library has the extension
  void* resume_ = nullptr;  // alcDeviceResumeSOFT
  int busyOutputs_ = 0;
  bool paused_ = false;
  int pauseCount_ = 0;
  bool stopping_ = false;
  std::chrono::steady_clock::time_point idleSince_;
  std::condition_variable idleChanged_;
  std::thread idleWatch_;
};
