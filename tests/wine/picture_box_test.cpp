// A real picture box, painted into a memory bitmap through WM_PRINTCLIENT (and once
// on screen), with pictures of every kind built here byte by byte.
#include "tesserin/ui/picture_box_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <zlib.h>

#include "common/scoped_win.h"
#include "tesserin/ui/glyphs.h"
#include "tesserin/ui/image_decode.h"
#include "tests/common/image_bytes.h"

namespace {

constexpr int kWidth = 40, kHeight = 30;
constexpr COLORREF kBack = RGB(10, 20, 30);
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kWhite = RGB(255, 255, 255);

// --- fixtures ------------------------------------------------------------------


// 8-bit RGBA; pixels are 0xAARRGGBB, rows top to bottom.
std::string Png(int w, int h, const std::vector<std::uint32_t>& argb) {
  std::string raw;
  for (int y = 0; y < h; ++y) {
    raw += '\0';
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = argb[y * w + x];
      raw += Bytes({int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255), int(p >> 24)});
    }
  }
  uLongf size = compressBound(raw.size());
  std::string packed(size, '\0');
  compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(raw.data()), raw.size());
  packed.resize(size);
  return std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", Be32(w) + Be32(h) + Bytes({8, 6, 0, 0, 0})) +
         Chunk("IDAT", packed) + Chunk("IEND", "");
}

// 24-bit, bottom-up rows padded to four bytes.
std::string Bmp(int w, int h, const std::vector<std::uint32_t>& rgb) {
  std::string rows;
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = rgb[y * w + x];
      rows += Bytes({int(p & 255), int(p >> 8 & 255), int(p >> 16 & 255)});
    }
    rows.resize((rows.size() + 3) / 4 * 4, '\0');
  }
  const std::string info = Le32(40) + Le32(w) + Le32(h) + Le16(1) + Le16(24) + Le32(0) + Le32(rows.size()) +
                           Le32(2835) + Le32(2835) + Le32(0) + Le32(0);
  return "BM" + Le32(14 + 40 + rows.size()) + Le32(0) + Le32(14 + 40) + info + rows;
}

// 2 x 2, palette red, green, blue, white, pixels 0 1 / 2 3. LZW with 2-bit
// codes: clear, 0, 1, clear, 2, 3, end, each 3 bits wide (a clear every two codes
// keeps the width from growing): 0x44 0xA8 0x15.
std::string Gif() {
  return "GIF89a" + Le16(2) + Le16(2) + Bytes({0xF1, 0, 0}) +
         Bytes({255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}) + Bytes({0x2C}) + Le16(0) + Le16(0) + Le16(2) +
         Le16(2) + Bytes({0, 2, 3, 0x44, 0xA8, 0x15, 0, 0x3B});
}

struct IconImage {
  int w, h;
  std::vector<std::uint32_t> argb;  // rows top to bottom
};

// Icon (type 1) or cursor (type 2, hot spot 1,1) file of 32-bit images.
std::string Icon(int type, const std::vector<IconImage>& images) {
  std::string directory = Le16(0) + Le16(type) + Le16(images.size()), data;
  std::size_t offset = 6 + 16 * images.size();
  for (const IconImage& image : images) {
    std::string dib = Le32(40) + Le32(image.w) + Le32(image.h * 2) + Le16(1) + Le16(32) + std::string(24, '\0');
    for (int y = image.h - 1; y >= 0; --y) {
      for (int x = 0; x < image.w; ++x) dib += Le32(image.argb[y * image.w + x]);
    }
    dib += std::string((image.w + 31) / 32 * 4 * image.h, '\0');  // AND mask: alpha decides
    directory += Bytes({image.w, image.h, 0, 0}) + (type == 2 ? Le16(1) + Le16(1) : Le16(1) + Le16(32)) +
                 Le32(dib.size()) + Le32(offset);
    offset += dib.size();
    data += dib;
  }
  return directory + data;
}

