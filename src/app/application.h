#pragma once
// The application object: lives from the end of start-up to shutdown and owns the
// characters, the window class they share, the work surfaces they paint through and the
// application-wide settings. It is the host every character asks for settings and
// platform services.
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/about_box.h"
#include "media/image_map.h"
#include "platform/geometry.h"
#include "platform/menu_model.h"
#include "platform/system_info.h"
#include "runtime/chara_host.h"
#include "runtime/chara_map.h"
#include "window/image_wnd_class.h"
#include "window/image_wnd_host.h"
#include "window/work_surfaces.h"

class CDesktopArea;
class IMainWindow;
class IPlatform;
struct SProgramState;

// Whether window opacity is composed into the pixels rather than handed to the system
// as the window's constant alpha: on Windows versions 6.0 and 6.1 (Vista, 7) as the
// version query reports them; elsewhere the constant alpha, which every compositor
// applies.
bool OpacityInPixelsFor(const std::optional<SOsVersion>& windowsVersion);

class CApplication final : public ICharaHost, public IImageWndHost {
 public:
  CApplication(IPlatform& platform, IMainWindow& mainWindow, SProgramState& state, SRect desktop,
               std::vector<std::u16string> characterNames, int characterCount);
  ~CApplication() override;

  // The menus of the main window, whose entries and check marks the application keeps.
  void SetMenus(CMenuModel* systemMenu, CMenuModel* exitMenu);

  // Prepares everything the characters need, creates and loads them, sizes the work
  // surfaces and applies the settings. Failures set the program's error flag; the
  // caller does not look at the result.
  void Build();

  // Carries out a menu command shared by the notification menu and the character menus;
  // false when the command is not one the application carries out.
  bool HandleCommand(int commandId);

  // Starts the ending of every character; the notification menu turns into the exit menu.
  void EndAllCharacters();
  bool IsExiting() const { return exiting_.load(std::memory_order_acquire); }

  // The character whose menu entry is `commandId`, or null.
  CCharacter* CharacterOfEntry(int commandId) const;
  // The character of creation number `index`, or null.
  CCharacter* CharacterOfIndex(int index) const;

  // The settings. Each change is mirrored in the check marks of every menu and, once
  // the build step has applied the saved ones, traced as a "setting" record.
  void ApplyScale(int scaleId);
  void ApplyOpacity(int opacityId);
  void SetAllMuted(bool mute);
  void SetLowQuality(bool on);
  void SetMouseEnabled(bool on);
  // Moves the main window, and with it every character and balloon, into the topmost
  // band or back out of it.
  void ToggleAlwaysOnTop();
  bool AlwaysOnTop() const { return windowLevel_ == 1; }
  // The new move range, applied to every character at the start of the next frame.
  void SetMoveRange(const SRect& range);
  // Frame thread, before the characters' updates: gives every character's mover the
  // move range set since the last frame.
  void ApplyPendingMoveRange();

  // The application's about box (one at a time), a character's about box (one per
  // character), and the move-range window, placed on the move range.
  void OpenApplicationAbout();
  void ShowMoveRangeWindow();
  // The move-range window; null before the build step.
  CDesktopArea* DesktopArea() const { return desktopArea_.get(); }

  IMainWindow& MainWindow() const { return mainWindow_; }
  CCharaMap& Characters() { return characters_; }
  const std::vector<std::u16string>& CharacterNames() const { return characterNames_; }
  int CharacterCount() const { return characterCount_; }
  const SRect& DesktopRect() const { return desktop_; }
  // The product logo the about boxes show; null if it could not be decoded.
  const CImageLoad* Logo() const { return logo_; }

