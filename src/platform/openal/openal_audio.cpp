#include "platform/openal/openal_audio.h"

#include <AL/al.h>
#include <AL/alc.h>

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

COpenAlAudio::~COpenAlAudio() {
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
  return std::make_unique<COpenAlOutput>(source, alFormat, format, std::move(done));
}
