// The Windows dialogs and move-range window against the running system. A dialog runs
// in the dialog manager's own loop, so each test does its work from OnOpened: it looks
// at the controls, sends or posts what a user would do, and the loop carries it out. A
// watchdog timer ends a dialog that would otherwise never end.
#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_area_window.h"
#include "platform/win32/win32_bitmap.h"
#include "platform/win32/win32_dialogs.h"

namespace {

using Events = std::vector<std::string>;

std::u16string WindowText(HWND hwnd) {
  wchar_t buffer[512] = {};
  GetWindowTextW(hwnd, buffer, 512);
  return reinterpret_cast<const char16_t*>(buffer);
}

std::u16string ClassOf(HWND hwnd) {
  wchar_t buffer[256] = {};
  GetClassNameW(hwnd, buffer, 256);
  return reinterpret_cast<const char16_t*>(buffer);
}

// A rectangle as "left,top WxH".
std::string Place(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) +
         "x" + std::to_string(rect.bottom - rect.top);
}
std::string Place(const SRect& rect) { return Place(RECT{rect.left, rect.top, rect.right, rect.bottom}); }

// A window's rectangle in its parent's client pixels.
std::string ClientPlace(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return Place(rect);
}

// Whatever dialog is open; the watchdog ends it.
IDialog* g_openDialog = nullptr;

class CLoggingDialogHandler : public IDialogHandler {
 public:
  explicit CLoggingDialogHandler(Events& log) : log_(log) {}
  void OnOpened(IDialog& opened) override {
    dialog = &opened;
    g_openDialog = &opened;
    log_.push_back("opened");
    if (onOpened) onOpened(DialogWindow());
  }
  void OnLinkClicked(IDialog&, int controlId) override { log_.push_back("link " + std::to_string(controlId)); }
  void OnEnded(IDialog&, int result) override {
    g_openDialog = nullptr;
    log_.push_back("ended " + std::to_string(result));
  }
  IDialog* dialog = nullptr;
  std::function<void(HWND)> onOpened;  // gets the dialog's window

 private:
  // The dialog's window: the one dialog box of this thread.
  static HWND DialogWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) {
          if (ClassOf(hwnd) != u"#32770") return TRUE;
          *reinterpret_cast<HWND*>(out) = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }
  Events& log_;
};

const uint32_t kPicturePixels[] = {0xFF112233, 0x80402010, 0x00000000, 0xFFFFFFFF, 0xFF000000, 0xFF00FF00};

SDialogControl Control(int id, EDialogControl kind, SRect bounds, std::u16string text) {
  SDialogControl control;
  control.id = id;
  control.kind = kind;
  control.bounds = bounds;
  control.text = std::move(text);
  return control;
}

SDialogModel AboutDialog() {
  SDialogModel dialog;
  dialog.resourceId = 103;
  dialog.title = u"Zelvotta について";
  dialog.fontFace = u"MS UI Gothic";
  dialog.fontPoints = 9;
  dialog.bounds = {200, 100, 200 + 315, 100 + 360};
  dialog.controls.push_back(Control(1001, EDialogControl::Static, {10, 50, 300, 62}, u"Rock & roll"));
  SDialogControl link = Control(1017, EDialogControl::Link, {75, 87, 305, 99},
                                u"<a href=\"https://example.org\">https://example.org</a>");
  link.url = u"https://example.org";
  dialog.controls.push_back(link);
  SDialogControl list = Control(1025, EDialogControl::List, {10, 160, 304, 316}, u"ライセンス");
  list.columnWidth = 650;
  list.rows = {u"MIT License", u"", u"Permission is hereby granted"};
  dialog.controls.push_back(list);
  SDialogControl picture = Control(1038, EDialogControl::Picture, {92, 5, 92 + 185, 5 + 40}, u"");
  picture.image = {kPicturePixels, 3, 2};
  dialog.controls.push_back(picture);
  dialog.controls.push_back(Control(1, EDialogControl::Button, {120, 327, 195, 348}, u"OK"));
  dialog.controls.push_back(Control(7, EDialogControl::Button, {200, 327, 275, 348}, u"Other"));
  return dialog;
}

