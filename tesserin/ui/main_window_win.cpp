#include "tesserin/ui/main_window_win.h"

#include <commctrl.h>

#include <map>
#include <vector>

#include "tesserin/ui/display_text.h"
#include "tesserin/ui/events.h"
#include "tesserin/ui/layout.h"
#include "tesserin/ui/picture_box_win.h"
#include "tesserin/ui/startup.h"

namespace {

const char* const kTransparentLabelClass = "TesserinTransparentLabel";
constexpr COLORREF kTileBlueColour = RGB(0x00, 0x78, 0xD7);
constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);
constexpr UINT_PTR kSubclassId = 1;
const char* const kCursorProp = "TesserinCursor";
const char* const kTipProp = "TesserinTip";

struct ControlInfo {
  HWND hwnd = nullptr;
  const ControlSpec* row = nullptr;
  COLORREF textColour = RGB(0, 0, 0);
};

HWND g_main = nullptr;
HWND g_tooltip = nullptr;
HFONT g_previewFont = nullptr;
HBRUSH g_whiteBrush = nullptr;
std::map<std::string, ControlInfo> g_controls;
std::map<HWND, std::string> g_names;

ControlInfo* InfoOf(HWND hwnd) {
  auto it = g_names.find(hwnd);
  if (it == g_names.end()) return nullptr;
  return &g_controls[it->second];
}

// Draws only its text, over whatever its parent painted below it.
LRESULT CALLBACK TransparentLabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      char text[512] = {};
      GetWindowTextA(hwnd, text, sizeof text);
      RECT rc;
      GetClientRect(hwnd, &rc);
      SetBkMode(dc, TRANSPARENT);
      ControlInfo* info = InfoOf(hwnd);
      SetTextColor(dc, info ? info->textColour : RGB(255, 255, 255));
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
      DrawTextA(dc, text, -1, &rc, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      SelectObject(dc, old);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETTEXT: {
      // The parent must repaint what lies below the old text.
      LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      RECT rc;
      GetWindowRect(hwnd, &rc);
      HWND parent = GetParent(hwnd);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
      InvalidateRect(parent, &rc, TRUE);
      InvalidateRect(hwnd, nullptr, FALSE);
      return r;
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// Every control goes through here first: mouse events for the event table, and the
// notifications that a group box or picture box would otherwise swallow (an edit inside
// a group box reports to the group box only).
LRESULT CALLBACK ControlSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return SendMessageA(g_main, msg, wp, lp);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      auto it = g_names.find(hwnd);
      if (it == g_names.end()) break;
      std::string name = it->second;  // the handler may change the table
      UiEvent ev = msg == WM_MOUSEMOVE     ? UiEvent::MouseMove
                   : msg == WM_LBUTTONDOWN ? UiEvent::LeftDown
                   : msg == WM_LBUTTONUP   ? UiEvent::LeftUp
                                           : UiEvent::RightUp;
      LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
      DispatchControlEvent(name, ev);
      return r;
    }
    case WM_NCDESTROY:
      RemovePropA(hwnd, kCursorProp);
      RemovePropA(hwnd, kTipProp);
      RemoveWindowSubclass(hwnd, ControlSubclass, kSubclassId);
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void RegisterClasses(HINSTANCE instance) {
  RegisterPictureBoxClass(instance);
  WNDCLASSA wc = {};
  if (!GetClassInfoA(instance, kTransparentLabelClass, &wc)) {
    wc.lpfnWndProc = TransparentLabelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kTransparentLabelClass;
    RegisterClassA(&wc);
  }
}

LPCSTR CursorOf(unsigned flags) {
  if (flags & kHelpCursor) return IDC_HELP;
  if (flags & kHandCursor) return IDC_HAND;
  if (flags & kCrossCursor) return IDC_CROSS;
  return nullptr;
}

void CreateControls(HINSTANCE instance) {
  HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const ControlSpec& row : MainWindowLayout()) {
    if (row.kind == ControlKind::DropArea) continue;  // a registration, not a window
    HWND parent = row.parent[0] ? g_controls[row.parent].hwnd : g_main;
    const char* cls = "STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (row.kind) {
      case ControlKind::Label:
        style |= SS_LEFT | SS_NOTIFY | SS_CENTERIMAGE;
        if (row.flags & kSunken) exStyle |= WS_EX_STATICEDGE;
        break;
      case ControlKind::Edit:
        cls = "EDIT";
        style |= WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP;
        if (row.flags & kReadOnly) style |= ES_READONLY;
        if (row.flags & kCentred) style |= ES_CENTER;
        break;
      case ControlKind::Button:
        cls = "BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
      case ControlKind::CheckBox:
        cls = "BUTTON";
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
      case ControlKind::Radio:
        cls = "BUTTON";
        style |= BS_AUTORADIOBUTTON | WS_TABSTOP;
        break;
      case ControlKind::GroupBox:
        cls = "BUTTON";
        style |= BS_GROUPBOX;
        break;
      case ControlKind::PictureBox:
        cls = kPictureBoxClass;
        if (row.flags & kBorder) style |= WS_BORDER;
        break;
      case ControlKind::TransparentLabel:
        cls = kTransparentLabelClass;
        exStyle |= WS_EX_TRANSPARENT;
        break;
      case ControlKind::DropArea:
        break;
    }
    if (row.flags & kDisabled) style |= WS_DISABLED;
    HWND hwnd = CreateWindowExA(exStyle, cls, row.text, style, row.x, row.y, row.w, row.h, parent, nullptr,
                                instance, nullptr);
    ControlInfo& info = g_controls[row.name];
    info.hwnd = hwnd;
    info.row = &row;
    info.textColour = (row.flags & kGreyText) ? kGrey : RGB(0, 0, 0);
    g_names[hwnd] = row.name;
    if (row.kind == ControlKind::TransparentLabel) {
      info.textColour = RGB(255, 255, 255);
      SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(g_previewFont), FALSE);
    } else {
      SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
    }
    if (row.kind == ControlKind::PictureBox) SetPictureBoxBackColour(hwnd, (row.flags & kTileBlue) ? kTileBlueColour : RGB(255, 255, 255));
    // The main window answers WM_SETCURSOR for its controls from this property.
    if (LPCSTR cursor = CursorOf(row.flags)) SetPropA(hwnd, kCursorProp, LoadCursor(nullptr, cursor));
    SetWindowSubclass(hwnd, ControlSubclass, kSubclassId, 0);
  }
}

