#include "app/application.h"

#include <algorithm>
#include <string>

#include "app/about_dialogs.h"
#include "app/desktop_area.h"
#include "app/messages.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "balloon/balloon_map.h"
#include "media/embedded_images.h"
#include "media/sound_manager.h"
#include "platform/menu_model.h"
#include "platform/platform.h"
#include "runtime/settings_menu.h"
#include "support/application_folder.h"
#include "window/command_ids.h"

namespace {

constexpr int kDefaultScaleId = kCmdScaleFirst + 6;  // 100 %
constexpr int kDefaultOpacityId = kCmdOpacityFirst;  // 100 %
// The largest scale the menus offer; the work surfaces are sized for it.
constexpr double kLargestMenuScale = 2.0;

}  // namespace

bool OpacityInPixelsFor(const std::optional<SOsVersion>& windowsVersion) {
  return windowsVersion && windowsVersion->major > 5 && windowsVersion->minor < 2;
}

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
      opacityInPixels_(OpacityInPixelsFor(platform.SystemInfo().WindowsVersion())),
      windowClass_(platform.LayeredWindows(), mainWindow, *this),
      applicationAbout_(platform.Ui(), mainWindow, platform) {}

CApplication::~CApplication() {
  if (built_) {
    SAppSettings settings;
    settings.scaleId = ScaleId();
    settings.opacityId = OpacityId();
    settings.lowQuality = LowQuality();
    settings.mouseEnabled = MouseEnabled();
    settings.windowLevel = windowLevel_;
    settings.moveRange = MoveRange();
    SaveAppSettings(ParamsFolder(), settings);
  }
  desktopArea_.reset();
  // An open about box shows the character's texts and image: it ends first.
  characterAbouts_.clear();
  characters_.Clear();
}

void CApplication::SetMenus(CMenuModel* systemMenu, CMenuModel* exitMenu) {
  systemMenu_ = systemMenu;
  exitMenu_ = exitMenu;
}

void CApplication::Build() {
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
  {
    std::lock_guard lock(moveRangeMutex_);
    moveRange_ = settings.moveRange;
  }
  built_ = true;
  desktopArea_ = std::make_unique<CDesktopArea>(platform_.Ui(), mainWindow_, platform_, desktop_, settings.moveRange,
                                                [this](const SRect& range) { SetMoveRange(range); });

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
  // Toggled from 0, the level ends at 1 with every window in the topmost band.
  if (windowLevel_ == 1) {
    windowLevel_ = 0;
    ToggleAlwaysOnTop();
  }
  settingsApplied_ = true;
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
    case kCmdAlwaysOnTop: ToggleAlwaysOnTop(); return true;
    case kCmdMoveRange: ShowMoveRangeWindow(); return true;
    case kCmdAbout: OpenApplicationAbout(); return true;
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
  if (scaleId != ScaleId()) TraceSetting(u"ScaleID", scaleId);
  scaleId_.store(scaleId, std::memory_order_relaxed);
  if (std::optional<double> factor = ScaleFactorOf(scaleId)) scaleFactor_.store(*factor, std::memory_order_relaxed);
  if (systemMenu_ != nullptr) CheckOneOf(*systemMenu_, kCmdScaleFirst, kCmdScaleLast, scaleId);
  for (CCharacter* character : characters_.Values()) character->ApplyScale(scaleId, ScaleFactor());
}

void CApplication::ApplyOpacity(int opacityId) {
  if (opacityId != OpacityId()) TraceSetting(u"AlphaID", opacityId);
  opacityId_.store(opacityId, std::memory_order_relaxed);
  if (systemMenu_ != nullptr) CheckOneOf(*systemMenu_, kCmdOpacityFirst, kCmdOpacityLast, opacityId);
  for (CCharacter* character : characters_.Values()) character->ApplyOpacity(opacityId);
}

void CApplication::SetAllMuted(bool mute) {
  for (CCharacter* character : characters_.Values()) character->SetMute(mute);
}

void CApplication::SetLowQuality(bool on) {
  if (on != LowQuality()) TraceSetting(u"LowQuality", on ? 1 : 0);
  lowQuality_.store(on, std::memory_order_relaxed);
  if (systemMenu_ != nullptr) SetChecked(*systemMenu_, kCmdLowQuality, on);
  for (CCharacter* character : characters_.Values()) SetChecked(character->Menu(), kCmdLowQuality, on);
}

