#pragma once
// Sound for the desktop program: OpenAL when a device opens; otherwise silent playback
// timed by the clock, so a machine without a sound card still hears every buffer's
// completion and loops keep going.
#include <memory>

#include "platform/audio.h"

class CHeadlessAudio;
class CHeadlessClock;
class COpenAlAudio;

class CAudioWithFallback final : public IAudio {
 public:
  explicit CAudioWithFallback(CHeadlessClock& clock);
  ~CAudioWithFallback() override;

  std::unique_ptr<IAudioOutput> Open(const SPcmFormat& format, AudioBufferDone done) override;

 private:
  std::unique_ptr<COpenAlAudio> openAl_;
  std::unique_ptr<CHeadlessAudio> silent_;
};
