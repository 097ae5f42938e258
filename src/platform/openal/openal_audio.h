#pragma once
// Audio through OpenAL Soft: one context on the default device, one source per output.
// The device is opened on the first Open; without one every Open fails at once.
#include <memory>
#include <mutex>

#include "platform/audio.h"

class COpenAlAudio final : public IAudio {
 public:
  COpenAlAudio() = default;
  // Every output must be destroyed first.
  ~COpenAlAudio() override;
  COpenAlAudio(const COpenAlAudio&) = delete;
  COpenAlAudio& operator=(const COpenAlAudio&) = delete;

  // Mono or stereo, 8 or 16 bits; other formats fail, as does a missing device.
  std::unique_ptr<IAudioOutput> Open(const SPcmFormat& format, AudioBufferDone done) override;

 private:
  bool EnsureDevice();

  std::mutex mutex_;
  bool tried_ = false;
  void* device_ = nullptr;   // ALCdevice*, kept opaque so callers need no OpenAL headers
  void* context_ = nullptr;  // ALCcontext*
};
