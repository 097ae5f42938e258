#pragma once
// The platform without a display: for tests, zelvotta-tool and CI. Named locks and the
// window census are real and reach other processes of the user; windows, the tray icon,
// menus and message boxes are recorded instead of shown; frames run either on a virtual
// clock stepped by the message loop (repeatable runs) or on a thread against the
// system clock.
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_options.h"
#include "platform/platform.h"

class CHeadlessAudio;
class CHeadlessClock;
class CHeadlessLayeredWindows;
class CHeadlessProcess;
class CHeadlessText;
class CScriptedSystemInfo;
class CHeadlessUi;
class CTraceLog;
class CVirtualClock;
class CWindowRegistry;

class CHeadlessPlatform final : public IPlatform {
 public:
  explicit CHeadlessPlatform(SHeadlessOptions options);
  ~CHeadlessPlatform() override;
  CHeadlessPlatform(const CHeadlessPlatform&) = delete;
  CHeadlessPlatform& operator=(const CHeadlessPlatform&) = delete;

  IProcessServices& Process() override;
  IClock& Clock() override;
  IUserInterface& Ui() override;
  ISystemInfo& SystemInfo() override;
  IAudio& Audio() override;
  ILayeredWindows& LayeredWindows() override;
  IText& Text() override;
  // Appends the record, stamped with the current frame count, to the trace.
  void Trace(const CTraceRecord& record) override;
  bool Tracing() const override { return options_.keepTrace || !options_.traceFile.empty(); }

  // For tests and tools.
  uint64_t FrameCount() const;
  std::vector<std::string> TraceLines() const;
  // False when a trace file was asked for but could not be opened.
  bool TraceFileOpen() const;
  void SetCursorPosition(SPoint position);
  bool HasTrayIcon() const;
  // A copy of the menu most recently shown; null before the first.
  const CMenuModel* LastTrackedMenu() const;
  // Delivers a click on the tray icon (kTrayLeftButtonDown or kTrayRightButtonDown) to
  // its owner through the queue; false when there is no icon. Safe from any thread.
  bool ClickTrayIcon(int mouseMessage);
  // The private folder of the locks and the census; empty when none could be made.
  const std::string& RuntimeDir() const { return runtimeDir_; }
  // The census of this process, where other windows register their titles.
  CWindowRegistry& Windows();
  // The user interface with its frame hooks, cursor, tray icon, pop-up menu and the
  // scripted input's entry points.
  CHeadlessUi& HeadlessUi();
  // The recording audio; tests pump its buffer-done notifications.
  CHeadlessAudio& HeadlessAudio();
  // The layered windows with their recorded state, mouse delivery and desktop snapshots.
  CHeadlessLayeredWindows& Layered();
  // The system figures, where a run's input fixes CPU usage and local time.
  CScriptedSystemInfo& ScriptedSystemInfo();

 private:
  SHeadlessOptions options_;
  std::string runtimeDir_;
  std::unique_ptr<CTraceLog> trace_;
  std::unique_ptr<CWindowRegistry> windows_;
  std::unique_ptr<CHeadlessProcess> process_;
  std::unique_ptr<CVirtualClock> virtualClock_;
  std::unique_ptr<CHeadlessClock> realClock_;
  // Before the user interface, which reaches the windows' handlers for menus.
  std::unique_ptr<CHeadlessLayeredWindows> layered_;
  std::unique_ptr<CHeadlessUi> ui_;
  std::unique_ptr<CScriptedSystemInfo> systemInfo_;
  std::unique_ptr<CHeadlessAudio> audio_;
  std::unique_ptr<CHeadlessText> text_;
};
