#include "media/sound_load.h"

#include <optional>

#include "media/wav_header.h"
#include "support/application_folder.h"
#include "support/file_system.h"
#include "support/path.h"
#include "support/text.h"

namespace {

std::shared_ptr<const SSoundData> ReadSoundFile(std::u16string_view path) {
  if (ToLower(ExtensionOf(path)) != u".wav") return nullptr;
  const std::optional<std::string> file = ReadDataFile(path, EFileKind::kMedia);
  if (!file) return nullptr;
  const std::optional<SWavSound> wav = DecodeWav(*file);
  if (!wav) return nullptr;
  auto data = std::make_shared<SSoundData>();
  data->format = wav->info.format;
  data->dataOffset = wav->info.dataOffset;
  data->samples.assign(wav->samples.begin(), wav->samples.end());
  return data;
}

}  // namespace

CSoundLoad::CSoundLoad(const std::u16string& key, std::u16string_view path) {
  data_ = FindRegisteredSound(key);
  if (data_) {
    shared_ = true;
  } else if (std::shared_ptr<const SSoundData> read = ReadSoundFile(path)) {
    data_ = RegisterSound(key, std::move(read));
  }
  if (data_) {
    bufferTemplate_.data = data_->samples.data();
    bufferTemplate_.length = static_cast<uint32_t>(data_->samples.size());
  }
}
