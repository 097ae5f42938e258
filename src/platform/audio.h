#pragma once
// Audio output: one output per playback channel, opened for one PCM format, playing
// in-memory buffers in the order they were queued and reporting each finished buffer.
#include <cstdint>
#include <functional>
#include <memory>

// A PCM format as a WAV file's "fmt " chunk states it.
struct SPcmFormat {
  uint16_t formatTag = 1;  // 1: PCM
  uint16_t channels = 0;
  uint32_t samplesPerSecond = 0;
  uint32_t averageBytesPerSecond = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
};

// One buffer of sample data. The output reads the bytes in place while the buffer is
// queued, so they must stay valid and unchanged until its buffer-done notification.
struct SAudioBuffer {
  const uint8_t* data = nullptr;
  uint32_t length = 0;
};

class IAudioOutput;

// Called once for every buffer that finished playing or was returned by Reset, on the
// output's own thread (or on the thread calling Reset). It may queue buffers on the
// same output.
using AudioBufferDone = std::function<void(IAudioOutput& output, SAudioBuffer& buffer)>;

class IAudioOutput {
 public:
  virtual ~IAudioOutput() = default;
  // Appends the buffer to the play queue and starts playing if idle. False when the
  // buffer is already queued or the output cannot take it. Costs no copy in the
  // headless output; the OpenAL output copies the bytes into the library.
  virtual bool Queue(SAudioBuffer& buffer) = 0;
  // Stops playback and returns every queued buffer, each with its buffer-done
  // notification, before it returns. A notification already running on the output's
  // thread is waited for first, so nothing it queues survives the reset.
  virtual bool Reset() = 0;
  // Whether the buffer is waiting or playing on this output.
  virtual bool IsQueued(const SAudioBuffer& buffer) const = 0;
  // Closes the output; false (and still open) while any buffer is queued.
  virtual bool Close() = 0;
};

class IAudio {
 public:
  virtual ~IAudio() = default;
  // Opens an output for the format on the default device; null when there is no
  // device or the format is not supported. `done` may be empty (no notifications).
  virtual std::unique_ptr<IAudioOutput> Open(const SPcmFormat& format, AudioBufferDone done) = 0;
};