// The program's manifest asks for version 6 of the common controls, which has the
// SysLink control; the test asks for it through an activation context of its own.
class CCommonControlsSix : public ::testing::Environment {
 public:
  void SetUp() override {
    static const char kManifest[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"><dependency>"
        "<dependentAssembly><assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" "
        "version=\"6.0.0.0\" processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"
        "</dependentAssembly></dependency></assembly>\n";
    wchar_t folder[MAX_PATH] = {};
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    if (GetTempFileNameW(folder, L"zvm", 0, path) == 0) return;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, kManifest, sizeof(kManifest) - 1, &written, nullptr);
    CloseHandle(file);
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.lpSource = path;
    // Active for the rest of the run.
    HANDLE context = CreateActCtxW(&request);
    DeleteFileW(path);
    ULONG_PTR cookie = 0;
    if (context != INVALID_HANDLE_VALUE) ActivateActCtx(context, &cookie);
  }
};

[[maybe_unused]] ::testing::Environment* const kCommonControls =
    ::testing::AddGlobalTestEnvironment(new CCommonControlsSix);

void CALLBACK EndOpenDialog(HWND, UINT, UINT_PTR, DWORD) {
  if (g_openDialog != nullptr) g_openDialog->End(99);
}

class Win32DialogsTest : public ::testing::Test {
 protected:
  Win32DialogsTest() : watchdog_(SetTimer(nullptr, 0, 5000, &EndOpenDialog)) {}
  ~Win32DialogsTest() override {
    KillTimer(nullptr, watchdog_);
    g_openDialog = nullptr;
  }
  Events log;

 private:
  UINT_PTR watchdog_;
};

