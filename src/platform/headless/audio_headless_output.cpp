#include "platform/headless/audio_headless_output.h"

#include <algorithm>
#include <vector>

#include "platform/headless/audio_headless.h"

CHeadlessAudioOutput::CHeadlessAudioOutput(CHeadlessAudio& audio, int number, const SPcmFormat& format,
                                           AudioBufferDone done)
    : audio_(audio), number_(number), format_(format), done_(std::move(done)) {}

CHeadlessAudioOutput::~CHeadlessAudioOutput() {
  // Off the pump's list first: after this no Pump reaches this output.
  audio_.Forget(this);
  std::unique_lock lock(mutex_);
  WaitForOtherDelivery(lock);
  queue_.clear();
  if (!closed_) {
    closed_ = true;
    lock.unlock();
    audio_.Record("close " + std::to_string(number_));
  }
}

uint64_t CHeadlessAudioOutput::DurationUs(uint32_t length) const {
  const uint64_t frames = length / format_.blockAlign;
  return frames * 1000000 / format_.samplesPerSecond;
}

bool CHeadlessAudioOutput::Queue(SAudioBuffer& buffer) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    const bool queued = std::any_of(queue_.begin(), queue_.end(), [&](const SQueued& q) { return q.buffer == &buffer; });
    if (queued) return false;
    // A buffer starts when the one before it ends, or now when the output is idle;
    // queued from a notification, "now" is when the finished buffer ended, as if the
    // notification had come at once rather than at the next pump.
    const bool fromNotification = delivering_ > 0 && deliveringThread_ == std::this_thread::get_id();
    const uint64_t now = fromNotification ? notifyTimeUs_ : audio_.NowUs();
    const uint64_t startUs = queue_.empty() ? now : queue_.back().endUs;
    queue_.push_back({&buffer, startUs, startUs + DurationUs(buffer.length)});
  }
  audio_.NotifyQueued();
  audio_.Record("queue " + std::to_string(number_) + " " + std::to_string(buffer.length));
  return true;
}

bool CHeadlessAudioOutput::Reset() {
  std::unique_lock lock(mutex_);
  if (closed_) return false;
  WaitForOtherDelivery(lock);
  std::deque<SQueued> returned;
  returned.swap(queue_);
  notifyTimeUs_ = audio_.NowUs();
  ++delivering_;
  deliveringThread_ = std::this_thread::get_id();
  lock.unlock();

  audio_.Record("reset " + std::to_string(number_));
  const uint64_t nowUs = audio_.NowUs();
  for (SQueued& queued : returned) {
    if (queued.startUs < nowUs) {
      // The part that sounded before the reset cut it off.
      const uint64_t playedFrames = (nowUs - queued.startUs) * format_.samplesPerSecond / 1000000;
      const uint64_t playedBytes = std::min<uint64_t>(playedFrames * format_.blockAlign, queued.buffer->length);
      audio_.AddToMix(format_, queued.buffer->data, static_cast<uint32_t>(playedBytes), queued.startUs);
    }
    audio_.Record("done " + std::to_string(number_) + " " + std::to_string(queued.buffer->length));
    if (done_) done_(*this, *queued.buffer);
  }
  lock.lock();
  EndDelivery();
  return true;
}

bool CHeadlessAudioOutput::DeliverFinished(uint64_t nowUs) {
  std::unique_lock lock(mutex_);
  WaitForOtherDelivery(lock);
  if (queue_.empty() || queue_.front().endUs > nowUs) return false;
  const SQueued finished = queue_.front();
  queue_.pop_front();
  notifyTimeUs_ = finished.endUs;
  ++delivering_;
  deliveringThread_ = std::this_thread::get_id();
  lock.unlock();

  audio_.AddToMix(format_, finished.buffer->data, finished.buffer->length, finished.startUs);
  audio_.Record("done " + std::to_string(number_) + " " + std::to_string(finished.buffer->length));
  if (done_) done_(*this, *finished.buffer);
  lock.lock();
  EndDelivery();
  return true;
}

uint64_t CHeadlessAudioOutput::FirstEndUs() const {
  std::lock_guard lock(mutex_);
  return queue_.empty() ? kNothingQueued : queue_.front().endUs;
}

bool CHeadlessAudioOutput::IsQueued(const SAudioBuffer& buffer) const {
  std::lock_guard lock(mutex_);
  return std::any_of(queue_.begin(), queue_.end(), [&](const SQueued& q) { return q.buffer == &buffer; });
}

bool CHeadlessAudioOutput::Close() {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return true;
    if (!queue_.empty()) return false;
    closed_ = true;
  }
  audio_.Record("close " + std::to_string(number_));
  return true;
}

void CHeadlessAudioOutput::WaitForOtherDelivery(std::unique_lock<std::mutex>& lock) {
  deliveryEnded_.wait(lock, [&] { return delivering_ == 0 || deliveringThread_ == std::this_thread::get_id(); });
}

void CHeadlessAudioOutput::EndDelivery() {
  if (--delivering_ == 0) deliveryEnded_.notify_all();
}
