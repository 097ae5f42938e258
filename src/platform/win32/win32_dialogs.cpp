#include "platform/win32/win32_dialogs.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "platform/win32/win32_bitmap.h"
#include "platform/win32/win32_strings.h"
#include "support/utf.h"

namespace {

constexpr int kOkId = IDOK;
constexpr int kCancelId = IDCANCEL;
constexpr int kOwnerGoneResult = 0;
constexpr int kDefaultFontPoints = 9;
constexpr int kMaxFontPoints = 72;
constexpr wchar_t kFallbackFontFace[] = L"MS Shell Dlg";
constexpr wchar_t kStaticClass[] = L"STATIC";
constexpr wchar_t kButtonClass[] = L"BUTTON";

// A control's id as the dialog manager keeps it: 16 bits, so -1 is 0xFFFF (IDC_STATIC).
WORD ControlId(int id) { return static_cast<WORD>(id); }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[i]) != Lower(prefix[i])) return false;
  }
  return true;
}

// The tag starting at `open` ("<"), up to and including its ">", skipping quoted
// attribute values; npos when it does not close.
size_t TagEnd(std::u16string_view text, size_t open) {
  bool quoted = false;
  for (size_t i = open + 1; i < text.size(); ++i) {
    if (text[i] == u'"') {
      quoted = !quoted;
    } else if (text[i] == u'>' && !quoted) {
      return i;
    }
  }
  return std::u16string_view::npos;
}

// Whether `text` has an anchor tag at `at`: "<a" or "</a" followed by a blank or ">".
bool AnchorTagAt(std::u16string_view text, size_t at) {
  size_t name = at + 1;
  if (name < text.size() && text[name] == u'/') ++name;
  if (name + 1 >= text.size() || Lower(text[name]) != u'a') return false;
  const char16_t next = text[name + 1];
  return next == u'>' || next == u' ' || next == u'\t' || next == u'\r' || next == u'\n';
}

// The dialog's window without controls: the dialog manager makes the window and its
// font from it. Controls are made afterwards at exact pixels, which dialog units cannot
// express. The template is a sequence of 16-bit words; a vector's storage is aligned
// for any type, as the system wants.
class CDialogTemplate {
 public:
  explicit CDialogTemplate(const SDialogModel& model) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_SETFOREGROUND;
    Dword(style);
    Dword(0);  // extended style
    Word(0);   // no items: the controls are made in WM_INITDIALOG
    // x, y, cx and cy in dialog units; WM_INITDIALOG places the window exactly.
    for (WORD value : {0, 0, 100, 100}) Word(value);
    Word(0);  // no menu
    Word(0);  // the standard dialog class
    String(model.title);
    const int points = model.fontPoints > 0 ? std::min(model.fontPoints, kMaxFontPoints) : kDefaultFontPoints;
    Word(static_cast<WORD>(points));
    if (model.fontFace.empty()) {
      String(reinterpret_cast<const char16_t*>(kFallbackFontFace));
    } else {
      String(model.fontFace);
    }
  }

  LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()); }

 private:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  // A string ends at its first U+0000 in the template, as in any C string.
  void String(std::u16string_view text) {
    for (char16_t c : text) {
      if (c == 0) break;
      Word(c);
    }
    Word(0);
  }

  std::vector<WORD> words_;
};

}  // namespace

// One dialog of the core. While it runs, its window's DWLP_USER points here.
class CWin32Dialog final : public IDialog {
 public:
  CWin32Dialog(const SDialogModel& model, IDialogHandler& handler, ELinkControl links)
      : model_(model), handler_(&handler), links_(links) {}
  ~CWin32Dialog() override = default;
  CWin32Dialog(const CWin32Dialog&) = delete;
  CWin32Dialog& operator=(const CWin32Dialog&) = delete;

