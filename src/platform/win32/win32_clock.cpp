#include "platform/win32/win32_clock.h"

#include "platform/win32/win32_system.h"
#include <mmsystem.h>

uint32_t CWin32Clock::Milliseconds() { return timeGetTime(); }

// The largest count is the system's "forever"; it stays a long but finite sleep here.
void CWin32Clock::Sleep(uint32_t ms) { ::Sleep(ms == INFINITE ? INFINITE - 1 : ms); }

void CWin32Clock::BeginTimerResolution(uint32_t ms) { timeBeginPeriod(ms); }

void CWin32Clock::EndTimerResolution(uint32_t ms) { timeEndPeriod(ms); }