std::string SolidJpeg(int w, int h, COLORREF colour) {
  std::vector<unsigned char> pixels;
  for (int i = 0; i < w * h; ++i) {
    pixels.insert(pixels.end(), {GetRValue(colour), GetGValue(colour), GetBValue(colour)});
  }
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = w;
  cinfo.image_height = h;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = &pixels[cinfo.next_scanline * w * 3];
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string out(reinterpret_cast<char*>(buffer), size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

const std::vector<std::uint32_t> kQuadrants = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};

// --- the box -------------------------------------------------------------------

// What a surface shows, read back pixel by pixel.
class Canvas {
 public:
  Canvas() {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<const std::uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_.get());
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const std::uint32_t p = bits_[y * kWidth + x];
    return RGB(p >> 16 & 255, p >> 8 & 255, p & 255);
  }

 private:
  UniqueGdiObject bitmap_;
  const std::uint32_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

struct Spot {
  int x, y;
  COLORREF colour;
};

::testing::AssertionResult Shows(const Canvas& canvas, const std::vector<Spot>& spots, int tolerance) {
  for (const Spot& s : spots) {
    const COLORREF got = canvas.At(s.x, s.y);
    if (std::abs(GetRValue(got) - GetRValue(s.colour)) > tolerance ||
        std::abs(GetGValue(got) - GetGValue(s.colour)) > tolerance ||
        std::abs(GetBValue(got) - GetBValue(s.colour)) > tolerance) {
      char text[96];
      std::snprintf(text, sizeof text, "at %d,%d: RGB(%d,%d,%d), expected RGB(%d,%d,%d)", s.x, s.y, GetRValue(got),
                    GetGValue(got), GetBValue(got), GetRValue(s.colour), GetGValue(s.colour), GetBValue(s.colour));
      return ::testing::AssertionFailure() << text;
    }
  }
  return ::testing::AssertionSuccess();
}

class PictureBox : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterPictureBoxClass(GetModuleHandleA(nullptr));
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 100, 100, 100, nullptr, nullptr, nullptr, nullptr);
    box_ = CreateWindowExA(0, kPictureBoxClass, "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth, kHeight, parent_, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, box_);
    SetPictureBoxBackColour(box_, kBack);
  }
  void TearDown() override { DestroyWindow(parent_); }

  void Print(const Canvas& canvas) const {
    SendMessageA(box_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  }

  HWND parent_ = nullptr;
  HWND box_ = nullptr;
};

// Each picture pixel becomes 20 x 15: corners and both sides of the middle lines.
const std::vector<Spot> kStretchedQuadrants = {{0, 0, kRed},     {39, 0, kGreen},  {0, 29, kBlue},   {39, 29, kWhite},
                                               {19, 14, kRed},   {20, 14, kGreen}, {19, 15, kBlue},  {20, 15, kWhite}};

