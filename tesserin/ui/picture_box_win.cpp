// Placeholder: colour only, until the decoding box lands.
#include "tesserin/ui/picture_box_win.h"

const char* const kPictureBoxClass = "TesserinPictureBox";

namespace {
struct BoxState {
  COLORREF back = RGB(255, 255, 255);
  std::string picture;
  bool centred = false;
};

BoxState* StateOf(HWND box) { return reinterpret_cast<BoxState*>(GetWindowLongPtrA(box, 0)); }

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(new BoxState));
      break;
    case WM_NCDESTROY:
      delete StateOf(hwnd);
      SetWindowLongPtrA(hwnd, 0, 0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      HBRUSH brush = CreateSolidBrush(StateOf(hwnd)->back);
      FillRect(dc, &rc, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

void RegisterPictureBoxClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  if (GetClassInfoA(instance, kPictureBoxClass, &wc)) return;
  wc.lpfnWndProc = BoxProc;
  wc.cbWndExtra = sizeof(void*);
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kPictureBoxClass;
  RegisterClassA(&wc);
}

void SetPictureBoxBackColour(HWND box, COLORREF colour) {
  if (BoxState* s = StateOf(box)) s->back = colour;
  InvalidateRect(box, nullptr, TRUE);
}
COLORREF GetPictureBoxBackColour(HWND box) {
  BoxState* s = StateOf(box);
  return s ? s->back : RGB(255, 255, 255);
}
void SetPictureBoxPicture(HWND box, const std::string& bytes) {
  if (BoxState* s = StateOf(box)) s->picture = bytes;
  InvalidateRect(box, nullptr, TRUE);
}
const std::string& GetPictureBoxPicture(HWND box) {
  static const std::string none;
  BoxState* s = StateOf(box);
  return s ? s->picture : none;
}
void SetPictureBoxCentred(HWND box, bool centred) {
  if (BoxState* s = StateOf(box)) s->centred = centred;
  InvalidateRect(box, nullptr, TRUE);
}
