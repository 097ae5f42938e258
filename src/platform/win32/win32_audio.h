#pragma once
// Sound for the Windows program: a winmm waveOut output on the default device for each
// Open; when the system opens none (no sound card, or the device is taken), a silent
// output timed by the wall clock, so every buffer's completion still comes and loops
// keep going. The choice is made per Open: a device plugged in later is used.
#include <memory>
#include <mutex>

#include "platform/audio.h"
#include "platform/headless/real_clock.h"

class CHeadlessAudio;

enum class EWin32AudioDevice {
  kDefault,  // the system's device, silent playback without one
  kSilent,   // silent playback only, for tests
  kDeviceOnly,  // the system's device or nothing, for tools that must be heard
};

class CWin32Audio final : public IAudio {
 public:
  explicit CWin32Audio(EWin32AudioDevice device = EWin32AudioDevice::kDefault);
  // Every output must be destroyed first.
  ~CWin32Audio() override;
  CWin32Audio(const CWin32Audio&) = delete;
  CWin32Audio& operator=(const CWin32Audio&) = delete;

  // PCM with 1 or 2 channels of 8 or 16 bits and a matching block align; null for
  // anything else and for a format the device refuses.
  std::unique_ptr<IAudioOutput> Open(const SPcmFormat& format, AudioBufferDone done) override;

 private:
  std::unique_ptr<IAudioOutput> OpenSilent(const SPcmFormat& format, AudioBufferDone done);

  const EWin32AudioDevice device_;
  CRealClock clock_;
  std::unique_ptr<CHeadlessAudio> silent_;
  // The silent outputs' pump starts with the first of them.
  std::once_flag pumpStarted_;
};
