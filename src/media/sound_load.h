#pragma once
// CSoundLoad: one WAV sound as one owner sees it. The sample data of a key is read once
// per process and shared through the sound registry; playback queues it in place.
#include <memory>
#include <string>
#include <string_view>

#include "media/sound_data.h"
#include "platform/audio.h"

class CSoundLoad {
 public:
  // Loads the sound of `key` from the registry or, failing that, from `path` (then from
  // the application folder followed by `path`). Only ".wav" files (any letter case) are
  // read. A failed load leaves an object without data; it never throws.
  CSoundLoad(const std::u16string& key, std::u16string_view path);
  virtual ~CSoundLoad() = default;
  CSoundLoad(const CSoundLoad&) = delete;
  CSoundLoad& operator=(const CSoundLoad&) = delete;

  bool HasData() const { return data_ != nullptr; }
  // Whether the data was found in the registry rather than read by this object.
  bool Shared() const { return shared_; }
  // Valid only with data.
  const SPcmFormat& Format() const { return data_->format; }
  uint32_t DataLength() const { return bufferTemplate_.length; }
  uint32_t DataOffset() const { return data_->dataOffset; }
  // The whole sample data as one buffer; channels copy it into their headers.
  const SAudioBuffer& BufferTemplate() const { return bufferTemplate_; }

 private:
  std::shared_ptr<const SSoundData> data_;
  SAudioBuffer bufferTemplate_;
  bool shared_ = false;
};
