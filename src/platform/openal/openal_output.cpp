#include "platform/openal/openal_output.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr auto kPollPeriod = std::chrono::milliseconds(5);

}  // namespace

COpenAlOutput::COpenAlOutput(ALuint source, ALenum alFormat, const SPcmFormat& format, AudioBufferDone done)
    : source_(source), alFormat_(alFormat), format_(format), done_(std::move(done)) {
  poller_ = std::thread([this] {
    while (!stop_.load()) {
      Poll();
      std::unique_lock lock(mutex_);
      // An idle output (most of a character's channels, most of the time) costs no wake-ups.
      if (queue_.empty()) {
        queuedOrStopped_.wait(lock, [this] { return stop_.load() || !queue_.empty(); });
      } else {
        queuedOrStopped_.wait_for(lock, kPollPeriod, [this] { return stop_.load(); });
      }
    }
  });
}

COpenAlOutput::~COpenAlOutput() {
  {
    std::lock_guard lock(mutex_);
    stop_.store(true);
  }
  queuedOrStopped_.notify_all();
  poller_.join();
  alSourceStop(source_);
  alSourcei(source_, AL_BUFFER, 0);
  for (const SQueued& queued : queue_) alDeleteBuffers(1, &queued.alBuffer);
  alDeleteSources(1, &source_);
}

bool COpenAlOutput::Queue(SAudioBuffer& buffer) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  if (std::any_of(queue_.begin(), queue_.end(), [&](const SQueued& q) { return q.buffer == &buffer; })) return false;
  alGetError();
  ALuint alBuffer = 0;
  alGenBuffers(1, &alBuffer);
  if (alGetError() != AL_NO_ERROR) return false;
  // OpenAL takes whole sample frames only.
  const ALsizei length = static_cast<ALsizei>(buffer.length - buffer.length % format_.blockAlign);
  alBufferData(alBuffer, alFormat_, buffer.data, length, static_cast<ALsizei>(format_.samplesPerSecond));
  alSourceQueueBuffers(source_, 1, &alBuffer);
  if (alGetError() != AL_NO_ERROR) {
    alDeleteBuffers(1, &alBuffer);
    return false;
  }
  queue_.push_back({&buffer, alBuffer});
  queuedOrStopped_.notify_one();
  ALint state = 0;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  if (state != AL_PLAYING) alSourcePlay(source_);
  return true;
}

void COpenAlOutput::Poll() {
  std::unique_lock lock(mutex_);
  WaitForOtherDelivery(lock);
  ALint processed = 0;
  alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
  std::deque<SQueued> finished;
  for (ALint i = 0; i < processed && !queue_.empty(); ++i) {
    ALuint alBuffer = 0;
    alSourceUnqueueBuffers(source_, 1, &alBuffer);
    alDeleteBuffers(1, &alBuffer);
    finished.push_back(queue_.front());
    queue_.pop_front();
  }
  Deliver(finished, lock);
  // A source that ran dry while the next buffer was being queued has stopped; start it
  // again so the queue keeps playing.
  ALint state = 0;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  if (!queue_.empty() && state != AL_PLAYING) alSourcePlay(source_);
}

bool COpenAlOutput::Reset() {
  std::unique_lock lock(mutex_);
  if (closed_) return false;
  WaitForOtherDelivery(lock);
  // A stopped source counts every buffer as processed; detaching them releases all.
  alSourceStop(source_);
  alSourcei(source_, AL_BUFFER, 0);
  std::deque<SQueued> returned;
  returned.swap(queue_);
  for (const SQueued& queued : returned) alDeleteBuffers(1, &queued.alBuffer);
  Deliver(returned, lock);
  return true;
}

void COpenAlOutput::Deliver(std::deque<SQueued>& finished, std::unique_lock<std::mutex>& lock) {
  if (finished.empty() || !done_) return;
  ++delivering_;
  deliveringThread_ = std::this_thread::get_id();
  lock.unlock();
  for (SQueued& queued : finished) done_(*this, *queued.buffer);
  lock.lock();
  if (--delivering_ == 0) deliveryEnded_.notify_all();
}

bool COpenAlOutput::IsQueued(const SAudioBuffer& buffer) const {
  std::lock_guard lock(mutex_);
  return std::any_of(queue_.begin(), queue_.end(), [&](const SQueued& q) { return q.buffer == &buffer; });
}

bool COpenAlOutput::Close() {
  std::lock_guard lock(mutex_);
  if (!queue_.empty()) return false;
  closed_ = true;
  return true;
}

void COpenAlOutput::WaitForOtherDelivery(std::unique_lock<std::mutex>& lock) {
  deliveryEnded_.wait(lock, [&] { return delivering_ == 0 || deliveringThread_ == std::this_thread::get_id(); });
}