  // Runs the dialog box in the dialog manager's loop until it has ended.
  void Run(HWND owner) {
    running_ = true;
    const CDialogTemplate dialogTemplate(model_);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(), owner, &CWin32Dialog::Procedure,
                            reinterpret_cast<LPARAM>(this));
    running_ = false;
    // Whether or not the system made it, the dialog is over; what it showed can go.
    ended_ = true;
    model_ = SDialogModel{};
  }

  bool Running() const { return running_; }

  void BringToFront() override {
    if (ended_ || hwnd_ == nullptr) return;
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
  }

  void End(int result) override {
    if (ended_) return;
    ended_ = true;
    if (hwnd_ != nullptr) EndDialog(hwnd_, result);
    if (handler_ != nullptr) handler_->OnEnded(*this, result);
  }

  // Ends the dialog without telling the handler: the platform is going away.
  void Discard() {
    handler_ = nullptr;
    ended_ = true;
    if (hwnd_ != nullptr) EndDialog(hwnd_, kOwnerGoneResult);
  }

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
      return reinterpret_cast<CWin32Dialog*>(lParam)->Initialise(hwnd);
    }
    auto* dialog = reinterpret_cast<CWin32Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    return dialog->Handle(message, wParam, lParam);
  }

  INT_PTR Initialise(HWND hwnd) {
    hwnd_ = hwnd;
    PlaceClientAt(model_.bounds);
    CreateControls();
    ShowWindow(hwnd_, SW_SHOW);
    if (HWND focus = InitialFocus()) SetFocus(focus);
    if (handler_ != nullptr) handler_->OnOpened(*this);
    return FALSE;  // the focus is set
  }

  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
      case WM_NOTIFY:
        // Other notifications (the list's drawing, say) keep their default answers.
        return Notify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
      case WM_DESTROY:
        Destroyed();
        return TRUE;
      default:
        return FALSE;
    }
  }

  // The window goes the size the client area needs to cover `bounds` exactly, whatever
  // frame the system draws.
  void PlaceClientAt(const SRect& bounds) {
    RECT window{};
    RECT client{};
    POINT origin{0, 0};
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    ClientToScreen(hwnd_, &origin);
    const int frameLeft = origin.x - window.left;
    const int frameTop = origin.y - window.top;
    const int frameRight = window.right - (origin.x + client.right);
    const int frameBottom = window.bottom - (origin.y + client.bottom);
    SetWindowPos(hwnd_, nullptr, bounds.left - frameLeft, bounds.top - frameTop,
                 std::max(bounds.Width(), 0) + frameLeft + frameRight,
                 std::max(bounds.Height(), 0) + frameTop + frameBottom, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void CreateControls() {
    const auto font = static_cast<WPARAM>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    HWND previous = HWND_TOP;
    controls_.assign(model_.controls.size(), nullptr);
    for (size_t i = 0; i < model_.controls.size(); ++i) {
      HWND control = CreateControl(model_.controls[i]);
      if (control == nullptr) continue;
      controls_[i] = control;
      SendMessageW(control, WM_SETFONT, font, FALSE);
      // The dialog manager tabs through the controls in their z-order: the model's order.
      SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      previous = control;
    }
    for (const SDialogControl& control : model_.controls) {
      if (control.kind == EDialogControl::Button && control.id == kOkId) SendMessageW(hwnd_, DM_SETDEFID, kOkId, 0);
    }
  }

  HWND CreateControl(const SDialogControl& control) {
    switch (control.kind) {
      case EDialogControl::Static:
        return Child(kStaticClass, Wide(control.text), SS_LEFT | SS_NOPREFIX, control);
      case EDialogControl::Link:
        return Link(control);
      case EDialogControl::List:
        return List(control);
      case EDialogControl::Picture:
        return Picture(control);
      case EDialogControl::Button:
        return Child(kButtonClass, Wide(control.text),
                     WS_TABSTOP | (control.id == kOkId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), control);
    }
    return nullptr;
  }

  HWND Child(const wchar_t* className, const wchar_t* text, DWORD style, const SDialogControl& control,
             DWORD exStyle = 0) {
    const SRect& b = control.bounds;
    return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, b.left, b.top,
                           std::max(b.Width(), 0), std::max(b.Height(), 0), hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control.id))),
                           GetModuleHandleW(nullptr), nullptr);
  }

  // A SysLink control shows the markup and reports clicks as NM_CLICK; without one, the
  // link's text is a static control that reports clicks as STN_CLICKED.
  HWND Link(const SDialogControl& control) {
    if (links_ == ELinkControl::SysLinkWhenAvailable) {
      if (HWND link = Child(WC_LINK, Wide(control.text), WS_TABSTOP, control)) return link;
    }
    const std::u16string text = LinkMarkupPlainText(control.text);
    return Child(kStaticClass, Wide(text), SS_LEFT | SS_NOPREFIX | SS_NOTIFY, control);
  }

  HWND List(const SDialogControl& control) {
    HWND list = Child(WC_LISTVIEWW, L"",
                      WS_TABSTOP | WS_VSCROLL | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_SHOWSELALWAYS,
                      control, WS_EX_CLIENTEDGE);
    if (list == nullptr) return nullptr;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    std::u16string title = control.text;
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = control.columnWidth > 0 ? control.columnWidth : std::max(control.bounds.Width(), 0);
    column.pszText = reinterpret_cast<wchar_t*>(title.data());
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    int index = 0;
    for (const std::u16string& row : control.rows) {
      std::u16string text = row;
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = index++;
      item.pszText = reinterpret_cast<wchar_t*>(text.data());
      SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    return list;
  }

  // The picture control takes its image's size at its bounds' corner.
  HWND Picture(const SDialogControl& control) {
    HWND picture = Child(kStaticClass, nullptr, SS_BITMAP, control);
    if (picture == nullptr) return nullptr;
    const SDialogImage& image = control.image;
    HBITMAP bitmap = CreateOpaqueBitmap(image.pixels, image.width, image.height, GetSysColor(COLOR_3DFACE));
    if (bitmap == nullptr) {
      // An empty picture keeps its bounds, as the other controls do.
      SetWindowPos(picture, nullptr, control.bounds.left, control.bounds.top, std::max(control.bounds.Width(), 0),
                   std::max(control.bounds.Height(), 0), SWP_NOZORDER | SWP_NOACTIVATE);
      return picture;
    }
    bitmaps_.push_back(bitmap);
    pictures_.push_back(picture);
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    return picture;
  }

  // The control the keyboard starts on: the default button, else the first tab stop.
  HWND InitialFocus() const {
    if (HWND ok = ControlOfKind(kOkId, EDialogControl::Button)) return ok;
    return GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  }

  HWND ControlOfKind(int id, EDialogControl kind) const {
    for (size_t i = 0; i < controls_.size(); ++i) {
      const SDialogControl& control = model_.controls[i];
      if (controls_[i] != nullptr && control.id == id && control.kind == kind) return controls_[i];
    }
    return nullptr;
  }

  // The model's control whose window is `window`; null for anything else.
  const SDialogControl* ControlOf(HWND window) const {
    if (window == nullptr) return nullptr;
    for (size_t i = 0; i < controls_.size(); ++i) {
      if (controls_[i] == window) return &model_.controls[i];
    }
    return nullptr;
  }

  void Command(WORD id, WORD code, HWND from) {
    if (ended_) return;
    const SDialogControl* control = ControlOf(from);
    if (control != nullptr) {
      if (control->kind == EDialogControl::Button && code == BN_CLICKED) {
        End(control->id);
      } else if (control->kind == EDialogControl::Link && code == STN_CLICKED) {
        LinkClicked(control->id);
      }
      return;
    }
    // Enter, Escape and the close box: the dialog manager's OK and cancel.
    if (id == kOkId || id == kCancelId) End(id);
  }

  // Whether `header` was a link's click.
  bool Notify(const NMHDR& header) {
    if (ended_ || (header.code != NM_CLICK && header.code != NM_RETURN)) return false;
    const SDialogControl* control = ControlOf(header.hwndFrom);
    if (control == nullptr || control->kind != EDialogControl::Link || header.idFrom != ControlId(control->id)) {
      return false;
    }
    LinkClicked(control->id);
    return true;
  }

  void LinkClicked(int controlId) {
    if (!ended_ && handler_ != nullptr) handler_->OnLinkClicked(*this, controlId);
  }

  // The window goes: after End, or with its owner or the loop's quit without one.
  void Destroyed() {
    ReleasePictures();
    hwnd_ = nullptr;
    controls_.clear();
    if (ended_) return;
    ended_ = true;
    if (handler_ != nullptr) handler_->OnEnded(*this, kOwnerGoneResult);
  }

  // A static control may show a copy of the bitmap it was given (version 6 does, for
  // 32-bit bitmaps); neither is deleted with the control, so both go here.
  void ReleasePictures() {
    for (HWND picture : pictures_) {
      const auto shown = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, 0));
      if (shown != nullptr && std::find(bitmaps_.begin(), bitmaps_.end(), shown) == bitmaps_.end()) {
        DeleteObject(shown);
      }
    }
    for (HBITMAP bitmap : bitmaps_) DeleteObject(bitmap);
    pictures_.clear();
    bitmaps_.clear();
  }

  SDialogModel model_;         // a copy; emptied once the dialog is over
  IDialogHandler* handler_;    // null once discarded
  ELinkControl links_;
  HWND hwnd_ = nullptr;        // the window while it exists
  std::vector<HWND> controls_;  // the window of each model control, null where none was made
  std::vector<HBITMAP> bitmaps_;
  std::vector<HWND> pictures_;  // the picture controls showing them
  bool ended_ = false;
  bool running_ = false;
};