TEST_F(Win32DialogsTest, ADialogShowsItsControlsAtTheirPixelsAndEndsWithItsButton) {
  CWin32Dialogs dialogs;
  CLoggingDialogHandler handler(log);
  handler.onOpened = [&](HWND dialog) {
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(WindowText(dialog), u"Zelvotta について");
    RECT client;
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(Place(client), "200,100 315x360");
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(font.lfFaceName)), u"MS UI Gothic");

    HWND text = GetDlgItem(dialog, 1001);
    EXPECT_EQ(WindowText(text), u"Rock & roll");
    EXPECT_EQ(ClientPlace(text), "10,50 290x12");
    EXPECT_EQ(SendMessageW(text, WM_GETFONT, 0, 0), SendMessageW(dialog, WM_GETFONT, 0, 0));

    HWND link = GetDlgItem(dialog, 1017);
    EXPECT_EQ(ClassOf(link), u"SysLink");
    EXPECT_EQ(ClientPlace(link), "75,87 230x12");

    HWND list = GetDlgItem(dialog, 1025);
    EXPECT_EQ(ClassOf(list), u"SysListView32");
    EXPECT_EQ(ListView_GetItemCount(list), 3);
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 650);
    wchar_t cell[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = cell;
    column.cchTextMax = 64;
    ListView_GetColumn(list, 0, &column);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(cell)), u"ライセンス");
    ListView_GetItemText(list, 2, 0, cell, 64);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(cell)), u"Permission is hereby granted");

    // The picture takes its image's size, laid over the dialog's face colour.
    HWND picture = GetDlgItem(dialog, 1038);
    EXPECT_EQ(ClientPlace(picture), "92,5 3x2");
    auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(bitmap, nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    uint32_t pixels[6] = {};
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, bitmap, 0, 2, pixels, &info, DIB_RGB_COLORS), 2);
    ReleaseDC(nullptr, screen);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0x112233u);
    EXPECT_EQ(pixels[2] & 0xFFFFFF, CompositeOver(0, face) & 0xFFFFFF);
    EXPECT_EQ(pixels[5] & 0xFFFFFF, 0x00FF00u);

    HWND ok = GetDlgItem(dialog, 1);
    HWND other = GetDlgItem(dialog, 7);
    EXPECT_EQ(WindowText(ok), u"OK");
    EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), 1);
    EXPECT_EQ(GetFocus(), ok);
    // Tab goes through the tab stops in the model's order and wraps.
    EXPECT_EQ(GetNextDlgTabItem(dialog, link, FALSE), list);
    EXPECT_EQ(GetNextDlgTabItem(dialog, list, FALSE), ok);
    EXPECT_EQ(GetNextDlgTabItem(dialog, ok, FALSE), other);
    EXPECT_EQ(GetNextDlgTabItem(dialog, other, FALSE), link);

    NMLINK click{};
    click.hdr = {link, 1017, static_cast<UINT>(NM_CLICK)};
    SendMessageW(dialog, WM_NOTIFY, 1017, reinterpret_cast<LPARAM>(&click));
    click.hdr.code = static_cast<UINT>(NM_RETURN);
    SendMessageW(dialog, WM_NOTIFY, 1017, reinterpret_cast<LPARAM>(&click));
    // The list's clicks are no link's, whatever id they claim.
    NMHDR fromList = {list, 1017, static_cast<UINT>(NM_CLICK)};
    SendMessageW(dialog, WM_NOTIFY, 1017, reinterpret_cast<LPARAM>(&fromList));
    handler.dialog->BringToFront();
    EXPECT_EQ(GetForegroundWindow(), dialog);
    PostMessageW(other, BM_CLICK, 0, 0);
  };
  dialogs.RunModal(AboutDialog(), nullptr, handler);
  EXPECT_EQ(log, (Events{"opened", "link 1017", "link 1017", "ended 7"}));

  // An ended dialog ignores what the core still asks of it.
  ASSERT_NE(handler.dialog, nullptr);
  handler.dialog->End(1);
  handler.dialog->BringToFront();
  EXPECT_EQ(log.size(), 4u);
}

TEST_F(Win32DialogsTest, EnterEscapeTheCloseBoxAndEndEachEndTheDialogOnce) {
  CWin32Dialogs dialogs;
  const std::vector<std::function<void(HWND, IDialog&)>> endings = {
      [](HWND dialog, IDialog&) { PostMessageW(GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, VK_RETURN, 0); },
      [](HWND dialog, IDialog&) { PostMessageW(GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, VK_ESCAPE, 0); },
      [](HWND dialog, IDialog&) { PostMessageW(dialog, WM_CLOSE, 0, 0); },
      [](HWND, IDialog& dialog) {
        dialog.End(5);
        dialog.End(6);
      },
  };
  for (const auto& end : endings) {
    CLoggingDialogHandler handler(log);
    handler.onOpened = [&](HWND dialog) { end(dialog, *handler.dialog); };
    dialogs.RunModal(AboutDialog(), nullptr, handler);
  }
  EXPECT_EQ(log, (Events{"opened", "ended 1", "opened", "ended 2", "opened", "ended 2", "opened", "ended 5"}));
}

HWND g_ownerToDestroy = nullptr;
void CALLBACK DestroyOwner(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  DestroyWindow(g_ownerToDestroy);
}

