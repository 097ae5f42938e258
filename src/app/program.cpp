#include "app/program.h"

#include <clocale>
#include <memory>

#include "app/application.h"
#include "window/command_ids.h"
#include "app/data_layout.h"
#include "app/discovery.h"
#include "app/frame_thread.h"
#include "app/main_window_proc.h"
#include "app/messages.h"
#include "app/program_state.h"
#include "app/start_options.h"
#include "platform/platform.h"
#include "script/shared_random.h"
#include "support/application_folder.h"
#include "support/file_system.h"
#include "support/mutex.h"
#include "support/path.h"

namespace {

// Names other processes see: the start-up guard and the window titles of the census.
constexpr char16_t kStartupGuardName[] = u"Zelvotta_Mutex";
constexpr char16_t kMainWindowTitle[] = u"Zelvotta_Main_Window";
constexpr char16_t kCharacterWindowTitle[] = u"Zelvotta_Character_Window";
constexpr char16_t kTrayTip[] = u"Zelvotta";
constexpr char16_t kAboutMenuText[] = u"Zelvotta について";
// At most this many character windows may exist on the desktop, over all processes.
constexpr int kMaxCharacterWindows = 30;

class CProgram {
 public:
  CProgram(IPlatform& platform, const std::vector<std::u16string>& arguments, const SProgramOptions& options)
      : platform_(platform),
        arguments_(arguments),
        options_(options),
        windowProc_(state_, platform.Ui(), platform.SystemInfo()) {}

  int Run();

 private:
  // Start-up up to the release of the guard; false when the program must end with 0.
  bool StartUp();
  bool Refuse(const char16_t* message);
  void Shutdown();

  IPlatform& platform_;
  const std::vector<std::u16string>& arguments_;
  const SProgramOptions& options_;
  SProgramState state_;
  CMainWindowProc windowProc_;
  std::u16string applicationFolder_;
  SDiscovery discovery_;
  SStartOptions startOptions_;
  IMainWindow* mainWindow_ = nullptr;
  std::unique_ptr<CApplication> application_;
  std::unique_ptr<CFrameThread> frameThread_;
};

int CProgram::Run() {
  if (!StartUp()) return 0;

  if (options_.seed) SeedSharedRandom(*options_.seed);
  application_ = std::make_unique<CApplication>(platform_, *mainWindow_, state_, platform_.Process().DesktopRect(),
                                                discovery_.names, discovery_.count);
  application_->SetMenus(&windowProc_.SystemMenu(), &windowProc_.ExitMenu());
  windowProc_.SetApplication(application_.get());
  application_->Build();

  frameThread_ = std::make_unique<CFrameThread>(state_, *application_, platform_.Clock(), platform_.Ui(),
                                                options_.tracePositions);
  if (platform_.Ui().StartFrameWorker(*frameThread_)) {
    if (!state_.errorFlag.load()) state_.framesEnabled.store(true, std::memory_order_release);
  } else {
    state_.errorFlag.store(true);
  }

  const int code = platform_.Ui().RunMessageLoop();
  platform_.Trace(CTraceRecord("quit").Add("code", int64_t{code}));
  Shutdown();
  return code;
}

bool CProgram::StartUp() {
  std::setlocale(LC_ALL, "");
  applicationFolder_ = FolderOf(FromNativePath(platform_.Process().ExecutablePath()));
  SetApplicationFolder(applicationFolder_);
  SDataLayout layout = ChooseDataLayout(applicationFolder_, options_.installedDataPath, options_.userDataFolder);
  SetParamsFolder(layout.paramsFolder);
  SetCharacterRoots(std::move(layout.characterRoots));

  // Held until the main window exists, so two copies started together pass the checks
  // below one after the other.
  CMutex guard(platform_.Process());
  guard.Create(kStartupGuardName);
  guard.Lock();

  discovery_ = DiscoverCharactersIn(CharacterRoots());
  if (!discovery_.found) return Refuse(kNoCharacterMessage);

  startOptions_ = ParseStartOptions(arguments_);
  std::vector<std::u16string> used(discovery_.names.begin(), discovery_.names.begin() + discovery_.count);
  platform_.Trace(CTraceRecord("startup")
                      .Add("characters", std::move(used))
                      .Add("count", int64_t{discovery_.count})
                      .Add("taskbar", startOptions_.taskbar));

  IProcessServices& process = platform_.Process();
  if (process.CountWindowsTitled(kMainWindowTitle) > 0) return Refuse(kSecondInstanceMessage);
  if (discovery_.count + process.CountWindowsTitled(kCharacterWindowTitle) > kMaxCharacterWindows) {
    return Refuse(kTooManyCharactersMessage);
  }

  mainWindow_ = platform_.Ui().CreateMainWindow({kMainWindowTitle, startOptions_.taskbar}, windowProc_);
  if (!mainWindow_) return false;

  if (CMenuItem* about = windowProc_.SystemMenu().FindById(kCmdAbout)) about->text = kAboutMenuText;
  platform_.Ui().AddTrayIcon(*mainWindow_, kTrayTip);
  return true;  // the guard is released here
}

bool CProgram::Refuse(const char16_t* message) {
  platform_.Ui().MessageBox(nullptr, message, kErrorCaption, EMessageBoxIcon::None);
  return false;
}

void CProgram::Shutdown() {
  platform_.Ui().RemoveTrayIcon(*mainWindow_);
  state_.running.store(false, std::memory_order_release);
  platform_.Ui().JoinFrameWorker();
  application_.reset();
}

}  // namespace

int RunProgram(IPlatform& platform, const std::vector<std::u16string>& arguments, const SProgramOptions& options) {
  return CProgram(platform, arguments, options).Run();
}
