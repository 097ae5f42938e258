#pragma once
// CSoundManager: one playback channel. It holds one audio output, open for the format of
// the sound it last played, and plays one sound at a time, once or repeated. Two buffer
// headers over the same sample data alternate, so one repeat is always queued while
// the other plays and repeats join without a gap.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "media/sound_map.h"
#include "platform/audio.h"

class CSoundManager {
 public:
  explicit CSoundManager(IAudio& audio);
  virtual ~CSoundManager();
  CSoundManager(const CSoundManager&) = delete;
  CSoundManager& operator=(const CSoundManager&) = delete;

  // Plays the sound at `path` (loaded once into this channel's map): `repeats` 0 plays
  // it once, n > 0 plays it n + 1 times, a negative value until stopped. Playing the
  // loaded sound again restarts it. A muted channel does nothing and reports success.
  // False when the sound has no data or the output refuses.
  bool Play(const std::u16string& path, int repeats);
  // Loads the sound at `path` into this channel's map without playing it, so a later
  // Play finds it ready. Null when it has no data.
  const CSoundLoad* Load(const std::u16string& path);
  // Ends playback and returns the queued buffers; the output stays open. False when
  // the output refuses the reset.
  bool Stop();
  // Closes the output once nothing is queued; false (still open) otherwise.
  bool Close();
  // Stops, closes and forgets the loaded sound: for functions, motions and balloons
  // that have no sound.
  void StopAndRelease();
  // Muting stops and releases; unmuting only lets later plays sound again.
  void SetMute(bool on);

  // Whether `path` was loaded into this channel (Load or Play).
  bool HasLoaded(const std::u16string& path) const;

  bool Muted() const;
  bool IsOpen() const;
  // Whether a buffer of the loaded sound is still queued on the output.
  bool IsPlaying() const;
  // The sound the output is open for; null when none.
  const CSoundLoad* LoadedSound() const;

 private:
  bool OpenFor(const CSoundLoad& sound);
  bool CloseLocked();
  void StopAndReleaseLocked();
  // Runs on the output's thread for every finished buffer; touches only the atomics,
  // the queueing lock and the output, never the control lock, so Reset may wait for it.
  void OnBufferDone(IAudioOutput& output);

  IAudio& audio_;
  CSoundMap sounds_;
  // Serialises Play, Stop, Close and muting, which the frame thread and the main
  // thread (the sound menu commands) both call.
  mutable std::mutex control_;
  // Held by Play while it queues its headers and by the notification while it queues
  // again; never held across a Reset, which waits for running notifications.
  std::mutex queueing_;
  const CSoundLoad* loaded_ = nullptr;
  std::unique_ptr<IAudioOutput> output_;
  SAudioBuffer headers_[2];
  bool muted_ = false;
  bool looping_ = false;
  // Shared with the output's thread: repeats still to queue (negative: endless) and
  // which header goes next.
  std::atomic<int> remaining_{0};
  std::atomic<int> nextHeader_{0};
};

// Opens the default output once for a tiny format and closes it again without playing,
// so the first real sound does not pay for starting the audio system. False when any
// step is refused.
bool WarmUpAudioOutput(IAudio& audio);
