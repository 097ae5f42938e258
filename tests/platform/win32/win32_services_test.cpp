// The Windows services against the running system: the named lock across threads, the
// window census, the process and system figures, the clock, and glyphs from GDI.
#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_text.h"

namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// A name no other run of the tests uses at the same time.
std::u16string UniqueName(std::u16string prefix) {
  const std::wstring suffix =
      std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
  for (wchar_t c : suffix) prefix += static_cast<char16_t>(c);
  return prefix;
}

// Whether another thread can take the mutex `name` at once (it gives it back).
bool FreeForOthers(const std::u16string& name) {
  bool free = false;
  std::thread probe([&] {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, Wide(name));
    if (mutex == nullptr) return;
    const DWORD result = WaitForSingleObject(mutex, 0);
    free = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    if (free) ReleaseMutex(mutex);
    CloseHandle(mutex);
  });
  probe.join();
  return free;
}

TEST(Win32NamedLock, SecondCreationSeesTheFirstAndWaitsNest) {
  CWin32Process process;
  const std::u16string name = UniqueName(u"zv-test-lock-");
  SNamedLockResult first = process.CreateNamedLock(name, true);
  ASSERT_NE(first.lock, nullptr);
  EXPECT_FALSE(first.alreadyExisted);
  SNamedLockResult second = process.CreateNamedLock(name, true);
  ASSERT_NE(second.lock, nullptr);
  EXPECT_TRUE(second.alreadyExisted);

  first.lock->Wait();
  first.lock->Release();
  EXPECT_FALSE(FreeForOthers(name));
  first.lock->Release();
  // The second creation asked for ownership too late: nothing holds the mutex now.
  EXPECT_TRUE(FreeForOthers(name));
  first.lock->Release();
  second.lock->Wait();
  EXPECT_FALSE(FreeForOthers(name));
}

TEST(Win32NamedLock, DestroyingTheLockGivesUpWhatItHeld) {
  CWin32Process process;
  const std::u16string name = UniqueName(u"zv-test-drop-");
  SNamedLockResult result = process.CreateNamedLock(name, true);
  ASSERT_NE(result.lock, nullptr);
  result.lock->Wait();
  // A second handle keeps the name open for the probe.
  SNamedLockResult keeper = process.CreateNamedLock(name, false);
  result.lock.reset();
  EXPECT_TRUE(FreeForOthers(name));
  EXPECT_EQ(process.CreateNamedLock(u"", true).lock, nullptr);
  EXPECT_EQ(process.CreateNamedLock(std::u16string(u"zv\0cut", 6), true).lock, nullptr);
}

TEST(Win32Process, CountsAHiddenWindowByItsExactTitle) {
  const std::u16string className = UniqueName(u"zv-test-class-");
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = Wide(className);
  ASSERT_NE(RegisterClassW(&windowClass), 0);
  const std::u16string title = UniqueName(u"zv-census-\u7A93-");
  HWND window = CreateWindowExW(0, Wide(className), Wide(title), WS_OVERLAPPED, 0, 0, 50, 50,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  ASSERT_FALSE(IsWindowVisible(window));

  CWin32Process process;
  EXPECT_EQ(process.CountWindowsTitled(title), 1);
  EXPECT_EQ(process.CountWindowsTitled(title.substr(0, title.size() - 1)), 0);
  EXPECT_EQ(process.CountWindowsTitled(title + u"x"), 0);
  std::u16string upper = title;
  CharUpperBuffW(reinterpret_cast<wchar_t*>(upper.data()), static_cast<DWORD>(upper.size()));
  EXPECT_EQ(process.CountWindowsTitled(upper), 0);
  DestroyWindow(window);
  EXPECT_EQ(process.CountWindowsTitled(title), 0);
  UnregisterClassW(Wide(className), windowClass.hInstance);
}

TEST(Win32Process, NamesTheProgramAndADesktopHoldingThePrimaryScreen) {
  CWin32Process process;
  const std::u16string path = process.ExecutablePath();
  ASSERT_GT(path.size(), 4u);
  EXPECT_EQ(_wcsicmp(Wide(path.substr(path.size() - 4)), L".exe"), 0);

  // The primary monitor starts at the origin, whatever the arrangement of the others.
  const SRect desktop = process.DesktopRect();
  EXPECT_LE(desktop.left, 0);
  EXPECT_LE(desktop.top, 0);
  EXPECT_GE(desktop.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(desktop.bottom, GetSystemMetrics(SM_CYSCREEN));
}

TEST(Win32SystemInfo, ReportsPlausibleFigures) {
  CWin32SystemInfo info;
  const SLocalTime time = info.LocalTime();
  EXPECT_GE(time.year, 2024);
  EXPECT_TRUE(time.month >= 1 && time.month <= 12 && time.day >= 1 && time.day <= 31);
  EXPECT_TRUE(time.dayOfWeek <= 6 && time.hour <= 23 && time.minute <= 59 && time.second <= 59);

  const std::optional<SMemoryStatus> memory = info.MemoryStatus();
  ASSERT_TRUE(memory.has_value());
  EXPECT_GT(memory->totalPhysical, 0u);
  EXPECT_GE(memory->totalPhysical, memory->availablePhysical);
  EXPECT_GE(memory->totalPageFile, memory->availablePageFile);
  EXPECT_GE(memory->totalVirtual, memory->availableVirtual);
  EXPECT_LE(memory->loadPercent, 100u);

  const int cores = info.CoreCount();
  EXPECT_GT(cores, 0);
  EXPECT_LE(cores, static_cast<int>(GetActiveProcessorCount(ALL_PROCESSOR_GROUPS)));
  // The system keeps the processor's vendor string too.
  const std::string vendor = info.CpuVendor();
  wchar_t registered[32] = {};
  DWORD size = sizeof registered;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                   L"VendorIdentifier", RRF_RT_REG_SZ, nullptr, registered, &size) == ERROR_SUCCESS) {
    EXPECT_EQ(std::wstring(vendor.begin(), vendor.end()), registered);
  }
}

