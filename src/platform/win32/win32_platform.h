#pragma once
// The Windows platform: layered windows, the hidden main window and its message loop,
// the notification icon, menus, dialogs, the move-range window, cursors, waveOut sound,
// GDI glyphs, the system status and frames on a thread against the multimedia clock.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

class CTraceLog;
class CWin32Audio;
class CWin32Clock;
class CWin32LayeredWindows;
class CWin32Process;
class CWin32SystemInfo;
class CWin32Text;
class CWin32Ui;

struct SWin32Options {
  std::u16string executablePath;  // empty: this program's own
  uint64_t quitAfterFrames = 0;   // >0: the main window is asked to quit after that many frames
  std::string traceFile;          // empty: no trace; else JSON lines, flushed per line
};

class CWin32Platform final : public IPlatform {
 public:
  explicit CWin32Platform(SWin32Options options);
  ~CWin32Platform() override;
  CWin32Platform(const CWin32Platform&) = delete;
  CWin32Platform& operator=(const CWin32Platform&) = delete;

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
  SWin32Options options_;
  std::unique_ptr<CTraceLog> trace_;
  std::unique_ptr<CWin32Process> process_;
  std::unique_ptr<CWin32Clock> clock_;
  std::unique_ptr<CWin32LayeredWindows> layered_;
  std::unique_ptr<CWin32Ui> ui_;
  std::unique_ptr<CWin32SystemInfo> systemInfo_;
  std::unique_ptr<CWin32Audio> audio_;
  std::unique_ptr<CWin32Text> text_;
};
