#include "chardef/chara_media.h"

#include "media/embedded_images.h"

CCharaMedia::CCharaMedia(std::u16string imagesFolder, std::u16string soundsFolder, IAudio& audio)
    : imagesFolder_(std::move(imagesFolder)),
      soundsFolder_(std::move(soundsFolder)),
      images_(std::make_unique<CImageMap>()),
      cursors_(std::make_unique<CCursorMap>()) {
  for (std::unique_ptr<CSoundManager>& channel : channels_) channel = std::make_unique<CSoundManager>(audio);
  const std::span<const uint8_t> hide = EmbeddedHideTga();
  images_->Load(imagesFolder_ + std::u16string(kHideImageKey), hide.data(), hide.size());
}

CCharaMedia::~CCharaMedia() {
  cursors_.reset();
  for (std::unique_ptr<CSoundManager>& channel : channels_) {
    channel->StopAndRelease();
    channel.reset();
  }
  images_.reset();
}
