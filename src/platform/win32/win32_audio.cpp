#include "platform/win32/win32_audio.h"

#include <chrono>

#include "platform/headless/audio_headless.h"
#include "platform/win32/win32_wave_output.h"

namespace {

// How often the silent outputs look for finished buffers: often enough for sounds that
// chain or loop, seldom enough to cost nothing on an idle desktop.
constexpr auto kSilentPumpPeriod = std::chrono::milliseconds(20);

bool Playable(const SPcmFormat& format) {
  const uint16_t bits = format.bitsPerSample;
  return format.formatTag == WAVE_FORMAT_PCM && (format.channels == 1 || format.channels == 2) &&
         (bits == 8 || bits == 16) && format.samplesPerSecond > 0 && format.blockAlign == format.channels * (bits / 8);
}

}  // namespace

CWin32Audio::CWin32Audio(EWin32AudioDevice device)
    : device_(device), silent_(std::make_unique<CHeadlessAudio>(clock_)) {}

CWin32Audio::~CWin32Audio() {
  {
    std::lock_guard lock(pumpMutex_);
    stopping_ = true;
  }
  pumpStop_.notify_all();
  if (pump_.joinable()) pump_.join();
}

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
  {
    std::lock_guard lock(pumpMutex_);
    if (!pump_.joinable()) pump_ = std::thread([this] { PumpSilent(); });
  }
  return silent_->Open(format, std::move(done));
}

void CWin32Audio::PumpSilent() {
  std::unique_lock lock(pumpMutex_);
  while (!pumpStop_.wait_for(lock, kSilentPumpPeriod, [this] { return stopping_; })) {
    lock.unlock();
    silent_->Pump();
    // The headless audio records every event for tests; a program that plays for days
    // must not keep them.
    silent_->ClearEvents();
    lock.lock();
  }
}
