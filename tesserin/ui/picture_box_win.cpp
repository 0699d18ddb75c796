#include "tesserin/ui/picture_box_win.h"

#include <cstring>

#include "common/scoped_win.h"
#include "tesserin/ui/image_decode.h"

const char* const kPictureBoxClass = "TesserinPictureBox";

namespace {

struct BoxState {
  COLORREF back = RGB(255, 255, 255);
  std::string picture;
  bool centred = false;
  // The picture decoded once when set: a top-down 32-bit DIB section holding
  // premultiplied BGRA, ready for AlphaBlend. Empty when the bytes do not decode.
  UniqueGdiObject bitmap;
  SIZE size = {0, 0};
  bool opaque = true;  // no pixel below alpha 255: a plain (smoothed) stretch will do
};

BoxState* StateOf(HWND box) { return box ? reinterpret_cast<BoxState*>(GetWindowLongPtrA(box, 0)) : nullptr; }

// A memory DC with one object selected into it; both undone on destruction.
class MemoryDc {
 public:
  MemoryDc(HDC like, HGDIOBJ object) : dc_(CreateCompatibleDC(like)) {
    if (dc_) old_ = SelectObject(dc_, object);
  }
  ~MemoryDc() {
    if (!dc_) return;
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

void Decode(BoxState& s) {
  s.bitmap.reset();
  s.size = {0, 0};
  s.opaque = true;
  if (s.picture.empty()) return;
  const DecodedImage image = DecodeImage(s.picture);
  if (image.empty()) return;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down, like the decoded rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueGdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return;
  std::memcpy(bits, image.pixels.data(), image.pixels.size());
  for (std::size_t i = 3; i < image.pixels.size() && s.opaque; i += 4) s.opaque = image.pixels[i] == 255;
  s.bitmap = std::move(bitmap);
  s.size = {image.width, image.height};
}

void Paint(HDC dc, const RECT& client, const BoxState& s) {
  UniqueGdiObject brush(CreateSolidBrush(s.back));
  FillRect(dc, &client, static_cast<HBRUSH>(brush.get()));
  if (!s.bitmap) return;

  int x = client.left, y = client.top;
  int w = client.right - client.left, h = client.bottom - client.top;
  if (s.centred) {  // a picture larger than the box shows its middle
    x += (w - s.size.cx) / 2;
    y += (h - s.size.cy) / 2;
    w = s.size.cx;
    h = s.size.cy;
  }
  if (w <= 0 || h <= 0) return;
  MemoryDc source(dc, s.bitmap.get());
  if (!source.get()) return;
  if (s.opaque) {
    // Shrinking averages (HALFTONE) rather than drop pixels; enlarging repeats
    // them, so a small picture stays sharp, as AlphaBlend draws it too.
    const int saved = SaveDC(dc);
    SetStretchBltMode(dc, w < s.size.cx || h < s.size.cy ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x, y, w, h, source.get(), 0, 0, s.size.cx, s.size.cy, SRCCOPY);
    RestoreDC(dc, saved);
  } else {
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, w, h, source.get(), 0, 0, s.size.cx, s.size.cy, blend);
  }
}

// Drawn into a memory bitmap first, so the background never flashes on screen
// between the fill and the picture.
void PaintBuffered(HWND hwnd, HDC dc, const BoxState& s) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  if (rc.right <= 0 || rc.bottom <= 0) return;
  UniqueGdiObject buffer(CreateCompatibleBitmap(dc, rc.right, rc.bottom));
  if (buffer) {
    MemoryDc back(dc, buffer.get());
    if (back.get()) {
      Paint(back.get(), rc, s);
      BitBlt(dc, 0, 0, rc.right, rc.bottom, back.get(), 0, 0, SRCCOPY);
      return;
    }
  }
  Paint(dc, rc, s);
}

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
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (const BoxState* s = StateOf(hwnd)) PaintBuffered(hwnd, dc, *s);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      if (const BoxState* s = StateOf(hwnd)) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        Paint(reinterpret_cast<HDC>(wp), rc, *s);
      }
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

void RegisterPictureBoxClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  if (GetClassInfoA(instance, kPictureBoxClass, &wc)) return;
  wc.style = CS_HREDRAW | CS_VREDRAW;  // stretched and centred pictures move with the size
  wc.lpfnWndProc = BoxProc;
  wc.cbWndExtra = sizeof(void*);
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kPictureBoxClass;
  RegisterClassA(&wc);
}

void SetPictureBoxBackColour(HWND box, COLORREF colour) {
  if (BoxState* s = StateOf(box)) s->back = colour;
  InvalidateRect(box, nullptr, FALSE);
}

COLORREF GetPictureBoxBackColour(HWND box) {
  BoxState* s = StateOf(box);
  return s ? s->back : RGB(255, 255, 255);
}

void SetPictureBoxPicture(HWND box, const std::string& bytes) {
  BoxState* s = StateOf(box);
  if (!s || bytes == s->picture) return;
  s->picture = bytes;
  Decode(*s);
  InvalidateRect(box, nullptr, FALSE);
}

const std::string& GetPictureBoxPicture(HWND box) {
  static const std::string none;
  BoxState* s = StateOf(box);
  return s ? s->picture : none;
}

void SetPictureBoxCentred(HWND box, bool centred) {
  if (BoxState* s = StateOf(box)) s->centred = centred;
  InvalidateRect(box, nullptr, FALSE);
}

bool GetPictureBoxImageSize(HWND box, SIZE* size) {
  BoxState* s = StateOf(box);
  if (!s || !s->bitmap) return false;
  if (size) *size = s->size;
  return true;
}
