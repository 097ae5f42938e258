#include "chardef/chara_loader.h"

#include "chardef/chara_config.h"
#include "chardef/chara_messages.h"
#include "script/script_error.h"
#include "support/application_folder.h"

namespace {

// The about dialog's room for the character's image.
constexpr int kMaxAboutImageWidth = 400;
constexpr int kMaxAboutImageHeight = 200;

}  // namespace

CCharaLoader::CCharaLoader(std::u16string folderName, SCharaNumbering& numbering)
    : folderName_(std::move(folderName)),
      paths_(MakeCharaPaths(folderName_)),
      fileAccess_(folderName_),
      numbering_(numbering) {}

void CCharaLoader::LoadMetadata(CCharaInfo& info) const {
  CStringList lines;
  fileAccess_.ReadLines(paths_.configFile, lines);
  ApplyCharaConfig(lines, info, numbering_);
}

void CCharaLoader::LoadMetadataMedia(CCharaInfo& info, CCharaMedia& media) const {
  if (!info.aboutImageName.empty()) {
    const CImageLoad* image = fileAccess_.LoadImageFile(media.Images(), paths_.imagesFolder + info.aboutImageName);
    if (!image) {
      throw EScriptError(folderName_ + u"の" + info.aboutImageName + std::u16string(kAboutImageUnreadableMessage));
    }
    // Only an image too large in both directions is refused.
    if (image->Width() > kMaxAboutImageWidth && image->Height() > kMaxAboutImageHeight) {
      throw EScriptError(folderName_ + std::u16string(kAboutImageTooLargeMessage));
    }
    info.aboutImage = image;
    info.aboutImageWidth = image->Width();
    info.aboutImageHeight = image->Height();
  }
  // The button sounds are read now so the first click sounds at once; one that cannot
  // be loaded is ignored.
  if (!info.lButtonSoundName.empty()) {
    fileAccess_.LoadSoundFile(media.Channel(SOUND_CHANNEL_L_BUTTON), paths_.soundsFolder + info.lButtonSoundName);
  }
  if (!info.rButtonSoundName.empty()) {
    fileAccess_.LoadSoundFile(media.Channel(SOUND_CHANNEL_R_BUTTON), paths_.soundsFolder + info.rButtonSoundName);
  }
}

CScriptFuncMaps CCharaLoader::ReadScripts() const {
  CScriptText text;
  fileAccess_.ReadScripts(ApplicationFolder() + paths_.scriptsFolder, text);
  if (text.Empty()) throw EScriptError(folderName_ + std::u16string(kNoScriptLinesMessage));
  CScriptFuncMaps maps = ReadScriptText(text);
  if (!maps.HasOrderFunction()) throw EScriptError(folderName_ + std::u16string(kNoFunctionMessage));
  return maps;
}

CCharaLoader::SCursors CCharaLoader::LoadCursors(const CCharaInfo& info, CCharaMedia& media) const {
  const auto load = [&](const std::u16string& name) -> const SCursorImage* {
    if (name.empty()) return nullptr;
    return fileAccess_.LoadCursorFile(media.Cursors(), paths_.cursorsFolder + name);
  };
  return {load(info.normalCursorName), load(info.dragCursorName), load(info.disabledCursorName)};
}
