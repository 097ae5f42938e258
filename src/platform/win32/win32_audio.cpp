#include "platform/win32/win32_audio.h"

#include "platform/headless/audio_headless.h"
#include "platform/win32/win32_wave_output.h"

namespace {

// The silent outputs' pump wakes when a buffer is due; this only bounds its sleep.
constexpr uint32_t kSilentPumpMs = 1000;

bool Playable(const SPcmFormat& format) {
  const uint16_t bits = format.bitsPerSample;
  return format.formatTag == WAVE_FORMAT_PCM && (format.channels == 1 || format.channels == 2) &&
         (bits == 8 || bits == 16) && format.samplesPerSecond > 0 && format.blockAlign == format.channels * (bits / 8);
}

}  // namespace

CWin32Audio::CWin32Audio(EWin32AudioDevice device)
    : device_(device), silent_(std::make_unique<CHeadlessAudio>(clock_)) {
  // A program that plays for days must not keep the headless audio's event log.
  silent_->KeepEvents(false);
}

CWin32Audio::~CWin32Audio() = default;

std::unique_ptr<IAudioOutput> CWin32Audio::Open(const SPcmFormat& format, AudioBufferDone done) {
  if (!Playable(format)) return nullptr;
  if (device_ != EWin32AudioDevice::kSilent) {
    MMRESULT result = MMSYSERR_NOERROR;
    if (auto output = CWin32WaveOutput::Open(format, done, result)) return output;
    // A device that is there but refuses the format would refuse it again.
    if (result == WAVERR_BADFORMAT || device_ == EWin32AudioDevice::kDeviceOnly) return nullptr;
  }
  return OpenSilent(format, std::move(done));
}

std::unique_ptr<IAudioOutput> CWin32Audio::OpenSilent(const SPcmFormat& format, AudioBufferDone done) {
  std::call_once(pumpStarted_, [this] { silent_->StartPumpThread(kSilentPumpMs); });
  return silent_->Open(format, std::move(done));
}
