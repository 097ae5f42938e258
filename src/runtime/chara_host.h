#pragma once
// What a live character needs from the application that owns it: the settings it
// paints and moves by, the shared work surfaces, the cursor sample, the platform
// services of the main thread, and the application-wide commands its menu forwards.
// The application implements it; tests may give a character their own.
#include <memory>
#include <string>

#include "platform/geometry.h"
#include "runtime/chara_balloons.h"

class CCharacter;
class CMenuModel;
class CWorkSurfaces;
class IAudio;
class ILayeredWindow;
class IText;
class ITraceSink;
class IUserInterface;
struct SCursorImage;

class ICharaHost {
 public:
  virtual ~ICharaHost() = default;

  // Settings (written on the main thread, read by both).
  virtual SRect MoveRange() const = 0;
  virtual int ScaleId() const = 0;
  virtual double ScaleFactor() const = 0;  // the factor of ScaleId()
  virtual int OpacityId() const = 0;
  virtual bool LowQuality() const = 0;
  virtual bool OpacityInPixels() const = 0;
  virtual bool MouseEnabled() const = 0;

  // The shared surfaces every paint goes through; null until the build step made them.
  virtual CWorkSurfaces* WorkSurfaces() = 0;
  // The cursor as the frame thread sampled it for the current frame.
  virtual SPoint CursorSample() const = 0;

  virtual IAudio& Audio() = 0;
  virtual IText& Text() = 0;
  virtual IUserInterface& Ui() = 0;
  virtual ITraceSink& Trace() = 0;
  // The folder of the saved state files, ending in "\".
  virtual std::u16string ParamsFolder() const = 0;

  // A fatal script error: sets the error flag, shows `message` (owned by `owner`, may be
  // null) and asks the main window to quit. Any thread.
  virtual void ReportFatalError(ILayeredWindow* owner, const std::u16string& message) = 0;
  // Asks the main window to run `character`'s main-thread half of a button release
  // (cursor and capture), which a frame-thread step cannot touch. Any thread.
  virtual void PostButtonRelease(CCharacter& character) = 0;
  // Shows a pop-up menu at the cursor sample; `commandTarget` receives its commands
  // (null: the main window). Main thread.
  virtual void OpenPopupMenu(const CMenuModel& menu, const std::u16string& owner, ILayeredWindow* commandTarget) = 0;
  // The application's menu (the system menu, or the exit menu once exiting).
  virtual const CMenuModel& ApplicationMenu() = 0;
  // A command of the shared settings entries of a character menu; false when the
  // application does not carry it out. Main thread.
  virtual bool ApplicationCommand(int commandId) = 0;
  // A character's own about box was asked for; false when it could not be shown.
  virtual bool ShowCharacterAbout(CCharacter& character) = 0;
  // The balloons of `character`, made when the character is created (before its
  // definition is read). A host without a balloon engine gives none.
  virtual std::unique_ptr<ICharaBalloons> MakeBalloons(CCharacter&) { return std::make_unique<CNoBalloons>(); }
};