void CApplication::SetMouseEnabled(bool on) {
  if (on != MouseEnabled()) TraceSetting(u"UnMouse", on ? 1 : 0);
  mouseEnabled_.store(on, std::memory_order_relaxed);
  if (systemMenu_ != nullptr) SetChecked(*systemMenu_, kCmdMouseDisabled, !on);
  for (CCharacter* character : characters_.Values()) {
    character->SetMouseMode(on ? 1 : 2);
    SetChecked(character->Menu(), kCmdMouseDisabled, !on);
  }
}

void CApplication::ToggleAlwaysOnTop() {
  windowLevel_ = windowLevel_ == 1 ? 0 : 1;
  const bool onTop = AlwaysOnTop();
  TraceSetting(u"WndTopOrBottom", windowLevel_);
  if (systemMenu_ != nullptr) SetChecked(*systemMenu_, kCmdAlwaysOnTop, onTop);
  // The character and balloon windows are owned by the main window and follow it.
  mainWindow_.SetTopmost(onTop);
  for (CCharacter* character : characters_.Values()) SetChecked(character->Menu(), kCmdAlwaysOnTop, onTop);
}

SRect CApplication::MoveRange() const {
  std::lock_guard lock(moveRangeMutex_);
  return moveRange_;
}

void CApplication::SetMoveRange(const SRect& range) {
  SRect previous;
  {
    std::lock_guard lock(moveRangeMutex_);
    previous = moveRange_;
    moveRange_ = range;
  }
  moveRangePending_.store(true, std::memory_order_release);
  if (range.left != previous.left) TraceSetting(u"MoveScopeLeft", range.left);
  if (range.top != previous.top) TraceSetting(u"MoveScopeTop", range.top);
  if (range.right != previous.right) TraceSetting(u"MoveScopeRight", range.right);
  if (range.bottom != previous.bottom) TraceSetting(u"MoveScopeBottom", range.bottom);
}

void CApplication::ApplyPendingMoveRange() {
  if (!moveRangePending_.exchange(false, std::memory_order_acq_rel)) return;
  const SRect range = MoveRange();
  for (CCharacter* character : characters_.Values()) character->ApplyMoveRange(range);
}

void CApplication::OpenApplicationAbout() {
  if (applicationAbout_.BringForward()) return;
  applicationAbout_.Run(ApplicationAboutDialog(logo_, MoveRange()));
}

bool CApplication::ShowCharacterAbout(CCharacter& character) {
  CAboutBox& box = AboutBoxOf(character);
  if (box.BringForward()) return true;
  box.Run(CharacterAboutDialog(character.Info(), MoveRange()));
  return true;
}

CAboutBox& CApplication::AboutBoxOf(const CCharacter& character) {
  for (auto& [owner, box] : characterAbouts_) {
    if (owner == &character) return *box;
  }
  auto box = std::make_unique<CAboutBox>(platform_.Ui(), mainWindow_, platform_);
  return *characterAbouts_.emplace_back(&character, std::move(box)).second;
}

void CApplication::ShowMoveRangeWindow() {
  if (desktopArea_ != nullptr) desktopArea_->Show(MoveRange());
}

void CApplication::TraceSetting(std::u16string_view key, int value) {
  if (!settingsApplied_ || !platform_.Tracing()) return;
  platform_.Trace(CTraceRecord("setting").Add("key", std::u16string(key)).Add("value", int64_t{value}));
}

SPoint CApplication::CursorSample() const {
  return {state_.cursorX.load(std::memory_order_relaxed), state_.cursorY.load(std::memory_order_relaxed)};
}

IAudio& CApplication::Audio() { return platform_.Audio(); }
IText& CApplication::Text() { return platform_.Text(); }
IUserInterface& CApplication::Ui() { return platform_.Ui(); }
ITraceSink& CApplication::Trace() { return platform_; }

std::u16string CApplication::ParamsFolder() const { return ::ParamsFolder(); }

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
  // At the pointer as it is now, not as the last frame saw it: the button press that
  // opens the menu is released over the menu's corner and leaves it open, where a
  // menu a frame's movement away would take that release as a click beside it.
  platform_.Ui().TrackPopupMenu(menu, platform_.Ui().CursorPosition(), mainWindow_, commandTarget);
}

const CMenuModel& CApplication::ApplicationMenu() {
  if (IsExiting() && exitMenu_ != nullptr) return *exitMenu_;
  return systemMenu_ != nullptr ? *systemMenu_ : noMenu_;
}

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

std::unique_ptr<ICharaBalloons> CApplication::MakeBalloons(CCharacter& character) {
  return std::make_unique<CBalloonMap>(character);
}

void CApplication::QuitNow() { mainWindow_.Destroy(); }

void CApplication::PostQuit(int code) { mainWindow_.PostAppMessage(kQuitRequestMessage, code); }