TEST(Win32SystemInfo, SamplesCpuUsageOnceOpenedAndTimeRuns) {
  CWin32SystemInfo info;
  EXPECT_FALSE(info.SampleCpuUsage().has_value());
  CWin32Clock clock;
  clock.BeginTimerResolution(5);
  const uint32_t start = clock.Milliseconds();
  const uint64_t cycles = info.CycleCount();
  clock.Sleep(50);
  const uint32_t elapsed = clock.Milliseconds() - start;
  clock.EndTimerResolution(5);
  EXPECT_GE(elapsed, 40u);
  EXPECT_LT(elapsed, 5000u);
  if (cycles != 0) {
    EXPECT_GT(info.CycleCount(), cycles);
  }
  if (!info.OpenCpuUsage()) GTEST_SKIP() << "no performance counters on this system";
  clock.Sleep(200);
  const std::optional<int> usage = info.SampleCpuUsage();
  ASSERT_TRUE(usage.has_value());
  EXPECT_TRUE(*usage >= 0 && *usage <= 100) << *usage;
}

// The glyph's bits as IFont lays them out: size, levels and some ink.
void ExpectInkedGlyph(IFont& font, char32_t code, int format) {
  SGlyphOutline outline;
  std::vector<uint8_t> bits;
  ASSERT_TRUE(font.Glyph(code, format, outline, bits));
  EXPECT_GT(outline.advanceX, 0);
  ASSERT_TRUE(outline.blackBoxWidth > 0 && outline.blackBoxHeight > 0);
  EXPECT_GT(outline.originY, 0);
  const size_t pitch = static_cast<size_t>(GlyphPitch(format, outline.blackBoxWidth));
  ASSERT_EQ(bits.size(), pitch * static_cast<size_t>(outline.blackBoxHeight));
  const uint8_t highest = *std::max_element(bits.begin(), bits.end());
  EXPECT_GT(highest, 0);
  if (format != GLYPH_FORMAT_MONO) {
    EXPECT_LE(highest, GlyphLevels(format));
  }
}

std::unique_ptr<IFont> MakeSixteenPixelFont(IText& text, std::u16string face = {}) {
  SFontDescription description;
  description.face = std::move(face);  // set directly: no cut to the system's length
  description.height = -16;
  return text.MakeFont(description);
}

