#pragma once
// The audio of the headless backend: outputs that play nothing but keep time. A queued
// buffer lasts as long as its samples would sound; Pump() delivers the buffer-done
// notifications of every buffer whose time has passed on the platform's clock, so runs
// on the virtual clock are repeatable. Every open, queue, done, reset and close is
// recorded for tests, and what was played can be mixed into a WAV file.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio.h"
#include "platform/headless/audio_mix.h"

class CHeadlessClock;
class CHeadlessAudioOutput;

class CHeadlessAudio final : public IAudio {
 public:
  explicit CHeadlessAudio(CHeadlessClock& clock);
  ~CHeadlessAudio() override;
  CHeadlessAudio(const CHeadlessAudio&) = delete;
  CHeadlessAudio& operator=(const CHeadlessAudio&) = delete;

  // Opens a recording output; null (recorded as "open-failed") without a device or for
  // a format a PCM device would refuse: no channels, no rate, bits other than 8, 16, 24
  // or 32, or a block align other than channels × bytes per sample.
  std::unique_ptr<IAudioOutput> Open(const SPcmFormat& format, AudioBufferDone done) override;

  // Delivers, in queue order, the notifications of all buffers that have finished by
  // the clock's present time, including buffers queued by those notifications. Call it
  // from one thread at a time, never from a notification. Returns how many.
  int Pump();
  // Pumps on a thread of its own until destruction, for runs against the wall clock:
  // when the first queued buffer is due, or after `periodMs` of real time if that
  // comes sooner (a virtual clock may move faster). While no output has a buffer queued
  // the thread sleeps until one is, so silent characters cost no wake-ups.
  void StartPumpThread(uint32_t periodMs);

  // Pretends there is no audio device: every later Open fails.
  void SetDeviceAvailable(bool available) { deviceAvailable_.store(available); }
  // Events in order, one line each: "open 1 1ch 22050Hz 16bit", "open-failed",
  // "queue 1 <bytes>", "done 1 <bytes>", "reset 1", "close 1" (1 is the output's number).
  std::vector<std::string> Events() const;
  void ClearEvents();
  // Whether events are kept (on by default); long runs turn it off, as the log grows
  // with every sound played.
  void KeepEvents(bool on) { keepEvents_.store(on); }
  // Starts keeping what is played for MixWavFile; off by default, as it copies samples.
  void RecordMix(bool on) { recordMix_.store(on); }
  // The mix of everything played since RecordMix(true) as a WAV file.
  std::string MixWavFile() const;

  // For the outputs.
  void Record(std::string event);
  void AddToMix(const SPcmFormat& format, const uint8_t* bytes, uint32_t length, uint64_t startUs);
  uint64_t NowUs();
  void Forget(CHeadlessAudioOutput* output);
  // A buffer was queued: wakes the pump thread if it sleeps.
  void NotifyQueued();

 private:
  CHeadlessClock& clock_;
  std::atomic<bool> deviceAvailable_{true};
  std::atomic<bool> recordMix_{false};
  std::atomic<bool> keepEvents_{true};
  // Held while pumping, so an output is not destroyed under a notification.
  std::mutex outputsMutex_;
  std::vector<CHeadlessAudioOutput*> outputs_;
  int nextNumber_ = 1;
  mutable std::mutex logMutex_;
  std::vector<std::string> events_;
  CAudioMix mix_;
  // When the first of all queued buffers finishes; kNothingQueued when none is.
  uint64_t FirstEndUs();

  std::atomic<bool> stopPump_{false};
  std::mutex pumpMutex_;  // guards queuedSinceCheck_
  std::condition_variable pumpWake_;
  bool queuedSinceCheck_ = false;
  std::thread pumpThread_;
};
