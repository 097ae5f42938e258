#include "media/sound_manager.h"

#include <vector>

CSoundManager::CSoundManager(IAudio& audio) : audio_(audio) {}

CSoundManager::~CSoundManager() {
  std::lock_guard lock(control_);
  if (output_) {
    remaining_.store(0);
    if (output_->Reset()) CloseLocked();
    output_.reset();
  }
}

const CSoundLoad* CSoundManager::Load(const std::u16string& path) {
  std::lock_guard lock(control_);
  const CSoundLoad* sound = sounds_.Load(path, path);
  return sound != nullptr && sound->HasData() ? sound : nullptr;
}

bool CSoundManager::Play(const std::u16string& path, int repeats) {
  std::lock_guard lock(control_);
  if (muted_) return true;
  const CSoundLoad* sound = sounds_.Load(path, path);
  if (!sound) return false;

  const int remaining = repeats > 0 ? repeats - 1 : repeats;
  const bool looping = repeats != 0;
  if (sound != loaded_ || !output_) {
    if (output_) {
      remaining_.store(0);
      if (!output_->Reset() || !CloseLocked()) return false;
    }
    loaded_ = sound;
    if (!OpenFor(*sound)) return false;
  } else {
    // Zero first, so the buffers the reset returns are not queued again.
    remaining_.store(0);
    if (!output_->Reset()) return false;
  }
  looping_ = looping;
  // Both headers go in before any notification may queue one again: a very short
  // sound could otherwise finish twice in between and take header 1's place.
  std::lock_guard queueing(queueing_);
  nextHeader_.store(0);
  // Stored only now: the stop above must not eat the repeats of this play.
  remaining_.store(remaining);
  if (!output_->Queue(headers_[0])) return false;
  return !looping || output_->Queue(headers_[1]);
}

bool CSoundManager::OpenFor(const CSoundLoad& sound) {
  output_ = audio_.Open(sound.Format(), [this](IAudioOutput& output, SAudioBuffer&) { OnBufferDone(output); });
  if (!output_) return false;
  headers_[0] = sound.BufferTemplate();
  headers_[1] = sound.BufferTemplate();
  return true;
}

void CSoundManager::OnBufferDone(IAudioOutput& output) {
  std::lock_guard queueing(queueing_);
  int remaining = remaining_.load();
  while (remaining != 0) {
    if (remaining < 0 || remaining_.compare_exchange_weak(remaining, remaining - 1)) {
      const int index = nextHeader_.load();
      nextHeader_.store(index ^ 1);
      output.Queue(headers_[index]);
      return;
    }
  }
}

bool CSoundManager::Stop() {
  std::lock_guard lock(control_);
  if (!output_) return true;
  remaining_.store(0);
  return output_->Reset();
}

bool CSoundManager::Close() {
  std::lock_guard lock(control_);
  return CloseLocked();
}

bool CSoundManager::CloseLocked() {
  if (!output_) return true;
  if (output_->IsQueued(headers_[0]) || (looping_ && output_->IsQueued(headers_[1]))) return false;
  if (!output_->Close()) return false;
  output_.reset();
  looping_ = false;
  return true;
}

void CSoundManager::StopAndRelease() {
  std::lock_guard lock(control_);
  StopAndReleaseLocked();
}

void CSoundManager::StopAndReleaseLocked() {
  if (output_) {
    remaining_.store(0);
    if (output_->Reset()) CloseLocked();
  }
  loaded_ = nullptr;
}

void CSoundManager::SetMute(bool on) {
  std::lock_guard lock(control_);
  muted_ = on;
  if (on) StopAndReleaseLocked();
}

bool CSoundManager::Muted() const {
  std::lock_guard lock(control_);
  return muted_;
}

bool CSoundManager::IsOpen() const {
  std::lock_guard lock(control_);
  return output_ != nullptr;
}

bool CSoundManager::IsPlaying() const {
  std::lock_guard lock(control_);
  return output_ && (output_->IsQueued(headers_[0]) || output_->IsQueued(headers_[1]));
}

bool CSoundManager::HasLoaded(const std::u16string& path) const {
  std::lock_guard lock(control_);
  return sounds_.Contains(path);
}

const CSoundLoad* CSoundManager::LoadedSound() const {
  std::lock_guard lock(control_);
  return loaded_;
}

bool WarmUpAudioOutput(IAudio& audio) {
  SPcmFormat format;
  format.channels = 1;
  format.samplesPerSecond = 50;
  format.averageBytesPerSecond = 50;
  format.blockAlign = 1;
  format.bitsPerSample = 8;
  std::unique_ptr<IAudioOutput> output = audio.Open(format, nullptr);
  if (!output) return false;
  const std::vector<uint8_t> silence(100, 128);
  const SAudioBuffer buffer{silence.data(), static_cast<uint32_t>(silence.size())};
  return output->Reset() && !output->IsQueued(buffer) && output->Close();
}
