#include "platform/openal/openal_output.h"

#include <algorithm>

#include "platform/openal/openal_audio.h"

namespace {

// Bounds of the wait between looks at a playing source: not so short that a long sound
// costs many wake-ups, not so long that a source that stopped early (the device lost)
// goes unnoticed.
constexpr auto kShortestLook = std::chrono::milliseconds(2);
constexpr auto kLongestLook = std::chrono::milliseconds(250);
// Looks come this much after the buffer's computed end, so it has finished by then.
constexpr auto kLookSlack = std::chrono::milliseconds(1);

}  // namespace

COpenAlOutput::COpenAlOutput(COpenAlAudio& audio, ALuint source, ALenum alFormat, const SPcmFormat& format,
                             AudioBufferDone done)
    : audio_(audio), source_(source), alFormat_(alFormat), format_(format), done_(std::move(done)) {
  poller_ = std::thread([this] {
    while (!stop_.load()) {
      const auto remaining = Poll();
      std::unique_lock lock(mutex_);
      // An idle output (most of a character's channels, most of the time) costs no wake-ups.
      if (queue_.empty()) {
        queuedOrStopped_.wait(lock, [this] { return stop_.load() || !queue_.empty(); });
      } else {
        const auto wait = std::clamp<std::chrono::microseconds>(remaining + kLookSlack, kShortestLook, kLongestLook);
        queuedOrStopped_.wait_for(lock, wait, [this] { return stop_.load(); });
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
  queue_.clear();
  ReportActivity();
}

bool COpenAlOutput::Queue(SAudioBuffer& buffer) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  if (std::any_of(queue_.begin(), queue_.end(), [&](const SQueued& q) { return q.buffer == &buffer; })) return false;
  // A paused device resumes before the buffer goes in, so it plays from its start.
  if (!reportedBusy_) {
    reportedBusy_ = true;
    audio_.OutputBusy();
  }
  alGetError();
  ALuint alBuffer = 0;
  alGenBuffers(1, &alBuffer);
  if (alGetError() != AL_NO_ERROR) {
    ReportActivity();
    return false;
  }
  // OpenAL takes whole sample frames only.
  const ALsizei length = static_cast<ALsizei>(buffer.length - buffer.length % format_.blockAlign);
  alBufferData(alBuffer, alFormat_, buffer.data, length, static_cast<ALsizei>(format_.samplesPerSecond));
  alSourceQueueBuffers(source_, 1, &alBuffer);
  if (alGetError() != AL_NO_ERROR) {
    alDeleteBuffers(1, &alBuffer);
    ReportActivity();
    return false;
  }
  queue_.push_back({&buffer, alBuffer});
  queuedOrStopped_.notify_one();
  ALint state = 0;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  if (state != AL_PLAYING) alSourcePlay(source_);
  return true;
}

std::chrono::microseconds COpenAlOutput::Poll() {
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
  ReportActivity();
  if (queue_.empty()) return {};
  // The processed buffers are gone, so the offset counts within the playing one.
  ALint offset = 0;
  alGetSourcei(source_, AL_SAMPLE_OFFSET, &offset);
  const int64_t frames = queue_.front().buffer->length / format_.blockAlign;
  const int64_t left = std::max<int64_t>(0, frames - offset);
  return std::chrono::microseconds(left * 1000000 / format_.samplesPerSecond);
}

void COpenAlOutput::ReportActivity() {
  const bool busy = !queue_.empty();
  if (busy == reportedBusy_) return;
  reportedBusy_ = busy;
  if (busy) {
    audio_.OutputBusy();
  } else {
    audio_.OutputIdle();
  }
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
  ReportActivity();
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