TEST_F(Win32DialogsTest, TheOwnerIsDisabledWhileOpenAndItsGoingEndsTheDialogWithZero) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  CWin32Dialogs dialogs;
  CLoggingDialogHandler handler(log);
  handler.onOpened = [&](HWND dialog) {
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    EXPECT_FALSE(IsWindowEnabled(owner));
    g_ownerToDestroy = owner;
    SetTimer(nullptr, 0, 10, &DestroyOwner);
  };
  dialogs.RunModal(AboutDialog(), owner, handler);
  EXPECT_FALSE(IsWindow(owner));
  EXPECT_EQ(log, (Events{"opened", "ended 0"}));
  handler.dialog->End(1);
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(Win32DialogsTest, TheLoopsQuitEndsTheDialogWithZeroAndStaysQueued) {
  CWin32Dialogs dialogs;
  CLoggingDialogHandler handler(log);
  handler.onOpened = [](HWND) { PostQuitMessage(3); };
  dialogs.RunModal(AboutDialog(), nullptr, handler);
  EXPECT_EQ(log, (Events{"opened", "ended 0"}));
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
}

TEST_F(Win32DialogsTest, DialogsGoingAwayEndTheirOpenDialogWithoutAWord) {
  auto dialogs = std::make_unique<CWin32Dialogs>();
  CLoggingDialogHandler handler(log);
  // The dialog box still returns into its dialog, which is left to outlive the platform.
  handler.onOpened = [&](HWND) { dialogs.reset(); };
  dialogs->RunModal(AboutDialog(), nullptr, handler);
  EXPECT_EQ(log, (Events{"opened"}));
  handler.dialog->End(1);
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(Win32DialogsTest, WithoutSysLinkALinkIsClickableTextWithoutTheMarkup) {
  CWin32Dialogs dialogs(ELinkControl::StaticText);
  CLoggingDialogHandler handler(log);
  handler.onOpened = [&](HWND dialog) {
    HWND link = GetDlgItem(dialog, 1017);
    EXPECT_EQ(ClassOf(link), u"Static");
    EXPECT_EQ(WindowText(link), u"https://example.org");
    EXPECT_NE(GetWindowLongW(link, GWL_STYLE) & SS_NOTIFY, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(1017, STN_CLICKED), reinterpret_cast<LPARAM>(link));
    // A plain label's click is nothing.
    HWND text = GetDlgItem(dialog, 1001);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(1001, STN_CLICKED), reinterpret_cast<LPARAM>(text));
    handler.dialog->End(1);
  };
  dialogs.RunModal(AboutDialog(), nullptr, handler);
  EXPECT_EQ(log, (Events{"opened", "link 1017", "ended 1"}));
}

TEST(Win32DialogText, LinkMarkupLosesOnlyItsAnchorTags) {
  EXPECT_EQ(LinkMarkupPlainText(u"<a href=\"https://example.org\">https://example.org</a>"), u"https://example.org");
  EXPECT_EQ(LinkMarkupPlainText(u"see <A HREF=\"x>y\">here</A> & <b>now</b>"), u"see here & <b>now</b>");
  EXPECT_EQ(LinkMarkupPlainText(u"<abbr>1 < 2</abbr> <a href=\"open"), u"<abbr>1 < 2</abbr> <a href=\"open");
  EXPECT_EQ(LinkMarkupPlainText(u""), u"");
}

