#pragma once
// The application object: lives from the end of start-up to shutdown and owns the
// characters and the application-wide state.
#include <atomic>
#include <string>
#include <vector>

#include "media/image_map.h"
#include "platform/geometry.h"
#include "runtime/chara_map.h"

class IAudio;
class IMainWindow;

class CApplication {
 public:
  CApplication(IMainWindow& mainWindow, IAudio& audio, SRect desktop,
               std::vector<std::u16string> characterNames, int characterCount);

  // Prepares everything the characters need and creates them. Failures set the
  // program's error flag; the caller does not look at the result.
  void Build();

  // Carries out a menu command shared by the notification menu and the character menus;
  // false when the command is not one of the application's.
  bool HandleCommand(int commandId);

  // Starts the ending of every character; the notification menu turns into the exit menu.
  void EndAllCharacters();
  bool IsExiting() const { return exiting_.load(std::memory_order_acquire); }

  // The character whose menu entry is `commandId`, or null.
  CCharacter* CharacterOfEntry(int commandId) const;

  IMainWindow& MainWindow() const { return mainWindow_; }
  CCharaMap& Characters() { return characters_; }
  const std::vector<std::u16string>& CharacterNames() const { return characterNames_; }
  int CharacterCount() const { return characterCount_; }
  const SRect& DesktopRect() const { return desktop_; }
  const SRect& MoveRange() const { return moveRange_; }
  // The product logo the about boxes show; null if it could not be decoded.
  const CImageLoad* Logo() const { return logo_; }

 private:
  IMainWindow& mainWindow_;
  IAudio& audio_;
  CCharaMap characters_;
  std::vector<std::u16string> characterNames_;  // discovery order; the first count are used
  int characterCount_;
  SRect desktop_;
  SRect moveRange_{};
  CImageMap images_;  // the application's own images: the logo
  const CImageLoad* logo_ = nullptr;
  std::atomic<bool> exiting_{false};
};
