#include "platform/headless/audio_headless.h"

#include <algorithm>
#include <chrono>

#include "platform/headless/audio_headless_output.h"
#include "platform/headless/headless_clock.h"

namespace {

bool DeviceTakes(const SPcmFormat& format) {
  const uint16_t bits = format.bitsPerSample;
  return format.formatTag == 1 && format.channels > 0 && format.samplesPerSecond > 0 &&
         (bits == 8 || bits == 16 || bits == 24 || bits == 32) && format.blockAlign == format.channels * (bits / 8);
}

}  // namespace

CHeadlessAudio::CHeadlessAudio(CHeadlessClock& clock) : clock_(clock) {}

CHeadlessAudio::~CHeadlessAudio() {
  {
    std::lock_guard lock(pumpMutex_);
    stopPump_.store(true);
  }
  pumpWake_.notify_all();
  if (pumpThread_.joinable()) pumpThread_.join();
}

std::unique_ptr<IAudioOutput> CHeadlessAudio::Open(const SPcmFormat& format, AudioBufferDone done) {
  if (!deviceAvailable_.load() || !DeviceTakes(format)) {
    Record("open-failed");
    return nullptr;
  }
  int number;
  std::unique_ptr<CHeadlessAudioOutput> output;
  {
    std::lock_guard lock(outputsMutex_);
    number = nextNumber_++;
    output = std::make_unique<CHeadlessAudioOutput>(*this, number, format, std::move(done));
    outputs_.push_back(output.get());
  }
  Record("open " + std::to_string(number) + " " + std::to_string(format.channels) + "ch " +
         std::to_string(format.samplesPerSecond) + "Hz " + std::to_string(format.bitsPerSample) + "bit");
  return output;
}

int CHeadlessAudio::Pump() {
  std::lock_guard lock(outputsMutex_);
  const uint64_t nowUs = NowUs();
  int delivered = 0;
  for (CHeadlessAudioOutput* output : outputs_) {
    while (output->DeliverFinished(nowUs)) ++delivered;
  }
  return delivered;
}

void CHeadlessAudio::StartPumpThread(uint32_t periodMs) {
  if (pumpThread_.joinable()) return;
  pumpThread_ = std::thread([this, periodMs] {
    while (!stopPump_.load()) {
      {
        std::lock_guard lock(pumpMutex_);
        queuedSinceCheck_ = false;
      }
      Pump();
      const uint64_t dueUs = FirstEndUs();
      // A buffer queued after the flag was cleared has set it again, so it is not missed.
      std::unique_lock lock(pumpMutex_);
      const auto woken = [this] { return stopPump_.load() || queuedSinceCheck_; };
      if (dueUs == CHeadlessAudioOutput::kNothingQueued) {
        pumpWake_.wait(lock, woken);
        continue;
      }
      // The clock counts whole milliseconds: one more makes sure the buffer is due.
      const uint64_t nowUs = NowUs();
      const uint64_t waitUs = std::min<uint64_t>((dueUs > nowUs ? dueUs - nowUs : 0) + 1000, uint64_t{periodMs} * 1000);
      pumpWake_.wait_for(lock, std::chrono::microseconds(waitUs), woken);
    }
  });
}

void CHeadlessAudio::NotifyQueued() {
  {
    std::lock_guard lock(pumpMutex_);
    queuedSinceCheck_ = true;
  }
  pumpWake_.notify_one();
}

uint64_t CHeadlessAudio::FirstEndUs() {
  std::lock_guard lock(outputsMutex_);
  uint64_t first = CHeadlessAudioOutput::kNothingQueued;
  for (const CHeadlessAudioOutput* output : outputs_) first = std::min(first, output->FirstEndUs());
  return first;
}

std::vector<std::string> CHeadlessAudio::Events() const {
  std::lock_guard lock(logMutex_);
  return events_;
}

void CHeadlessAudio::ClearEvents() {
  std::lock_guard lock(logMutex_);
  events_.clear();
}

std::string CHeadlessAudio::MixWavFile() const {
  std::lock_guard lock(logMutex_);
  return mix_.WavFile();
}

void CHeadlessAudio::Record(std::string event) {
  if (!keepEvents_.load()) return;
  std::lock_guard lock(logMutex_);
  events_.push_back(std::move(event));
}

void CHeadlessAudio::AddToMix(const SPcmFormat& format, const uint8_t* bytes, uint32_t length, uint64_t startUs) {
  if (!recordMix_.load()) return;
  std::lock_guard lock(logMutex_);
  mix_.Add(format, bytes, length, startUs);
}

uint64_t CHeadlessAudio::NowUs() { return clock_.NowMs() * 1000; }

void CHeadlessAudio::Forget(CHeadlessAudioOutput* output) {
  std::lock_guard lock(outputsMutex_);
  outputs_.erase(std::remove(outputs_.begin(), outputs_.end(), output), outputs_.end());
}