TEST(Win32DialogText, OnlyWebAddressesGoToTheShell) {
  EXPECT_TRUE(IsWebAddress(u"https://example.org"));
  EXPECT_TRUE(IsWebAddress(u"HTTP://example.org/a?b#c"));
  EXPECT_FALSE(IsWebAddress(u"http://"));
  EXPECT_FALSE(IsWebAddress(u"http:///etc/passwd"));
  EXPECT_FALSE(IsWebAddress(u"file:///C:/Windows/notepad.exe"));
  EXPECT_FALSE(IsWebAddress(u"C:\\Windows\\notepad.exe"));
  EXPECT_FALSE(IsWebAddress(u"https://example.org\n/x"));
  CWin32Dialogs dialogs;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(dialogs.OpenUrl(u"calc.exe"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "zelvotta: not opening 'calc.exe'\n");
}

TEST(Win32Bitmap, PremultipliedPixelsAreLaidOverTheBackground) {
  const COLORREF grey = RGB(0x80, 0x90, 0xA0);
  EXPECT_EQ(CompositeOver(0xFF112233, grey), 0xFF112233u);
  EXPECT_EQ(CompositeOver(0x00000000, grey), 0xFF8090A0u);
  // Half covered: the pixel's own (premultiplied) colour plus half the background.
  EXPECT_EQ(CompositeOver(0x80400000, grey), 0xFF804850u);
  // A malformed pixel (colour above its alpha) saturates instead of wrapping.
  EXPECT_EQ(CompositeOver(0x10FFFFFF, grey), 0xFFFFFFFFu);
  EXPECT_EQ(CreateOpaqueBitmap(nullptr, 3, 2, grey), nullptr);
  EXPECT_EQ(CreateOpaqueBitmap(kPicturePixels, 0, 2, grey), nullptr);
  EXPECT_EQ(CreateOpaqueBitmap(kPicturePixels, 3, -2, grey), nullptr);
}

// The move-range window: keeps a moved window's left edge at 80 or more, makes every
// size 400 wide, and logs.
class CLoggingAreaHandler : public IAreaWindowHandler {
 public:
  explicit CLoggingAreaHandler(Events& log) : log_(log) {}
  SRect OnMoving(const SRect& proposed) override {
    log_.push_back("moving " + Place(proposed));
    SRect kept = proposed;
    if (kept.left < 80) {
      kept.right += 80 - kept.left;
      kept.left = 80;
    }
    if (onMoving) onMoving(kept);
    return kept;
  }
  SRect OnSizing(const SRect& proposed) override {
    log_.push_back("sizing " + Place(proposed));
    return {proposed.left, proposed.top, proposed.left + 400, proposed.bottom};
  }
  void OnButton(int buttonId) override { log_.push_back("button " + std::to_string(buttonId)); }
  std::function<void(const SRect&)> onMoving;

 private:
  Events& log_;
};

SAreaView AreaView(const SRect& rect, int buttons = 4) {
  SAreaView view;
  view.title = u"移動範囲設定";
  view.rect = rect;
  view.opacity = 230;
  view.lines.push_back({u"X座標 : 100  Y座標 : 50", 200, 40});
  const char16_t* texts[] = {u"決定", u"キャンセル", u"最大領域", u"最小領域"};
  for (int i = 0; i < buttons; ++i) view.buttons.push_back({10 + i, texts[i], {20 + i * 90, 200, 100 + i * 90, 230}});
  return view;
}

std::vector<HWND> VisibleButtons(HWND window) {
  std::vector<HWND> buttons;
  for (HWND child = FindWindowExW(window, nullptr, L"BUTTON", nullptr); child != nullptr;
       child = FindWindowExW(window, child, L"BUTTON", nullptr)) {
    if (IsWindowVisible(child)) buttons.push_back(child);
  }
  return buttons;
}

class Win32AreaWindowTest : public ::testing::Test {
 protected:
  Win32AreaWindowTest()
      : owner(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)),
        handler(log),
        area(CreateWin32AreaWindow(owner, handler)) {}
  ~Win32AreaWindowTest() override {
    area.reset();
    if (IsWindow(owner)) DestroyWindow(owner);
  }
  Events log;
  HWND owner;
  CLoggingAreaHandler handler;
  std::unique_ptr<CWin32AreaWindow> area;
};

