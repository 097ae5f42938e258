#include "platform/win32/win32_wave_output.h"

#include <algorithm>
#include <chrono>

namespace {

// While buffers play the deliverer also looks without a signal this often, so a lost
// wake-up only delays.
constexpr DWORD kPlayingLookMs = 100;
// How long a stopped device may take to give a header back.
constexpr auto kReleaseWait = std::chrono::seconds(2);

// Runs on the system's audio thread, where only a few calls are allowed; SetEvent is.
void CALLBACK OnWaveOutMessage(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
  if (message == WOM_DONE) SetEvent(reinterpret_cast<HANDLE>(instance));
}

WAVEFORMATEX WaveFormatOf(const SPcmFormat& format) {
  WAVEFORMATEX wave{};
  wave.wFormatTag = format.formatTag;
  wave.nChannels = format.channels;
  wave.nSamplesPerSec = format.samplesPerSecond;
  wave.wBitsPerSample = format.bitsPerSample;
  wave.nBlockAlign = format.blockAlign;
  // Derived rather than copied: a file whose header states a wrong rate still plays.
  wave.nAvgBytesPerSec = format.samplesPerSecond * format.blockAlign;
  wave.cbSize = 0;
  return wave;
}

MMRESULT OpenDevice(const SPcmFormat& format, HANDLE wake, HWAVEOUT& device) {
  const WAVEFORMATEX wave = WaveFormatOf(format);
  return waveOutOpen(&device, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(&OnWaveOutMessage),
                     reinterpret_cast<DWORD_PTR>(wake), CALLBACK_FUNCTION);
}

}  // namespace

std::unique_ptr<CWin32WaveOutput> CWin32WaveOutput::Open(const SPcmFormat& format, AudioBufferDone done,
                                                         MMRESULT& result) {
  HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!wake) {
    result = MMSYSERR_NOMEM;
    return nullptr;
  }
  HWAVEOUT device = nullptr;
  result = OpenDevice(format, wake, device);
  if (result != MMSYSERR_NOERROR) {
    CloseHandle(wake);
    return nullptr;
  }
  return std::make_unique<CWin32WaveOutput>(device, wake, format, std::move(done));
}

CWin32WaveOutput::CWin32WaveOutput(HWAVEOUT device, HANDLE wake, const SPcmFormat& format, AudioBufferDone done,
                                   std::chrono::milliseconds idleBeforeClose)
    : device_(device),
      wake_(wake),
      format_(format),
      done_(std::move(done)),
      idleBeforeClose_(idleBeforeClose),
      idleSince_(std::chrono::steady_clock::now()) {
  deliverer_ = std::thread([this] { Run(); });
}

CWin32WaveOutput::~CWin32WaveOutput() {
  stop_.store(true);
  SetEvent(wake_);
  deliverer_.join();
  std::lock_guard lock(mutex_);
  StopDevice();
  // The event outlives the device: the callback may signal it until waveOutClose returns.
  CloseHandle(wake_);
}

void CWin32WaveOutput::Run() {
  while (!stop_.load()) {
    WaitForSingleObject(wake_, NextWait());
    if (stop_.load()) break;
    DeliverFinished();
  }
}

DWORD CWin32WaveOutput::NextWait() {
  std::lock_guard lock(mutex_);
  if (!queue_.empty()) return kPlayingLookMs;
  // Closed, or closed for silence: only the next Queue (or the end) signals.
  if (!device_) return INFINITE;
  const auto idle = std::chrono::steady_clock::now() - idleSince_;
  if (idle < idleBeforeClose_) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(idleBeforeClose_ - idle);
    return static_cast<DWORD>(left.count());
  }
  // Nothing is queued, so the device holds no header and closes at once.
  if (waveOutClose(device_) == MMSYSERR_NOERROR) device_ = nullptr;
  return device_ ? kPlayingLookMs : INFINITE;
}

bool CWin32WaveOutput::Reopen() {
  HWAVEOUT device = nullptr;
  if (OpenDevice(format_, wake_, device) != MMSYSERR_NOERROR) return false;
  device_ = device;
  return true;
}

bool CWin32WaveOutput::DeviceOpen() const {
  std::lock_guard lock(mutex_);
  return device_ != nullptr;
}