CWin32Dialogs::CWin32Dialogs(ELinkControl links) : links_(links) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_LINK_CLASS | ICC_LISTVIEW_CLASSES;
  // Without version 6 the link class is missing; links then show as static text.
  if (!InitCommonControlsEx(&controls)) {
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);
  }
}

CWin32Dialogs::~CWin32Dialogs() {
  for (std::unique_ptr<CWin32Dialog>& dialog : dialogs_) {
    if (!dialog->Running()) continue;
    // Its dialog box is still on the stack below us and returns into the object once
    // the loop ends, so the object is left to outlive this one.
    dialog->Discard();
    static_cast<void>(dialog.release());
  }
}

void CWin32Dialogs::RunModal(const SDialogModel& dialog, HWND owner, IDialogHandler& handler) {
  CWin32Dialog& made = *dialogs_.emplace_back(std::make_unique<CWin32Dialog>(dialog, handler, links_));
  made.Run(owner);
}

bool CWin32Dialogs::OpenUrl(const std::u16string& url) {
  if (!IsWebAddress(url)) {
    const std::string line = "zelvotta: not opening '" + ToUtf8(url) + "'\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return false;
  }
  // The shell may hand the address to a COM extension, which wants COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", Wide(url), nullptr, nullptr, SW_SHOWNORMAL));
  if (SUCCEEDED(com)) CoUninitialize();
  // ShellExecute reports success as a value above 32.
  return result > 32;
}

bool IsWebAddress(std::u16string_view url) {
  for (char16_t c : url) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  for (std::u16string_view scheme : {std::u16string_view(u"http://"), std::u16string_view(u"https://")}) {
    if (!StartsWithIgnoringCase(url, scheme)) continue;
    const std::u16string_view rest = url.substr(scheme.size());
    const size_t hostEnd = rest.find_first_of(u"/?#");
    return (hostEnd == std::u16string_view::npos ? rest.size() : hostEnd) > 0;
  }
  return false;
}

std::u16string LinkMarkupPlainText(std::u16string_view markup) {
  std::u16string text;
  size_t at = 0;
  while (at < markup.size()) {
    const size_t open = markup.find(u'<', at);
    if (open == std::u16string_view::npos) {
      text.append(markup.substr(at));
      break;
    }
    text.append(markup.substr(at, open - at));
    const size_t end = AnchorTagAt(markup, open) ? TagEnd(markup, open) : std::u16string_view::npos;
    if (end == std::u16string_view::npos) {
      text.push_back(u'<');
      at = open + 1;
    } else {
      at = end + 1;
    }
  }
  return text;
}
