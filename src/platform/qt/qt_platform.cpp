#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/freetype/freetype_text.h"
#include "platform/headless/real_clock.h"
#include "platform/headless/runtime_dir.h"
#include "platform/headless/system_info_linux.h"
#include "platform/headless/trace_log.h"
#include "platform/qt/audio_with_fallback.h"
#include "platform/qt/qt_layered_windows.h"
#include "platform/qt/qt_process.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/x11_display.h"
#include "platform/qt/x11_shape.h"

namespace {

// How often the program looks whether a compositor came or went.
constexpr int kCompositorWatchMs = 2000;

std::string PrivateSubDir(const std::string& runtimeDir, const char* name) {
  if (runtimeDir.empty()) return {};
  std::string path = runtimeDir + "/" + name;
  return EnsurePrivateDir(path) ? path : std::string();
}

// Qt keeps pointers to these for the life of the application.
int g_argc = 1;
char g_argv0[] = "zelvotta";
char* g_argv[] = {g_argv0, nullptr};

bool EnvSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// The windows rely on X11 (shapes, stacking outside the window manager): Wayland
// sessions run the program through XWayland unless the user chose a platform. Window
// coordinates are the desktop's pixels, so Qt's own scaling stays off unless asked for.
// Our windows are small and change a few times a second: plain image transfers cost
// less than shared memory, whose every transfer the server answers with an event.
void ChooseQtPlatform() {
  if (!EnvSet("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "xcb", 1);
  if (!EnvSet("QT_ENABLE_HIGHDPI_SCALING")) setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
  if (!EnvSet("QT_XCB_NO_MITSHM")) setenv("QT_XCB_NO_MITSHM", "1", 1);
}

}  // namespace

class CQtPlatform::CQtText final : public IText {
 public:
  explicit CQtText(int pixelsPerInch) : pixelsPerInch_(pixelsPerInch), glyphs_(pixelsPerInch) {}
  int PixelsPerInchY() const override { return pixelsPerInch_; }
  std::unique_ptr<IFont> MakeFont(const SFontDescription& description) override {
    return glyphs_.MakeFont(description);
  }

 private:
  int pixelsPerInch_;
  CFreeTypeText glyphs_;
};

std::string CQtPlatform::CannotStart() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const bool xcb = platform == nullptr || *platform == '\0' || std::string(platform).rfind("xcb", 0) == 0;
  if (xcb && !EnvSet("DISPLAY")) {
    return "no X display to show the characters on: DISPLAY is not set (on Wayland, XWayland provides one)";
  }
  return {};
}

CQtPlatform::CQtPlatform(SQtOptions options) : options_(std::move(options)) {
  ChooseQtPlatform();
  application_ = std::make_unique<QApplication>(g_argc, g_argv);
  // Dialogs and message boxes come and go; the program ends only when the core says so.
  QApplication::setQuitOnLastWindowClosed(false);
  trace_ = std::make_unique<CTraceLog>(options_.traceFile, /*keepLines=*/false);
  if (!options_.traceFile.empty() && !trace_->FileOpen()) {
    std::fprintf(stderr, "zelvotta: cannot open trace file %s\n", options_.traceFile.c_str());
  }
  display_ = std::make_unique<CX11Display>();
  const std::string runtimeDir = ResolveRuntimeDir(options_.runtimeDir);
  if (runtimeDir.empty()) std::fprintf(stderr, "zelvotta: no private runtime folder; named locks are unavailable\n");
  process_ = std::make_unique<CQtProcess>(PrivateSubDir(runtimeDir, "locks"), *display_, options_.executablePath);
  clock_ = std::make_unique<CRealClock>();
  layered_ = std::make_unique<CQtLayeredWindows>([this] { ui_->SetCursor(nullptr); });
  layered_->OnPointerMoved([this] { display_->NotePointerMoved(); });
  ui_ = std::make_unique<CQtUi>(*clock_, *display_, *layered_, *this, options_.quitAfterFrames);
  systemInfo_ = std::make_unique<CLinuxSystemInfo>();
  audio_ = std::make_unique<CAudioWithFallback>(*clock_);
  QScreen* screen = QGuiApplication::primaryScreen();
  const int pixelsPerInch = screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
  text_ = std::make_unique<CQtText>(pixelsPerInch > 0 ? pixelsPerInch : 96);

  // Without a compositor, transparent pixels would show black: the windows then clip to
  // their shape.
  if (display_->Connected() && X11ShapesAvailable()) {
    layered_->SetBoundingShapes(!display_->CompositorRunning());
    compositorWatch_ = std::make_unique<QTimer>();
    QObject::connect(compositorWatch_.get(), &QTimer::timeout,
                     [this] { layered_->SetBoundingShapes(!display_->CompositorRunning()); });
    compositorWatch_->start(kCompositorWatchMs);
  }
}

CQtPlatform::~CQtPlatform() {
  compositorWatch_.reset();
  ui_.reset();
  layered_.reset();
}

IProcessServices& CQtPlatform::Process() { return *process_; }
IClock& CQtPlatform::Clock() { return *clock_; }
IUserInterface& CQtPlatform::Ui() { return *ui_; }
ISystemInfo& CQtPlatform::SystemInfo() { return *systemInfo_; }
IAudio& CQtPlatform::Audio() { return *audio_; }
ILayeredWindows& CQtPlatform::LayeredWindows() { return *layered_; }
IText& CQtPlatform::Text() { return *text_; }

void CQtPlatform::Trace(const CTraceRecord& record) {
  if (options_.traceFile.empty()) return;
  trace_->Append(record.ToJson(ui_->FrameCount()));
}

bool CQtPlatform::TraceFileOpen() const { return options_.traceFile.empty() || trace_->FileOpen(); }