bool CWin32WaveOutput::Queue(SAudioBuffer& buffer) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  if (std::any_of(queue_.begin(), queue_.end(), [&](const SQueued& q) { return q.buffer == &buffer; })) return false;
  SQueued queued{&buffer, nullptr};
  // The device takes whole sample frames only.
  const DWORD length = buffer.length - buffer.length % format_.blockAlign;
  if (length > 0 && buffer.data) {
    if (!device_ && !Reopen()) return false;
    queued.header = std::make_unique<WAVEHDR>();
    WAVEHDR& header = *queued.header;
    // The device only reads the samples; the field is not const for input devices' sake.
    header.lpData = reinterpret_cast<LPSTR>(const_cast<uint8_t*>(buffer.data));
    header.dwBufferLength = length;
    if (waveOutPrepareHeader(device_, &header, sizeof header) != MMSYSERR_NOERROR) return false;
    if (waveOutWrite(device_, &header, sizeof header) != MMSYSERR_NOERROR) {
      waveOutUnprepareHeader(device_, &header, sizeof header);
      return false;
    }
  }
  // The deliverer reports a buffer with nothing to play once everything before it is
  // done, and from now on waits for the device rather than for silence to close it.
  const bool wasIdle = queue_.empty();
  queue_.push_back(std::move(queued));
  if (wasIdle || !queue_.back().header) SetEvent(wake_);
  return true;
}

void CWin32WaveOutput::DeliverFinished() {
  std::unique_lock lock(mutex_);
  WaitForOtherDelivery(lock);
  // The device finishes buffers in the order they were written.
  std::deque<SQueued> finished;
  while (!queue_.empty() && Unprepare(queue_.front())) {
    finished.push_back(std::move(queue_.front()));
    queue_.pop_front();
  }
  Deliver(finished, lock);
  if (queue_.empty() && !finished.empty()) idleSince_ = std::chrono::steady_clock::now();
}

bool CWin32WaveOutput::Unprepare(SQueued& queued) {
  if (!queued.header) return true;
  // WAVERR_STILLPLAYING while the device holds the header; then it is left as it was.
  const MMRESULT result = waveOutUnprepareHeader(device_, queued.header.get(), sizeof(WAVEHDR));
  if (result == WAVERR_STILLPLAYING) return false;
  // Any other refusal means the device will not play it; the header's memory stays
  // with the device in case it still writes the flags.
  if (result != MMSYSERR_NOERROR) static_cast<void>(queued.header.release());
  return true;
}

void CWin32WaveOutput::TakeBackAfterStop(std::deque<SQueued>& stopped) {
  const auto deadline = std::chrono::steady_clock::now() + kReleaseWait;
  for (SQueued& queued : stopped) {
    bool back = Unprepare(queued);
    while (!back && std::chrono::steady_clock::now() < deadline) {
      Sleep(1);
      back = Unprepare(queued);
    }
    // A device that never gives a header back may still write to it: leave it the
    // memory rather than free it under the device.
    if (!back) static_cast<void>(queued.header.release());
  }
}

bool CWin32WaveOutput::Reset() {
  std::unique_lock lock(mutex_);
  if (closed_) return false;
  WaitForOtherDelivery(lock);
  // Marks every written header done; the callbacks for them may still come later and
  // only wake the deliverer, which then finds nothing of theirs. A device closed for
  // silence holds nothing.
  if (device_) waveOutReset(device_);
  std::deque<SQueued> returned;
  returned.swap(queue_);
  TakeBackAfterStop(returned);
  Deliver(returned, lock);
  if (queue_.empty()) idleSince_ = std::chrono::steady_clock::now();
  // The deliverer counts the silence from now.
  SetEvent(wake_);
  return true;
}

void CWin32WaveOutput::Deliver(std::deque<SQueued>& finished, std::unique_lock<std::mutex>& lock) {
  if (finished.empty() || !done_) return;
  ++delivering_;
  deliveringThread_ = std::this_thread::get_id();
  lock.unlock();
  for (SQueued& queued : finished) done_(*this, *queued.buffer);
  lock.lock();
  if (--delivering_ == 0) deliveryEnded_.notify_all();
}

bool CWin32WaveOutput::IsQueued(const SAudioBuffer& buffer) const {
  std::lock_guard lock(mutex_);
  return std::any_of(queue_.begin(), queue_.end(), [&](const SQueued& q) { return q.buffer == &buffer; });
}

bool CWin32WaveOutput::Close() {
  std::lock_guard lock(mutex_);
  if (closed_) return true;
  if (!queue_.empty()) return false;
  // Nothing is queued, so the device holds no header and closes at once.
  if (device_ && waveOutClose(device_) != MMSYSERR_NOERROR) return false;
  device_ = nullptr;
  closed_ = true;
  return true;
}

void CWin32WaveOutput::WaitForOtherDelivery(std::unique_lock<std::mutex>& lock) {
  deliveryEnded_.wait(lock, [&] { return delivering_ == 0 || deliveringThread_ == std::this_thread::get_id(); });
}

void CWin32WaveOutput::StopDevice() {
  if (!device_) return;
  waveOutReset(device_);
  TakeBackAfterStop(queue_);
  queue_.clear();
  waveOutClose(device_);
  device_ = nullptr;
}