LRESULT OnCtlColor(HDC dc, HWND control) {
  ControlInfo* info = InfoOf(control);
  SetTextColor(dc, info ? info->textColour : RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  return reinterpret_cast<LRESULT>(g_whiteBrush);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      g_main = hwnd;
      CreateControls(reinterpret_cast<CREATESTRUCTA*>(lp)->hInstance);
      OnWindowCreated();
      return 0;
    }
    case WM_SETCURSOR: {
      HANDLE cursor = GetPropA(reinterpret_cast<HWND>(wp), kCursorProp);
      if (cursor && LOWORD(lp) == HTCLIENT) {
        SetCursor(static_cast<HCURSOR>(cursor));
        return TRUE;
      }
      break;
    }
    case WM_COMMAND: {
      HWND control = reinterpret_cast<HWND>(lp);
      auto it = g_names.find(control);
      if (it == g_names.end()) break;
      std::string name = it->second;
      if (HIWORD(wp) == EN_CHANGE) DispatchControlEvent(name, UiEvent::Changed);
      else if (HIWORD(wp) == BN_CLICKED) DispatchControlEvent(name, UiEvent::Clicked);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_KILLFOCUS:
    case WM_ACTIVATE:
      if (msg == WM_KILLFOCUS || LOWORD(wp) == WA_INACTIVE) OnMainWindowLostFocus();
      break;
    case WM_DESTROY:
      OnMainWindowDestroyed();
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      g_main = nullptr;
      g_controls.clear();
      g_names.clear();
      g_tooltip = nullptr;
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, bool show) {
  RegisterClasses(instance);
  if (!g_whiteBrush) g_whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
  if (!g_previewFont) {
    LOGFONTA lf = {};
    lf.lfHeight = -12;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lstrcpyA(lf.lfFaceName, "微软雅黑");
    g_previewFont = CreateFontIndirectA(&lf);
  }
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(instance, kMainWindowClass, &wc)) {
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = g_whiteBrush;
    wc.lpszClassName = kMainWindowClass;
    RegisterClassExA(&wc);
  }
  int x = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
  HWND hwnd = CreateWindowExA(0, kMainWindowClass, kStartingTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y,
                              kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, instance, nullptr);
  if (hwnd && show) {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
  }
  return hwnd;
}

