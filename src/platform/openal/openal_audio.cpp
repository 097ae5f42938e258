#include "platform/openal/openal_audio.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include "platform/openal/openal_output.h"

namespace {

// The OpenAL format for a PCM format, or 0 when OpenAL has none.
ALenum AlFormatOf(const SPcmFormat& format) {
  if (format.formatTag != 1 || format.samplesPerSecond == 0 ||
      format.blockAlign != format.channels * (format.bitsPerSample / 8)) {
    return 0;
  }
  if (format.channels == 1 && format.bitsPerSample == 8) return AL_FORMAT_MONO8;
  if (format.channels == 1 && format.bitsPerSample == 16) return AL_FORMAT_MONO16;
  if (format.channels == 2 && format.bitsPerSample == 8) return AL_FORMAT_STEREO8;
  if (format.channels == 2 && format.bitsPerSample == 16) return AL_FORMAT_STEREO16;
  return 0;
}

}  // namespace

COpenAlAudio::COpenAlAudio(std::chrono::milliseconds idleBeforePause) : idleBeforePause_(idleBeforePause) {}

COpenAlAudio::~COpenAlAudio() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  idleChanged_.notify_all();
  if (idleWatch_.joinable()) idleWatch_.join();
  if (context_) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context_));
  }
  if (device_) alcCloseDevice(static_cast<ALCdevice*>(device_));
}

bool COpenAlAudio::EnsureDevice() {
  if (tried_) return context_ != nullptr;
  tried_ = true;
  ALCdevice* device = alcOpenDevice(nullptr);
  if (!device) return false;
  ALCcontext* context = alcCreateContext(device, nullptr);
  if (!context || !alcMakeContextCurrent(context)) {
    if (context) alcDestroyContext(context);
    alcCloseDevice(device);
    return false;
  }
  device_ = device;
  context_ = context;
  // Without the extension the device runs for the life of the program, as it must to
  // keep playing.
  if (alcIsExtensionPresent(device, "ALC_SOFT_pause_device")) {
    pause_ = alcGetProcAddress(device, "alcDevicePauseSOFT");
    resume_ = alcGetProcAddress(device, "alcDeviceResumeSOFT");
  }
  if (pause_ && resume_) {
    idleSince_ = std::chrono::steady_clock::now();
    idleWatch_ = std::thread([this] { WatchIdle(); });
  }
  return true;
}

std::unique_ptr<IAudioOutput> COpenAlAudio::Open(const SPcmFormat& format, AudioBufferDone done) {
  const ALenum alFormat = AlFormatOf(format);
  if (alFormat == 0) return nullptr;
  std::lock_guard lock(mutex_);
  if (!EnsureDevice()) return nullptr;
  alGetError();
  ALuint source = 0;
  alGenSources(1, &source);
  if (alGetError() != AL_NO_ERROR) return nullptr;
  return std::make_unique<COpenAlOutput>(*this, source, alFormat, format, std::move(done));
}

bool COpenAlAudio::Paused() {
  std::lock_guard lock(mutex_);
  return paused_;
}

int COpenAlAudio::PauseCount() {
  std::lock_guard lock(mutex_);
  return pauseCount_;
}

void COpenAlAudio::OutputBusy() {
  std::lock_guard lock(mutex_);
  ++busyOutputs_;
  if (paused_) {
    // Resuming restarts the backend's stream, a few milliseconds: the buffer queued
    // next plays in the same frame.
    reinterpret_cast<LPALCDEVICERESUMESOFT>(resume_)(static_cast<ALCdevice*>(device_));
    paused_ = false;
  }
}

void COpenAlAudio::OutputIdle() {
  {
    std::lock_guard lock(mutex_);
    if (--busyOutputs_ > 0) return;
    idleSince_ = std::chrono::steady_clock::now();
  }
  idleChanged_.notify_all();
}

void COpenAlAudio::WatchIdle() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (busyOutputs_ > 0 || paused_) {
      // Woken when the last output empties (or at the end), not before.
      idleChanged_.wait(lock);
      continue;
    }
    const auto due = idleSince_ + idleBeforePause_;
    if (std::chrono::steady_clock::now() < due) {
      idleChanged_.wait_until(lock, due);
      continue;
    }
    reinterpret_cast<LPALCDEVICEPAUSESOFT>(pause_)(static_cast<ALCdevice*>(device_));
    paused_ = true;
    ++pauseCount_;
  }
}
