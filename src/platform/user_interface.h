#pragma once
// The main thread's user interface: the hidden main window with its message queue and
// timers, the notification icon, pop-up menus, message boxes, dialogs and the
// move-range window, web links, the cursor, and the worker that drives frames.
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/geometry.h"

class CMenuModel;
class IAreaWindow;
class IAreaWindowHandler;
class IDialogHandler;
class ILayeredWindow;
class IMainWindow;
struct SCursorImage;
struct SDialogModel;

// Message numbers of the main window's own messages, as the program defines them.
constexpr uint32_t kAppMessageBase = 0x8000;                 // first application message
constexpr uint32_t kTrayMessage = kAppMessageBase + 1;       // notification icon mouse event
constexpr uint32_t kQuitRequestMessage = kAppMessageBase + 2;

// Mouse messages the notification icon reports (the system's own numbers).
constexpr int kTrayLeftButtonDown = 513;
constexpr int kTrayRightButtonDown = 516;

// The main window procedure, implemented by the core. Every call arrives on the main
// thread, from the message loop.
class IMainWindowHandler {
 public:
  virtual ~IMainWindowHandler() = default;
  virtual void OnCreate(IMainWindow& window) = 0;
  virtual void OnDestroy() = 0;
  virtual void OnTimer(int timerId) = 0;
  // A posted application message (kTrayMessage, kQuitRequestMessage, …) with its parameter.
  virtual void OnAppMessage(uint32_t message, intptr_t param) = 0;
  // A menu command or accelerator.
  virtual void OnCommand(int commandId) = 0;
};

class IMainWindow {
 public:
  virtual ~IMainWindow() = default;
  // Queues a message for the window's thread and returns at once; safe from any thread.
  virtual void PostAppMessage(uint32_t message, intptr_t param) = 0;
  // Destroys the window: the handler's OnDestroy runs before this returns.
  virtual void Destroy() = 0;
  virtual void BringToForeground() = 0;
  // Moves the window into the band above all ordinary windows, or back out of it,
  // without moving or resizing it. The windows it owns (characters, balloons) follow.
  virtual void SetTopmost(bool topmost) = 0;
  // Starts or restarts a repeating timer delivered to OnTimer.
  virtual void StartTimer(int timerId, uint32_t intervalMs) = 0;
  virtual void StopTimer(int timerId) = 0;
};

struct SMainWindowDesc {
  std::u16string title;
  bool taskbarButton = false;  // an ordinary window with a taskbar button, else a tool window
};

enum class EMessageBoxIcon { None, Error, Warning, Information };

// The per-frame work, as a body the backend runs: on a thread of its own with a real
// clock, or stepped from the message loop on a virtual clock. Begin and End bracket the
// whole run on the same thread as the frames.
class IFrameWorker {
 public:
  virtual ~IFrameWorker() = default;
  virtual void Begin() = 0;
  virtual bool KeepRunning() = 0;
  // Does one frame's work and returns how long to sleep before the next one.
  virtual uint32_t Step() = 0;
  virtual void End() = 0;
};

class IUserInterface {
 public:
  virtual ~IUserInterface() = default;
  // Creates the main window and calls the handler's OnCreate; null on failure.
  // The window object stays owned by the backend and valid, destroyed or not, for the
  // life of the platform, so other threads may still post to it (posts are dropped).
  virtual IMainWindow* CreateMainWindow(const SMainWindowDesc& desc, IMainWindowHandler& handler) = 0;
  // Runs the message loop until a quit is posted; returns the quit code.
  virtual int RunMessageLoop() = 0;
  // Posts the quit message that ends RunMessageLoop with `code`.
  virtual void PostQuit(int code) = 0;

  // The notification icon of the main window; its mouse events arrive as kTrayMessage
  // with the mouse message number as parameter.
  virtual bool AddTrayIcon(IMainWindow& owner, const std::u16string& tip) = 0;
  virtual void RemoveTrayIcon(IMainWindow& owner) = 0;

  // Shows `menu` at `at` until the user chooses an item or dismisses it. A chosen item
  // reaches `commandTarget`'s handler OnCommand when it is set (a character's own menu),
  // else the owner's OnCommand. Before the menu shows, `commandTarget` (when set) gets
  // OnMenuOpened, as a menu's initialisation message would reach it. A backend may
  // return at once and keep the menu open across frames (IsPopupMenuShowing says so).
  // The menu must stay alive and unchanged while it shows.
  virtual void TrackPopupMenu(const CMenuModel& menu, SPoint at, IMainWindow& owner,
                              ILayeredWindow* commandTarget) = 0;
  // Whether a pop-up menu is showing; safe from any thread.
  virtual bool IsPopupMenuShowing() const = 0;

  // A modal message box with an OK button; owner may be null.
  virtual void MessageBox(IMainWindow* owner, const std::u16string& text,
                          const std::u16string& caption, EMessageBoxIcon icon) = 0;

  // Runs `dialog` modally, owned by `owner`, at the place its bounds give. The handler
  // hears OnOpened first, then link clicks, then OnEnded last. A backend may return at
  // once and keep the dialog open across frames (the headless one does) or return once
  // the dialog has ended. The model is copied; the handler must outlive the dialog.
  virtual void RunModalDialog(const SDialogModel& dialog, IMainWindow& owner, IDialogHandler& handler) = 0;
  // Opens a web address with the system's default handler.
  virtual void OpenUrl(const std::u16string& url) = 0;
  // Creates the hidden move-range window owned by `owner`, whose drags and buttons go to
  // `handler`; null on failure. The window stays owned by the backend.
  virtual IAreaWindow* CreateAreaWindow(IMainWindow& owner, IAreaWindowHandler& handler) = 0;

  // The cursor's position on the desktop; safe from any thread.
  virtual SPoint CursorPosition() = 0;
  // The cursor's position sampled once a frame, on the frame thread. A platform may
  // answer from what it heard of the pointer instead of asking the system each frame.
  virtual SPoint SampleCursorPosition() { return CursorPosition(); }
  // Shows `cursor` as the mouse cursor (null: the system arrow). The image stays alive
  // while it shows. Main thread.
  virtual void SetCursor(const SCursorImage* cursor) = 0;
  // Whether the primary mouse button is held down now (the right one when the system
  // swaps the buttons); safe from any thread.
  virtual bool IsPrimaryButtonDown() const = 0;

  // Starts running `worker`; false when it cannot start. JoinFrameWorker waits until
  // the worker has ended (the worker's KeepRunning must turn false first).
  virtual bool StartFrameWorker(IFrameWorker& worker) = 0;
  virtual void JoinFrameWorker() = 0;
};