TEST_F(PictureBox, DrawsEveryKindOverTheBackColour) {
  // The 2 x 2 picture centred in 40 x 30 covers 19..20, 14..15.
  const std::vector<Spot> centred = {{19, 14, kRed}, {20, 14, kGreen}, {19, 15, kBlue}, {20, 15, kWhite},
                                     {18, 14, kBack}, {21, 15, kBack}, {20, 13, kBack}, {19, 16, kBack}};
  // Red at alpha 128 over RGB(10,20,30).
  const COLORREF blended = RGB(128 + 10 * 127 / 255, 20 * 127 / 255, 30 * 127 / 255);
  // Icon: red corner clear, white one half transparent.
  const std::vector<std::uint32_t> iconPixels = {0x00FF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF};
  const COLORREF halfWhite = RGB(128 + 10 * 127 / 255, 128 + 20 * 127 / 255, 128 + 30 * 127 / 255);
  const std::vector<Spot> iconSpots = {{0, 0, kBack},   {19, 14, kBack}, {20, 14, kGreen},
                                       {39, 0, kGreen}, {0, 29, kBlue},  {39, 29, halfWhite}};
  const COLORREF orange = RGB(250, 160, 20);
  const struct {
    const char* name;
    std::string bytes;
    bool centred;
    std::vector<Spot> spots;
    int tolerance;
  } kCases[] = {
      {"PNG stretched", Png(2, 2, kQuadrants), false, kStretchedQuadrants, 0},
      {"PNG centred", Png(2, 2, kQuadrants), true, centred, 0},
      {"BMP", Bmp(2, 2, kQuadrants), false, kStretchedQuadrants, 0},
      {"GIF", Gif(), false, kStretchedQuadrants, 0},
      {"GIF centred", Gif(), true, centred, 0},
      {"JPEG", SolidJpeg(8, 8, orange), false, {{0, 0, orange}, {39, 29, orange}}, 3},
      {"ICO with alpha", Icon(1, {{2, 2, iconPixels}}), false, iconSpots, 2},
      {"CUR with alpha", Icon(2, {{2, 2, iconPixels}}), false, iconSpots, 2},
      {"half transparent PNG", Png(1, 1, {0x80FF0000}), false, {{0, 0, blended}, {39, 29, blended}}, 2},
      {"unknown bytes", "not a picture", false, {{0, 0, kBack}, {20, 15, kBack}, {39, 29, kBack}}, 0},
      {"PNG cut short", Png(2, 2, kQuadrants).substr(0, 50), false, {{0, 0, kBack}, {39, 29, kBack}}, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    SetPictureBoxCentred(box_, c.centred);
    SetPictureBoxPicture(box_, c.bytes);
    EXPECT_EQ(c.bytes, GetPictureBoxPicture(box_));
    Canvas canvas;
    Print(canvas);
    EXPECT_TRUE(Shows(canvas, c.spots, c.tolerance));
  }
}

TEST_F(PictureBox, ReportsTheDecodedSize) {
  const std::vector<std::uint32_t> grey9(9, 0xFF808080);
  const struct {
    const char* name;
    std::string bytes;
    bool decodes;
    SIZE size;
  } kCases[] = {
      {"glyph", IdleMagnifierPng(), true, {20, 20}},
      {"icon: the largest image", Icon(1, {{1, 1, {0xFF000000}}, {3, 3, grey9}, {2, 2, kQuadrants}}), true, {3, 3}},
      {"unknown", "GIF88a", false, {}},
      {"none", "", false, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    SetPictureBoxPicture(box_, c.bytes);
    SIZE size = {-1, -1};
    ASSERT_EQ(c.decodes, GetPictureBoxImageSize(box_, &size));
    if (c.decodes) {
      EXPECT_EQ(c.size.cx, size.cx);
      EXPECT_EQ(c.size.cy, size.cy);
    }
  }
}

TEST_F(PictureBox, RemovingThePictureLeavesTheColour) {
  SetPictureBoxPicture(box_, Png(2, 2, kQuadrants));
  SetPictureBoxPicture(box_, "");
  SetPictureBoxBackColour(box_, kBlue);
  EXPECT_EQ(kBlue, GetPictureBoxBackColour(box_));
  Canvas canvas;
  Print(canvas);
  EXPECT_TRUE(Shows(canvas, {{0, 0, kBlue}, {20, 15, kBlue}, {39, 29, kBlue}}, 0));
}

// The on-screen path (WM_PAINT through the off-screen buffer) shows the same.
TEST_F(PictureBox, PaintsOnScreen) {
  SetPictureBoxPicture(box_, Png(2, 2, kQuadrants));
  ShowWindow(parent_, SW_SHOWNOACTIVATE);
  UpdateWindow(parent_);
  Canvas canvas;
  HDC screen = GetDC(box_);
  BitBlt(canvas.dc(), 0, 0, kWidth, kHeight, screen, 0, 0, SRCCOPY);
  ReleaseDC(box_, screen);
  EXPECT_TRUE(Shows(canvas, kStretchedQuadrants, 0));
}

// Broken files of every kind the box takes come back empty, the error paths
// (longjmp out of libpng and libjpeg included) without harm.
TEST(DecodeImage, RefusesBrokenFiles) {
  const std::string png = Png(2, 2, kQuadrants);
  const std::string jpeg = SolidJpeg(16, 16, kRed);
  const std::string bmp = Bmp(2, 2, kQuadrants);
  const std::string icon = Icon(1, {{2, 2, kQuadrants}});
  const struct { const char* name; std::string bytes; } kCases[] = {
      {"PNG cut in IDAT", png.substr(0, png.size() - 20)},
      {"JPEG cut in its tables", jpeg.substr(0, 100)},
      {"JPEG cut in the scan", jpeg.substr(0, jpeg.find("\xFF\xDA") + 16)},
      {"BMP header only", bmp.substr(0, 20)},
      {"GIF screen only", Gif().substr(0, 13)},
      {"ICO directory past the end", icon.substr(0, 10)},
      {"CUR with no data", Icon(2, {{2, 2, kQuadrants}}).substr(0, 22)},
      {"PCX header only", "\x0A\x05\x01\x08"},
  };
  for (const auto& c : kCases) EXPECT_TRUE(DecodeImage(c.bytes).empty()) << c.name;
  EXPECT_EQ(2, DecodeImage(png).width);
  EXPECT_EQ(16, DecodeImage(jpeg).width);
}

}  // namespace
