#include "app/application.h"

#include <algorithm>
#include <string>

#include "app/messages.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "media/embedded_images.h"
#include "media/sound_manager.h"
#include "platform/menu_model.h"
#include "platform/platform.h"
#include "runtime/settings_menu.h"
#include "support/application_folder.h"
#include "window/command_ids.h"

namespace {

// Every edge at -100 marks a move range the user has not set.
constexpr SRect kMoveRangeNotSet{-100, -100, -100, -100};
constexpr int kDefaultScaleId = kCmdScaleFirst + 6;  // 100 %
constexpr int kDefaultOpacityId = kCmdOpacityFirst;  // 100 %
// The largest scale the menus offer; the work surfaces are sized for it.
constexpr double kLargestMenuScale = 2.0;

}  // namespace

CApplication::CApplication(IPlatform& platform, IMainWindow& mainWindow, SProgramState& state, SRect desktop,
                           std::vector<std::u16string> characterNames, int characterCount)
    : platform_(platform),
      mainWindow_(mainWindow),
      state_(state),
      characterNames_(std::move(characterNames)),
      characterCount_(std::clamp(characterCount, 0, static_cast<int>(characterNames_.size()))),
      desktop_(desktop),
      scaleId_(kDefaultScaleId),
      opacityId_(kDefaultOpacityId),
      windowClass_(platform.LayeredWindows(), mainWindow, *this) {}

CApplication::~CApplication() {
  if (built_) {
    SAppSettings settings;
    settings.scaleId = ScaleId();
    settings.opacityId = OpacityId();
    settings.lowQuality = LowQuality();
    settings.mouseEnabled = MouseEnabled();
    settings.windowLevel = windowLevel_;
    settings.moveRange = moveRange_;
    SaveAppSettings(ParamsFolder(), settings);
  }
  characters_.Clear();
}

void CApplication::SetMenus(CMenuModel* systemMenu, CMenuModel* exitMenu) {
  systemMenu_ = systemMenu;
  exitMenu_ = exitMenu;
}

void CApplication::Build() {
  moveRange_ = kMoveRangeNotSet;
  // Opening the output once now spares the first sound the audio system's start.
  WarmUpAudioOutput(platform_.Audio());
  const auto logo = EmbeddedLogoTga();
  logo_ = images_.Load(std::u16string(kLogoImageKey), logo.data(), logo.size());
  SAppSettings settings;
  LoadAppSettings(ParamsFolder(), desktop_, settings);
  scaleId_.store(settings.scaleId, std::memory_order_relaxed);
  scaleFactor_.store(settings.scaleFactor, std::memory_order_relaxed);
  opacityId_.store(settings.opacityId, std::memory_order_relaxed);
  lowQuality_.store(settings.lowQuality, std::memory_order_relaxed);
  mouseEnabled_.store(settings.mouseEnabled, std::memory_order_relaxed);
  windowLevel_ = settings.windowLevel;
  moveRange_ = settings.moveRange;
  built_ = true;

  if (!BuildCharacters()) return;

  int maxWidth = 2;
  int maxHeight = 2;
  for (CCharacter* character : characters_.Values()) {
    character->HitTest().SetUp(characters_);
    maxWidth = std::max(maxWidth, character->MaxWidth());
    maxHeight = std::max(maxHeight, character->MaxHeight());
  }
  surfaces_ = std::make_unique<CWorkSurfaces>(maxWidth, maxHeight, kLargestMenuScale);

  ApplyScale(ScaleId());
  ApplyOpacity(OpacityId());
  if (!MouseEnabled()) SetMouseEnabled(false);
  if (LowQuality()) SetLowQuality(true);
}

bool CApplication::BuildCharacters() {
  for (int i = 0; i < characterCount_; ++i) {
    const std::u16string& name = characterNames_[static_cast<size_t>(i)];
    CCharacter* character = CreateCharacter(name);
    if (character == nullptr) {
      state_.errorFlag.store(true);
      platform_.Ui().MessageBox(&mainWindow_, kInvalidDataMessage, kErrorCaption, EMessageBoxIcon::Error);
      mainWindow_.PostAppMessage(kQuitRequestMessage, 0);
      return false;
    }
    character->Load();
    if (systemMenu_ != nullptr) {
      systemMenu_->InsertAt(0, kCmdCharacterFirst + characters_.Count() - 1, character->Info().displayName);
    }
    character->InitialShow();
    // A fatal error was shown for this character: the program ends, so the characters
    // after it are not loaded (each could only add another message).
    if (state_.errorFlag.load()) return false;
  }
  return true;
}

CCharacter* CApplication::CreateCharacter(const std::u16string& folderName) {
  return characters_.CreateCharacter(windowClass_, folderName, *this);
}

bool CApplication::HandleCommand(int commandId) {
  if (commandId >= kCmdScaleFirst && commandId <= kCmdScaleLast) {
    ApplyScale(commandId);
    return true;
  }
  if (commandId >= kCmdOpacityFirst && commandId <= kCmdOpacityLast) {
    ApplyOpacity(commandId);
    return true;
  }
  if (commandId >= kCmdCharacterFirst && commandId <= kCmdCharacterLast) {
    if (CCharacter* character = CharacterOfEntry(commandId)) character->ToggleHidden();
    return true;
  }
  switch (commandId) {
    case kCmdExit: EndAllCharacters(); return true;
    case kCmdAllSoundOff: SetAllMuted(true); return true;
    case kCmdAllSoundOn: SetAllMuted(false); return true;
    case kCmdLowQuality: SetLowQuality(!LowQuality()); return true;
    case kCmdMouseDisabled: SetMouseEnabled(!MouseEnabled()); return true;
    default: return false;
  }
}

