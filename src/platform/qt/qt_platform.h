#pragma once
// The Linux desktop platform: real windows through Qt 6 Widgets on X11 (XWayland on
// Wayland sessions), the notification icon, menus and dialogs, cursors, sound through
// OpenAL, glyphs through FreeType, and frames on a thread against the system clock.
#include <memory>
#include <string>

#include "platform/platform.h"

class CFreeTypeText;
class CLinuxSystemInfo;
class CAudioWithFallback;
class CQtLayeredWindows;
class CQtProcess;
class CQtUi;
class CRealClock;
class CTraceLog;
class CX11Display;
class QApplication;
class QTimer;

struct SQtOptions {
  std::u16string executablePath;  // empty: this program's own
  uint64_t quitAfterFrames = 0;   // >0: the main window is asked to quit after that many frames
  std::string traceFile;          // empty: no trace; else JSON lines, flushed per line
  std::string runtimeDir;         // empty: the per-user default folder
};

class CQtPlatform final : public IPlatform {
 public:
  // Why the desktop platform cannot start here (no display to connect to); empty when
  // it can. Call before constructing one: Qt ends the process when it finds no display.
  static std::string CannotStart();

  explicit CQtPlatform(SQtOptions options);
  ~CQtPlatform() override;
  CQtPlatform(const CQtPlatform&) = delete;
  CQtPlatform& operator=(const CQtPlatform&) = delete;

  IProcessServices& Process() override;
  IClock& Clock() override;
  IUserInterface& Ui() override;
  ISystemInfo& SystemInfo() override;
  IAudio& Audio() override;
  ILayeredWindows& LayeredWindows() override;
  IText& Text() override;
  void Trace(const CTraceRecord& record) override;
  bool Tracing() const override { return !options_.traceFile.empty(); }
  // False when a trace file was asked for but could not be opened.
  bool TraceFileOpen() const;

 private:
  class CQtText;

  SQtOptions options_;
  std::unique_ptr<QApplication> application_;
  std::unique_ptr<CTraceLog> trace_;
  std::unique_ptr<CX11Display> display_;
  std::unique_ptr<CQtProcess> process_;
  std::unique_ptr<CRealClock> clock_;
  std::unique_ptr<CQtLayeredWindows> layered_;
  std::unique_ptr<CQtUi> ui_;
  std::unique_ptr<CLinuxSystemInfo> systemInfo_;
  std::unique_ptr<CAudioWithFallback> audio_;
  std::unique_ptr<CQtText> text_;
  std::unique_ptr<QTimer> compositorWatch_;
};
