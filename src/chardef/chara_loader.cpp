#include "chardef/chara_loader.h"

#include "chardef/balloon_config.h"
#include "chardef/chara_config.h"
#include "chardef/chara_definition.h"
#include "chardef/definition_validator.h"
#include "chardef/register_build.h"
#include "chardef/register_build_context.h"
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

void CCharaLoader::Load(CCharaDefinition& into, IText& text, IFunctionHitTestSetUp* hitTest) const {
  LoadMetadata(into.info);
  LoadMetadataMedia(into.info, into.media);
  const CScriptFuncMaps scripts = ReadScripts();
  // Every block is built before the faults are told; the program shows the last one.
  if (!BuildDefinition(into, scripts, text)) throw EScriptError(into.registers.ErrorMessage());
  ValidateDefinition(into, hitTest);
  into.cursors = LoadCursors(into.info, into.media);
}

bool CCharaLoader::BuildDefinition(CCharaDefinition& into, const CScriptFuncMaps& scripts, IText& text) const {
  RegisterReservedBalloonEntries(into.registers, text);
  SRegisterBuilders builders = DefaultRegisterBuilders();
  AddBalloonRegisterBuilders(builders, text);
  CCharaMedia& media = into.media;
  const std::u16string& imagesFolder = paths_.imagesFolder;
  CRegisterBuildContext context(into.registers, folderName_,
                                [&media, &imagesFolder](const std::u16string& name) -> std::optional<SImageSize> {
                                  const CImageLoad* image =
                                      CCharaFileAccess::LoadImageFile(media.Images(), imagesFolder + name);
                                  if (image == nullptr) return std::nullopt;
                                  return SImageSize{image->Width(), image->Height()};
                                });
  // Without a function block nothing is built; that is no definition either.
  return BuildRegisters(context, scripts, builders) && into.registers.Ok();
}

void CCharaLoader::ValidateDefinition(CCharaDefinition& into, IFunctionHitTestSetUp* hitTest) const {
  CDefinitionValidator validator(into.registers, into.media, folderName_, hitTest);
  into.imageLayerPlayerCount = validator.Validate();
}

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
  fileAccess_.ReadScripts(ApplicationPath(paths_.scriptsFolder), text);
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
