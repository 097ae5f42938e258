#include "platform/qt/audio_with_fallback.h"

#include "platform/headless/audio_headless.h"
#include "platform/openal/openal_audio.h"

namespace {

// The silent outputs' pump wakes when a buffer is due; this only bounds its sleep.
constexpr uint32_t kSilentPumpMs = 1000;

}  // namespace

CAudioWithFallback::CAudioWithFallback(CHeadlessClock& clock)
    : openAl_(std::make_unique<COpenAlAudio>()), silent_(std::make_unique<CHeadlessAudio>(clock)) {
  // Nobody reads the silent outputs' log, which would grow with every sound played.
  silent_->KeepEvents(false);
  silent_->StartPumpThread(kSilentPumpMs);
}

CAudioWithFallback::~CAudioWithFallback() = default;

std::unique_ptr<IAudioOutput> CAudioWithFallback::Open(const SPcmFormat& format, AudioBufferDone done) {
  if (auto output = openAl_->Open(format, done)) return output;
  return silent_->Open(format, std::move(done));
}