void CApplication::EndAllCharacters() {
  for (CCharacter* character : characters_.Values()) character->RequestEnding();
  exiting_.store(true, std::memory_order_release);
}

CCharacter* CApplication::CharacterOfEntry(int commandId) const {
  const int index = commandId - kCmdCharacterFirst;
  if (index < 0 || index >= characterCount_) return nullptr;
  return characters_.Find(characterNames_[static_cast<size_t>(index)]);
}

CCharacter* CApplication::CharacterOfIndex(int index) const {
  for (CCharacter* character : characters_.Values()) {
    if (character->Index() == index) return character;
  }
  return nullptr;
}

void CApplication::ApplyScale(int scaleId) {
  scaleId_.store(scaleId, std::memory_order_relaxed);
  if (std::optional<double> factor = ScaleFactorOf(scaleId)) scaleFactor_.store(*factor, std::memory_order_relaxed);
  if (systemMenu_ != nullptr) CheckOneOf(*systemMenu_, kCmdScaleFirst, kCmdScaleLast, scaleId);
  for (CCharacter* character : characters_.Values()) character->ApplyScale(scaleId, ScaleFactor());
}

void CApplication::ApplyOpacity(int opacityId) {
  opacityId_.store(opacityId, std::memory_order_relaxed);
  if (systemMenu_ != nullptr) CheckOneOf(*systemMenu_, kCmdOpacityFirst, kCmdOpacityLast, opacityId);
  for (CCharacter* character : characters_.Values()) character->ApplyOpacity(opacityId);
}

void CApplication::SetAllMuted(bool mute) {
  for (CCharacter* character : characters_.Values()) character->SetMute(mute);
}

void CApplication::SetLowQuality(bool on) {
  lowQuality_.store(on, std::memory_order_relaxed);
  if (systemMenu_ != nullptr) SetChecked(*systemMenu_, kCmdLowQuality, on);
  for (CCharacter* character : characters_.Values()) SetChecked(character->Menu(), kCmdLowQuality, on);
}

void CApplication::SetMouseEnabled(bool on) {
  mouseEnabled_.store(on, std::memory_order_relaxed);
  if (systemMenu_ != nullptr) SetChecked(*systemMenu_, kCmdMouseDisabled, !on);
  for (CCharacter* character : characters_.Values()) {
    character->SetMouseMode(on ? 1 : 2);
    SetChecked(character->Menu(), kCmdMouseDisabled, !on);
  }
}

SPoint CApplication::CursorSample() const {
  return {state_.cursorX.load(std::memory_order_relaxed), state_.cursorY.load(std::memory_order_relaxed)};
}

IAudio& CApplication::Audio() { return platform_.Audio(); }
IText& CApplication::Text() { return platform_.Text(); }
IUserInterface& CApplication::Ui() { return platform_.Ui(); }
ITraceSink& CApplication::Trace() { return platform_; }

std::u16string CApplication::ParamsFolder() const { return ApplicationFolder() + u"Params\\"; }

void CApplication::ReportFatalError(ILayeredWindow*, const std::u16string& message) {
  state_.errorFlag.store(true);
  state_.framesEnabled.store(false, std::memory_order_release);
  // One message per run: whatever fails after the first error is a consequence of it.
  if (errorShown_.exchange(true)) return;
  platform_.Ui().MessageBox(&mainWindow_, message, kErrorCaption, EMessageBoxIcon::Error);
  mainWindow_.PostAppMessage(kQuitRequestMessage, 0);
}

void CApplication::PostButtonRelease(CCharacter& character) {
  mainWindow_.PostAppMessage(kButtonReleaseMessage, character.Index());
}

void CApplication::PreparePopupMenu(const CMenuModel& menu, const std::u16string& owner) {
  if (&menu == systemMenu_) RefreshCharacterEntries();
  if (platform_.Tracing()) platform_.Trace(CTraceRecord("menu").Add("owner", owner).Add("items", MenuTraceItems(menu)));
}

void CApplication::OpenPopupMenu(const CMenuModel& menu, const std::u16string& owner, ILayeredWindow* commandTarget) {
  PreparePopupMenu(menu, owner);
  mainWindow_.BringToForeground();
  platform_.Ui().TrackPopupMenu(menu, CursorSample(), mainWindow_, commandTarget);
}

const CMenuModel& CApplication::ApplicationMenu() {
  if (IsExiting() && exitMenu_ != nullptr) return *exitMenu_;
  return systemMenu_ != nullptr ? *systemMenu_ : noMenu_;
}

bool CApplication::ShowCharacterAbout(CCharacter&) { return false; }

void CApplication::RefreshCharacterEntries() {
  if (systemMenu_ == nullptr) return;
  for (const CCharacter* character : characters_.Values()) {
    const auto position = std::find(characterNames_.begin(), characterNames_.end(), character->Name());
    if (position == characterNames_.end()) continue;
    const int id = kCmdCharacterFirst + static_cast<int>(position - characterNames_.begin());
    if (CMenuItem* item = systemMenu_->FindById(id)) {
      item->checked = !character->Hidden();
      // Greyed while the character is on its way into hiding.
      item->greyed = character->Hidden() && !character->Ended();
    }
  }
}

void CApplication::QuitNow() { mainWindow_.Destroy(); }

void CApplication::PostQuit(int code) { mainWindow_.PostAppMessage(kQuitRequestMessage, code); }