HWND MainWindow() { return g_main; }

HWND Control(const std::string& name) {
  auto it = g_controls.find(name);
  return it == g_controls.end() ? nullptr : it->second.hwnd;
}

std::string ControlName(HWND control) {
  auto it = g_names.find(control);
  return it == g_names.end() ? std::string() : it->second;
}

std::string GetText(const std::string& name) {
  HWND h = Control(name);
  if (!h) return std::string();
  int n = GetWindowTextLengthA(h);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(h, &text[0], n + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

void SetText(const std::string& name, const std::string& text) {
  if (HWND h = Control(name)) SetWindowTextA(h, text.c_str());
}

bool IsChecked(const std::string& name) {
  HWND h = Control(name);
  return h && SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(const std::string& name, bool checked) {
  if (HWND h = Control(name)) SendMessageA(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsEnabled(const std::string& name) {
  HWND h = Control(name);
  return h && IsWindowEnabled(h);
}

void SetEnabled(const std::string& name, bool enabled) {
  if (HWND h = Control(name)) EnableWindow(h, enabled);
}

void SetVisible(const std::string& name, bool visible) {
  if (HWND h = Control(name)) ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
}

bool IsVisible(const std::string& name) {
  HWND h = Control(name);
  return h && (GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE);
}

COLORREF GetBackColour(const std::string& name) {
  HWND h = Control(name);
  return h ? GetPictureBoxBackColour(h) : RGB(255, 255, 255);
}

void SetBackColour(const std::string& name, COLORREF colour) {
  if (HWND h = Control(name)) SetPictureBoxBackColour(h, colour);
}

const std::string& GetPicture(const std::string& name) {
  static const std::string none;
  HWND h = Control(name);
  return h ? GetPictureBoxPicture(h) : none;
}

void SetPicture(const std::string& name, const std::string& bytes) {
  if (HWND h = Control(name)) SetPictureBoxPicture(h, bytes);
}

void SetTextColour(const std::string& name, COLORREF colour) {
  auto it = g_controls.find(name);
  if (it == g_controls.end()) return;
  it->second.textColour = colour;
  InvalidateRect(it->second.hwnd, nullptr, TRUE);
}

COLORREF GetTextColour(const std::string& name) {
  auto it = g_controls.find(name);
  return it == g_controls.end() ? RGB(0, 0, 0) : it->second.textColour;
}

std::string GetTitle() {
  if (!g_main) return std::string();
  int n = GetWindowTextLengthA(g_main);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(g_main, &text[0], n + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

void SetTitle(const std::string& title) {
  if (g_main) SetWindowTextA(g_main, title.c_str());
}

HWND HelpTooltip() { return g_tooltip; }

// Attaches the label's help text as its tooltip on the first mouse move over it.
void ShowHelpTip(const std::string& labelName) {
  HWND label = Control(labelName);
  if (!label || GetPropA(label, kTipProp)) return;
  if (!g_tooltip) {
    g_tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, g_main, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    // Lines break only at the text's own line breaks.
    SendMessageA(g_tooltip, TTM_SETMAXTIPWIDTH, 0, 32767);
  }
  std::string text = ToDisplayText(HelpTextOf(labelName));
  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = g_main;
  tool.uId = reinterpret_cast<UINT_PTR>(label);
  tool.lpszText = &text[0];
  SendMessageA(g_tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  SetPropA(label, kTipProp, reinterpret_cast<HANDLE>(1));
}