  // ICharaHost.
  SRect MoveRange() const override;
  int ScaleId() const override { return scaleId_.load(std::memory_order_relaxed); }
  double ScaleFactor() const override { return scaleFactor_.load(std::memory_order_relaxed); }
  int OpacityId() const override { return opacityId_.load(std::memory_order_relaxed); }
  bool LowQuality() const override { return lowQuality_.load(std::memory_order_relaxed); }
  bool OpacityInPixels() const override { return opacityInPixels_; }
  bool MouseEnabled() const override { return mouseEnabled_.load(std::memory_order_relaxed); }
  CWorkSurfaces* WorkSurfaces() override { return surfaces_.get(); }
  SPoint CursorSample() const override;
  IAudio& Audio() override;
  IText& Text() override;
  IUserInterface& Ui() override;
  ITraceSink& Trace() override;
  std::u16string ParamsFolder() const override;
  void ReportFatalError(ILayeredWindow* owner, const std::u16string& message) override;
  void PostButtonRelease(CCharacter& character) override;
  void OpenPopupMenu(const CMenuModel& menu, const std::u16string& owner, ILayeredWindow* commandTarget) override;
  // What opening `menu` needs first: the character entries brought up to date and the
  // trace record of the menu (`owner`: a character's folder name, "" for the main menus).
  void PreparePopupMenu(const CMenuModel& menu, const std::u16string& owner);
  // Creates the character of `folderName` with the application as its host; null when
  // the name is taken.
  CCharacter* CreateCharacter(const std::u16string& folderName);
  const CMenuModel& ApplicationMenu() override;
  bool ApplicationCommand(int commandId) override { return HandleCommand(commandId); }
  bool ShowCharacterAbout(CCharacter& character) override;
  // Every character gets its balloon map.
  std::unique_ptr<ICharaBalloons> MakeBalloons(CCharacter& character) override;

  // IImageWndHost.
  void QuitNow() override;
  void PostQuit(int code) override;

 private:
  bool BuildCharacters();
  // A "setting" record under app.cfg's key, for changes after the build step.
  void TraceSetting(std::u16string_view key, int value);
  CAboutBox& AboutBoxOf(const CCharacter& character);
  // The character entries of the system menu show who is shown, hidden, or on the way.
  void RefreshCharacterEntries();

  IPlatform& platform_;
  IMainWindow& mainWindow_;
  SProgramState& state_;
  std::vector<std::u16string> characterNames_;  // discovery order; the first count are used
  int characterCount_;
  SRect desktop_;
  // Written on the main thread, read by both; the frame thread hands it to the movers.
  mutable std::mutex moveRangeMutex_;
  SRect moveRange_{};  // guarded by moveRangeMutex_
  std::atomic<bool> moveRangePending_{false};
  std::atomic<int> scaleId_;
  std::atomic<double> scaleFactor_{1.0};
  std::atomic<int> opacityId_;
  std::atomic<bool> lowQuality_{false};
  std::atomic<bool> mouseEnabled_{true};
  int windowLevel_ = 0;  // 1: always on top; kept and saved as app.cfg gave it
  bool built_ = false;   // Build ran: the settings are the user's and are saved
  bool settingsApplied_ = false;  // the build step applied the saved settings
  // Decided once at construction (OpacityInPixelsFor).
  bool opacityInPixels_ = false;
  CMenuModel noMenu_;  // what menus show before the main window gave its own
  CMenuModel* systemMenu_ = nullptr;
  CMenuModel* exitMenu_ = nullptr;
  CImageWndClass windowClass_;
  std::unique_ptr<CWorkSurfaces> surfaces_;
  CCharaMap characters_;  // destroyed first: each character writes its state
  CImageMap images_;  // the application's own images: the logo
  const CImageLoad* logo_ = nullptr;
  CAboutBox applicationAbout_;
  // Each character's about box; they end before the characters go.
  std::vector<std::pair<const CCharacter*, std::unique_ptr<CAboutBox>>> characterAbouts_;
  std::unique_ptr<CDesktopArea> desktopArea_;
  std::atomic<bool> exiting_{false};
  std::atomic<bool> errorShown_{false};
};