TEST_F(Win32AreaWindowTest, ItIsAHiddenTranslucentPopupOwnedByTheMainWindow) {
  ASSERT_NE(area, nullptr);
  HWND window = area->Window();
  EXPECT_EQ(ClassOf(window), u"DesktopRectClass");
  EXPECT_EQ(WindowText(window), u"移動範囲設定");
  EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
  EXPECT_FALSE(IsWindowVisible(window));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_THICKFRAME | WS_CAPTION), WS_POPUP | WS_THICKFRAME);
  EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 230);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  // Without the program's icon resource, the system's.
  EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0u);
  // Only its buttons close it, so the core's idea of it stays true.
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(Win32AreaWindowTest, ShowPlacesItTopmostWithItsButtonsAndCentredText) {
  ASSERT_NE(area, nullptr);
  HWND window = area->Window();
  area->Show(AreaView({100, 50, 500, 450}));
  EXPECT_TRUE(IsWindowVisible(window));
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(Place(rect), "100,50 400x400");
  EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  std::vector<HWND> buttons = VisibleButtons(window);
  ASSERT_EQ(buttons.size(), 4u);
  EXPECT_EQ(WindowText(buttons[1]), u"キャンセル");
  EXPECT_EQ(ClientPlace(buttons[1]), "110,200 80x30");

  // The text line is drawn around its centre, between its top and the buttons.
  RECT client;
  GetClientRect(window, &client);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP surface = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(surface, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, surface);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  GdiFlush();
  RECT ink{client.right, client.bottom, -1, -1};
  const auto* pixels = static_cast<const uint32_t*>(bits);
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < client.right; ++x) {
      if ((pixels[y * client.right + x] & 0xFFFFFF) == 0xFFFFFF) continue;
      ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x), y};
    }
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(surface);
  ASSERT_GE(ink.right, 0);
  EXPECT_GE(ink.top, 40);
  EXPECT_NEAR((ink.left + ink.right) / 2, 200, 4);

  // Fewer buttons hide the rest; the same ones come back.
  area->Show(AreaView({100, 50, 500, 450}, 3));
  EXPECT_EQ(VisibleButtons(window).size(), 3u);
  area->Show(AreaView({100, 50, 500, 450}));
  EXPECT_EQ(VisibleButtons(window), buttons);
  area->Hide();
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(Win32AreaWindowTest, DragsAndButtonsGoThroughTheHandler) {
  ASSERT_NE(area, nullptr);
  HWND window = area->Window();
  area->Show(AreaView({100, 50, 500, 450}));
  // The background drags the window, its border sizes it.
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(300, 120)), HTCAPTION);
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(100, 250)), HTLEFT);

  // A view shown from inside the handler does not fight the loop over the place.
  handler.onMoving = [&](const SRect& kept) { area->Show(AreaView(kept)); };
  RECT proposed{40, 60, 440, 460};
  EXPECT_EQ(SendMessageW(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&proposed)), TRUE);
  EXPECT_EQ(Place(proposed), "80,60 400x400");
  RECT now;
  GetWindowRect(window, &now);
  EXPECT_EQ(Place(now), "100,50 400x400");
  proposed = {100, 50, 700, 450};
  EXPECT_EQ(SendMessageW(window, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&proposed)), TRUE);
  EXPECT_EQ(Place(proposed), "100,50 400x400");

  const std::vector<HWND> buttons = VisibleButtons(window);
  ASSERT_EQ(buttons.size(), 4u);
  SendMessageW(buttons[2], BM_CLICK, 0, 0);
  EXPECT_EQ(log, (Events{"moving 40,60 400x400", "sizing 100,50 600x400", "button 12"}));
}

TEST_F(Win32AreaWindowTest, ADestroyedWindowIsInert) {
  ASSERT_NE(area, nullptr);
  HWND window = area->Window();
  area->Show(AreaView({100, 50, 500, 450}));
  area->Destroy();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(area->Window(), nullptr);
  area->Show(AreaView({100, 50, 500, 450}));
  area->Hide();
  area->Destroy();

  // The owner's going takes the window with it.
  std::unique_ptr<CWin32AreaWindow> second = CreateWin32AreaWindow(owner, handler);
  ASSERT_NE(second, nullptr);
  DestroyWindow(owner);
  EXPECT_EQ(second->Window(), nullptr);
  second->Show(AreaView({100, 50, 500, 450}));
  EXPECT_TRUE(log.empty());
}

}  // namespace
