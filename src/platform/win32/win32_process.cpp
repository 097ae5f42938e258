#include "platform/win32/win32_process.h"

#include "platform/win32/win32_system.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/win32/win32_strings.h"

namespace {

// A kernel mutex. The system counts ownership per thread; `levels_` counts the levels
// taken through this handle, so Release never gives up more than was taken and the
// destructor can give back what is still held before closing.
class CWin32NamedLock final : public INamedLock {
 public:
  CWin32NamedLock(HANDLE mutex, int levels) : mutex_(mutex), levels_(levels) {}

  ~CWin32NamedLock() override {
    // Closing the handle alone would keep the mutex owned until the thread ends.
    while (levels_ > 0 && ReleaseMutex(mutex_)) --levels_;
    CloseHandle(mutex_);
  }

  void Wait() override {
    const DWORD result = WaitForSingleObject(mutex_, INFINITE);
    // An abandoned mutex (its owner died holding it) is ours now all the same.
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) ++levels_;
  }

  void Release() override {
    // ReleaseMutex fails for a thread that does not own the mutex; nothing is counted.
    if (levels_ > 0 && ReleaseMutex(mutex_)) --levels_;
  }

 private:
  HANDLE mutex_;
  std::atomic<int> levels_;
};

struct SCensus {
  const std::u16string* title = nullptr;
  std::vector<wchar_t> buffer;
  int count = 0;
};

BOOL CALLBACK CountIfTitled(HWND window, LPARAM context) {
  SCensus& census = *reinterpret_cast<SCensus*>(context);
  // One character more than the title: a longer title reads back longer and differs.
  const int room = static_cast<int>(census.buffer.size());
  const int length = GetWindowTextW(window, census.buffer.data(), room);
  const std::u16string& title = *census.title;
  if (length == static_cast<int>(title.size()) &&
      std::equal(title.begin(), title.end(), census.buffer.begin(),
                 [](char16_t a, wchar_t b) { return a == static_cast<char16_t>(b); })) {
    ++census.count;
  }
  return TRUE;
}

struct SMonitors {
  std::vector<RECT> areas;
  RECT primary{};
  bool havePrimary = false;
  bool oneFormat = true;
  bool failed = false;
  int bitsPerPixel = -1;
};

// The colour depth of one monitor; -1 when its device cannot be opened.
int BitsPerPixelOf(const wchar_t* device) {
  HDC dc = CreateDCW(L"DISPLAY", device, nullptr, nullptr);
  if (dc == nullptr) return -1;
  const int bits = GetDeviceCaps(dc, BITSPIXEL);
  DeleteDC(dc);
  return bits;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
  SMonitors& monitors = *reinterpret_cast<SMonitors*>(context);
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) {
    monitors.failed = true;
    return FALSE;
  }
  const int bits = BitsPerPixelOf(info.szDevice);
  if (bits < 0) {
    monitors.failed = true;
    return FALSE;
  }
  if (monitors.bitsPerPixel >= 0 && bits != monitors.bitsPerPixel) monitors.oneFormat = false;
  monitors.bitsPerPixel = bits;
  monitors.areas.push_back(info.rcMonitor);
  if (info.dwFlags & MONITORINFOF_PRIMARY) {
    monitors.primary = info.rcMonitor;
    monitors.havePrimary = true;
  }
  return TRUE;
}

SRect VirtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  return SRect{left, top, left + width, top + height};
}

}  // namespace

SNamedLockResult CWin32Process::CreateNamedLock(const std::u16string& name, bool initialOwner) {
  // An empty name would make an unnamed mutex; an inner U+0000 would cut the name short.
  if (name.empty() || name.find(u'\0') != std::u16string::npos) return {};
  SetLastError(ERROR_SUCCESS);
  HANDLE mutex = CreateMutexW(nullptr, initialOwner ? TRUE : FALSE, Wide(name));
  const DWORD error = GetLastError();
  if (mutex == nullptr) return {};
  SNamedLockResult result;
  result.alreadyExisted = error == ERROR_ALREADY_EXISTS;
  // The system ignores initial ownership for a mutex that already existed.
  const int levels = initialOwner && !result.alreadyExisted ? 1 : 0;
  result.lock = std::make_unique<CWin32NamedLock>(mutex, levels);
  return result;
}

int CWin32Process::CountWindowsTitled(const std::u16string& title) {
  if (title.empty()) return 0;
  SCensus census;
  census.title = &title;
  census.buffer.resize(title.size() + 2);
  // A walk cut short still counts the windows it saw.
  EnumWindows(CountIfTitled, reinterpret_cast<LPARAM>(&census));
  return census.count;
}

std::u16string CWin32Process::ExecutablePath() {
  if (!executablePath_.empty()) return executablePath_;
  // Long paths pass MAX_PATH; the system's limit for any path is 32767 characters.
  constexpr DWORD kLongestPath = 32768;
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) {
      return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
    }
    if (size >= kLongestPath) return {};
    buffer.resize(std::min<DWORD>(size * 2, kLongestPath));
  }
}

SRect CWin32Process::DesktopRect() {
  SMonitors monitors;
  if (!EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors)) ||
      monitors.failed || monitors.areas.empty() || !monitors.havePrimary) {
    return VirtualScreen();
  }
  RECT area = monitors.primary;
  if (monitors.oneFormat) {
    for (const RECT& each : monitors.areas) UnionRect(&area, &area, &each);
  }
  return SRect{area.left, area.top, area.right, area.bottom};
}
