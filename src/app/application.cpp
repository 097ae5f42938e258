#include "app/application.h"

#include <string>

#include "media/embedded_images.h"
#include "media/sound_manager.h"
#include "window/command_ids.h"

namespace {
// Every edge at -100 marks a move range the user has not set.
constexpr SRect kMoveRangeNotSet{-100, -100, -100, -100};
}  // namespace

CApplication::CApplication(IMainWindow& mainWindow, IAudio& audio, SRect desktop,
                           std::vector<std::u16string> characterNames, int characterCount)
    : mainWindow_(mainWindow),
      audio_(audio),
      characterNames_(std::move(characterNames)),
      characterCount_(characterCount),
      desktop_(desktop) {}

void CApplication::Build() {
  moveRange_ = kMoveRangeNotSet;
  // Opening the output once now spares the first sound the audio system's start.
  WarmUpAudioOutput(audio_);
  const auto logo = EmbeddedLogoTga();
  logo_ = images_.Load(std::u16string(kLogoImageKey), logo.data(), logo.size());
}

bool CApplication::HandleCommand(int commandId) {
  if (commandId == kCmdExit) {
    EndAllCharacters();
    return true;
  }
  if (commandId >= kCmdCharacterFirst && commandId <= kCmdCharacterLast) {
    if (CCharacter* character = CharacterOfEntry(commandId)) character->ToggleHidden();
    return true;
  }
  return false;
}

void CApplication::EndAllCharacters() {
  for (int i = 0; i < characters_.Count(); ++i) {
    if (CCharacter* character = characters_.ValueAt(i)) character->RequestEnding();
  }
  exiting_.store(true, std::memory_order_release);
}

CCharacter* CApplication::CharacterOfEntry(int commandId) const {
  const int index = commandId - kCmdCharacterFirst;
  if (index < 0 || index >= characterCount_) return nullptr;
  return characters_.Find(characterNames_[static_cast<size_t>(index)]);
}