// An installed Japanese face that has the characters of JIS X 0213, U+20B9F among them;
// empty when there is none.
std::u16string JapaneseFace() {
  for (const std::u16string face : {u"IPAGothic", u"MS Gothic", u"Yu Gothic"}) {
    HFONT font = CreateFontW(-16, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, Wide(face));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    wchar_t chosen[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, chosen);
    WORD glyph = 0xFFFF;
    GetGlyphIndicesW(dc, L"\u3042", 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    if (face == reinterpret_cast<const char16_t*>(chosen) && glyph != 0xFFFF) return face;
  }
  return {};
}

TEST(Win32Text, GlyphsInEveryFormatBlankOnesAndOtherThreads) {
  CWin32Text text;
  EXPECT_GT(text.PixelsPerInchY(), 0);
  std::unique_ptr<IFont> font = MakeSixteenPixelFont(text);
  ASSERT_NE(font, nullptr);
  const SFontMetrics metrics = font->Metrics();
  EXPECT_GE(metrics.height, 16);
  EXPECT_TRUE(metrics.ascent > 0 && metrics.ascent < metrics.height);
  for (const int format : {GLYPH_FORMAT_MONO, GLYPH_FORMAT_GRAY2, GLYPH_FORMAT_GRAY4,
                           GLYPH_FORMAT_GRAY8}) {
    SCOPED_TRACE(format);
    ExpectInkedGlyph(*font, U'A', format);
    SGlyphOutline blank;
    std::vector<uint8_t> bits;
    ASSERT_TRUE(font->Glyph(U' ', format, blank, bits));
    EXPECT_TRUE(blank.blackBoxWidth == 0 && blank.blackBoxHeight == 0);
    EXPECT_GT(blank.advanceX, 0);
  }
  // A face name past the system's 31 characters is cut, not overrun.
  std::unique_ptr<IFont> longName = MakeSixteenPixelFont(text, std::u16string(40, u'Z'));
  ASSERT_NE(longName, nullptr);
  std::thread other([&] { ExpectInkedGlyph(*longName, U'A', GLYPH_FORMAT_GRAY8); });
  other.join();
}

TEST(Win32Text, JapaneseGlyphsInsideAndPastTheBasicPlane) {
  const std::u16string face = JapaneseFace();
  if (face.empty()) GTEST_SKIP() << "no Japanese face installed";
  CWin32Text text;
  std::unique_ptr<IFont> font = MakeSixteenPixelFont(text, face);
  ASSERT_NE(font, nullptr);
  for (const int format : {GLYPH_FORMAT_MONO, GLYPH_FORMAT_GRAY8}) {
    SCOPED_TRACE(format);
    ExpectInkedGlyph(*font, U'\u3042', format);
    ExpectInkedGlyph(*font, U'\U00020B9F', format);
  }
  // The face's own glyph, not the missing-glyph shape a code it lacks gives.
  SGlyphOutline outline;
  std::vector<uint8_t> present;
  std::vector<uint8_t> missing;
  ASSERT_TRUE(font->Glyph(U'\U00020B9F', GLYPH_FORMAT_GRAY8, outline, present));
  ASSERT_TRUE(font->Glyph(U'\U0010FFFD', GLYPH_FORMAT_GRAY8, outline, missing));
  EXPECT_GT(outline.advanceX, 0);
  EXPECT_NE(present, missing);
}

// A character map whose one full-Unicode subtable (format 12) maps U+1F600..U+1F64F from
// glyph 7 and U+20000..U+2000F from glyph 100; fields are big-endian.
std::vector<uint8_t> CharacterMap() {
  return {0, 0, 0, 1, 0, 3, 0, 10, 0, 0, 0, 12,          // one subtable, Windows UCS-4, at 12
          0, 12, 0, 0, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 2,  // format, length, groups
          0, 1, 0xF6, 0, 0, 1, 0xF6, 0x4F, 0, 0, 0, 7,
          0, 2, 0, 0, 0, 2, 0, 0x0F, 0, 0, 0, 100};
}

TEST(Win32CharacterMap, FindsGlyphsPastTheBasicPlaneAndSurvivesBadTables) {
  std::vector<uint8_t> map = CharacterMap();
  EXPECT_EQ(CmapGlyphIndex(map, 0x1F600), 7);
  EXPECT_EQ(CmapGlyphIndex(map, 0x1F64F), 7 + 0x4F);
  EXPECT_EQ(CmapGlyphIndex(map, 0x20005), 105);
  EXPECT_EQ(CmapGlyphIndex(map, 0x1F650), 0);
  EXPECT_EQ(CmapGlyphIndex(map, 0x30000), 0);
  map[13] = 13;  // many-to-one: every code of a group takes its first glyph
  EXPECT_EQ(CmapGlyphIndex(map, 0x20005), 100);
  map[13] = 12;
  map[49] = 1;  // glyph numbers past 16 bits cannot be drawn
  EXPECT_EQ(CmapGlyphIndex(map, 0x20005), 0);

  EXPECT_EQ(CmapGlyphIndex({}, 0x20000), 0);
  map = CharacterMap();
  map[27] = 0xFF;  // claims 255 groups: only those present are read
  EXPECT_EQ(CmapGlyphIndex(map, 0x20001), 101);
  EXPECT_EQ(CmapGlyphIndex(map, 0x7FFFFFFF), 0);
  const std::vector<uint8_t> cut(map.begin(), map.end() - 5);
  EXPECT_EQ(CmapGlyphIndex(cut, 0x20001), 0);
  map[8] = 0x7F;  // the subtable lies past the end
  EXPECT_EQ(CmapGlyphIndex(map, 0x20001), 0);
  EXPECT_EQ(CmapGlyphIndex(std::vector<uint8_t>{0, 0, 0xFF, 0xFF, 0, 3, 0, 10}, 0x20001), 0);
}

}  // namespace
