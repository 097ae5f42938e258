// A small Windows program the Windows desktop test runs beside Zelvotta under Wine:
//   zv_win32_probe box SECONDS
// waits for a message box of another program, prints "box CAPTION|TEXT" (UTF-8) and
// presses its OK button; exit code 1 when no box came within the time. The caption is
// printed rather than matched: command-line arguments reach a Windows program in the
// system's code page, which need not hold the caption's characters.
#include "platform/win32/win32_system.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct SSearch {
  HWND found = nullptr;
  std::wstring caption;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<SSearch*>(context);
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  // Message boxes are dialogs of the system's dialog class.
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (IsWindowVisible(window) && std::wstring(className) == L"#32770" && process != GetCurrentProcessId()) {
    search.found = window;
    search.caption = title;
    return FALSE;
  }
  return TRUE;
}

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 || std::wstring(argv[1]) != L"box") {
    std::fputs("usage: zv_win32_probe box SECONDS\n", stderr);
    return 2;
  }
  SSearch search;
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) * 1000;
  while (search.found == nullptr && GetTickCount() < deadline) {
    EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) Sleep(200);
  }
  if (search.found == nullptr) {
    std::puts("no box");
    return 1;
  }
  // The message text is the static control with the id 0xFFFF.
  wchar_t text[1024] = {};
  GetDlgItemTextW(search.found, 0xFFFF, text, 1024);
  std::printf("box %s|%s\n", Utf8(search.caption).c_str(), Utf8(text).c_str());
  std::fflush(stdout);
  PostMessageW(search.found, WM_COMMAND, IDOK, 0);
  return 0;
}
