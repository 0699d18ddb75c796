// Fixtures are built here: PNGs chunk by chunk (zlib for the data), JPEGs with
// libjpeg's encoder, PCX byte by byte. Expected pixels are premultiplied BGRA.
#include "tesserin/ui/image_decode.h"

#include "tesserin/ui/glyphs.h"
#include "tests/common/image_bytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <zlib.h>

namespace {

using Decoder = DecodedImage (*)(const std::string&);

struct Bgra {
  int b, g, r, a;
};

::testing::AssertionResult PixelIs(const DecodedImage& image, int x, int y, Bgra want, int tolerance = 0) {
  if (x >= image.width || y >= image.height) return ::testing::AssertionFailure() << "outside the image";
  const std::uint8_t* p = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4];
  const int got[4] = {p[0], p[1], p[2], p[3]};
  const int expected[4] = {want.b, want.g, want.r, want.a};
  for (int i = 0; i < 4; ++i) {
    if (std::abs(got[i] - expected[i]) > tolerance) {
      return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is BGRA " << got[0] << " "
                                           << got[1] << " " << got[2] << " " << got[3];
    }
  }
  return ::testing::AssertionSuccess();
}


// raw: the scanlines with their filter bytes; extra: chunks between IHDR and IDAT.
std::string Png(std::uint32_t width, std::uint32_t height, int depth, int colour, const std::string& raw,
                const std::string& extra = "", int interlace = 0) {
  std::string ihdr = Be32(width) + Be32(height);
  ihdr += {static_cast<char>(depth), static_cast<char>(colour), 0, 0, static_cast<char>(interlace)};
  uLongf packedSize = compressBound(raw.size());
  std::string packed(packedSize, '\0');
  compress(reinterpret_cast<Bytef*>(&packed[0]), &packedSize, reinterpret_cast<const Bytef*>(raw.data()), raw.size());
  packed.resize(packedSize);
  return std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", ihdr) + extra + Chunk("IDAT", packed) +
         Chunk("IEND", "");
}


struct JpegShape {
  int width, height;
  J_COLOR_SPACE space;
  int components;
  bool progressive;
};

// pixels: width * height * components samples; empty gives noise.
std::string Jpeg(const JpegShape& shape, std::vector<unsigned char> pixels = {}) {
  if (pixels.empty()) {
    std::srand(7);
    pixels.resize(static_cast<std::size_t>(shape.width) * shape.height * shape.components);
    for (unsigned char& p : pixels) p = static_cast<unsigned char>(std::rand());
  }
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = shape.width;
  cinfo.image_height = shape.height;
  cinfo.input_components = shape.components;
  cinfo.in_color_space = shape.space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  if (shape.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = &pixels[static_cast<std::size_t>(cinfo.next_scanline) * shape.width * shape.components];
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string out(reinterpret_cast<char*>(buffer), size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

std::string SolidJpeg(const JpegShape& shape, std::initializer_list<unsigned char> sample) {
  std::vector<unsigned char> pixels;
  for (int i = 0; i < shape.width * shape.height; ++i) pixels.insert(pixels.end(), sample);
  return Jpeg(shape, pixels);
}


// palette16: the header's 16 colours (48 bytes, zero-filled when shorter).
std::string Pcx(int bits, int planes, unsigned width, unsigned height, unsigned lineBytes, const std::string& data,
                std::string palette16 = "", const std::string& tail = "") {
  std::string h = Bytes({0x0A, 5, 1, bits}) + Le16(0) + Le16(0) + Le16(width - 1) + Le16(height - 1) + Le16(72) +
                  Le16(72);
  palette16.resize(48, '\0');
  h += palette16 + Bytes({0, planes}) + Le16(lineBytes) + Le16(1);
  h.resize(128, '\0');
  return h + data + tail;
}

TEST(SniffImageKind, ReadsTheLeadingBytes) {
  const struct { std::string bytes; ImageKind kind; } kCases[] = {
      {"\xFF\xD8\xFF\xE0rest", ImageKind::Jpeg},
      {"\xFF\xD8\xFE", ImageKind::Unknown},
      {std::string("\x89PNG\r\n\x1A\n", 8), ImageKind::Png},
      {std::string("\x89PNG\r\n\x1A", 7), ImageKind::Unknown},
      {"GIF87a", ImageKind::Gif},
      {"GIF89a...", ImageKind::Gif},
      {"GIF88a", ImageKind::Unknown},
      {"BM\x36\x00", ImageKind::Bmp},
      {std::string("\0\0\1\0\1\0", 6), ImageKind::Ico},
      {std::string("\0\0\2\0\1\0", 6), ImageKind::Cur},
      {std::string("\0\0\3\0", 4), ImageKind::Unknown},
      {"\x0A\x05\x01\x08", ImageKind::Pcx},
      {"", ImageKind::Unknown},
      {"B", ImageKind::Unknown},
      {"<svg>", ImageKind::Unknown},
  };
  for (const auto& c : kCases) EXPECT_EQ(c.kind, SniffImageKind(c.bytes)) << ::testing::PrintToString(c.bytes);
}

TEST(ImageSizeAllowed, CapsSidesAndBytes) {
  const struct { std::uint64_t w, h; bool allowed; } kCases[] = {
      {1, 1, true},         {16384, 1, true},    {16385, 1, false}, {1, 16385, false},
      {16384, 4096, true},  {16384, 4097, false}, {8192, 8192, true}, {0, 5, false},
      {1ull << 40, 1, false},
  };
  for (const auto& c : kCases) EXPECT_EQ(c.allowed, ImageSizeAllowed(c.w, c.h)) << c.w << " x " << c.h;
}

// Both glyphs are the same shape in their own colour, antialiased, premultiplied.
TEST(Glyphs, AreTheMagnifierInTheirColours) {
  const DecodedImage idle = DecodePng(IdleMagnifierPng());
  const DecodedImage active = DecodePng(ActiveMagnifierPng());
  const struct { const DecodedImage& image; int grey; } kCases[] = {{idle, 116}, {active, 186}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.grey);
    ASSERT_EQ(20, c.image.width);
    ASSERT_EQ(20, c.image.height);
    const Bgra opaque{c.grey, c.grey, c.grey, 255}, clear{0, 0, 0, 0};
    EXPECT_TRUE(PixelIs(c.image, 7, 7, opaque));    // plus sign in the lens
    EXPECT_TRUE(PixelIs(c.image, 2, 7, opaque));    // lens rim
    EXPECT_TRUE(PixelIs(c.image, 16, 16, opaque));  // handle, lower right
    EXPECT_TRUE(PixelIs(c.image, 5, 5, clear));     // inside the lens, beside the plus
    for (int corner : {0, 19}) EXPECT_TRUE(PixelIs(c.image, corner, 0, clear));
    EXPECT_TRUE(PixelIs(c.image, 0, 19, clear));
    int partial = 0;
    for (std::size_t i = 0; i < c.image.pixels.size(); i += 4) {
      const std::uint8_t* p = &c.image.pixels[i];
      partial += p[3] > 0 && p[3] < 255;
      ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]);
      ASSERT_LE(std::abs(p[0] - c.grey * p[3] / 255), 1) << "not premultiplied at " << i / 4;
    }
    EXPECT_GT(partial, 20) << "edges are not antialiased";
  }
  for (std::size_t i = 3; i < idle.pixels.size(); i += 4) ASSERT_EQ(idle.pixels[i], active.pixels[i]);
}

TEST(DecodePng, ExpandsEveryFormatToPremultipliedBgra) {
  const struct {
    const char* name;
    std::string png;
    int width, height;
    std::vector<std::pair<int, Bgra>> pixels;  // x in row 0 (or x + width * y)
  } kCases[] = {
      {"4-bit palette, tRNS shorter than the palette",
       Png(3, 1, 4, 3, Bytes({0, 0x01, 0x20}),
           Chunk("PLTE", Bytes({255, 0, 0, 0, 0, 255, 0, 255, 0})) + Chunk("tRNS", Bytes({255, 128}))),
       3, 1, {{0, {0, 0, 255, 255}}, {1, {128, 0, 0, 128}}, {2, {0, 255, 0, 255}}}},
      {"1-bit grey", Png(3, 1, 1, 0, Bytes({0, 0xA0})), 3, 1,
       {{0, {255, 255, 255, 255}}, {1, {0, 0, 0, 255}}, {2, {255, 255, 255, 255}}}},
      {"8-bit grey with a transparent value",
       Png(2, 1, 8, 0, Bytes({0, 0x40, 0x80}), Chunk("tRNS", Bytes({0, 0x80}))), 2, 1,
       {{0, {0x40, 0x40, 0x40, 255}}, {1, {0, 0, 0, 0}}}},
      {"grey and alpha", Png(1, 1, 8, 4, Bytes({0, 200, 100})), 1, 1, {{0, {78, 78, 78, 100}}}},
      {"16-bit grey", Png(1, 1, 16, 0, Bytes({0, 0xC0, 0xDE})), 1, 1, {{0, {0xC0, 0xC0, 0xC0, 255}}}},
      {"16-bit RGBA",
       Png(2, 1, 16, 6, Bytes({0, 0x12, 0x34, 0xAB, 0xCD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0x80, 0xFF})),
       2, 1, {{0, {0xFF, 0xAB, 0x12, 255}}, {1, {0, 0, 128, 128}}}},
      // Adam7 on 2 x 2: (0,0) comes in pass 1, (1,0) in pass 6, row 1 in pass 7.
      {"8-bit RGB, interlaced",
       Png(2, 2, 8, 2, Bytes({0, 255, 0, 0}) + Bytes({0, 0, 255, 0}) + Bytes({0, 0, 0, 255, 9, 9, 9}), "", 1), 2, 2,
       {{0, {0, 0, 255, 255}}, {1, {0, 255, 0, 255}}, {2, {255, 0, 0, 255}}, {3, {9, 9, 9, 255}}}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const DecodedImage image = DecodePng(c.png);
    ASSERT_EQ(c.width, image.width);
    ASSERT_EQ(c.height, image.height);
    ASSERT_EQ(static_cast<std::size_t>(c.width * c.height * 4), image.pixels.size());
    for (const auto& [at, want] : c.pixels) EXPECT_TRUE(PixelIs(image, at % c.width, at / c.width, want));
  }
}

// Sizes at and past the limits, with complete pixel data so only the cap can refuse.
TEST(DecodePng, RefusesOversizedImages) {
  const auto blankGrey = [](std::uint32_t w, std::uint32_t h) {
    const std::string row = std::string(1, '\0') + std::string((w + 7) / 8, '\0');
    std::string raw;
    for (std::uint32_t y = 0; y < h; ++y) raw += row;
    return Png(w, h, 1, 0, raw);
  };
  EXPECT_EQ(16384, DecodePng(blankGrey(16384, 1)).width);
  EXPECT_TRUE(DecodePng(blankGrey(16385, 1)).empty());
  EXPECT_TRUE(DecodePng(blankGrey(1, 16385)).empty());
  EXPECT_TRUE(DecodePng(blankGrey(16384, 4097)).empty());
}

TEST(DecodeJpeg, DecodesColourSpaces) {
  const struct {
    const char* name;
    std::string jpeg;
    int width, height;
    Bgra pixel;
  } kCases[] = {
      {"RGB", SolidJpeg({17, 9, JCS_RGB, 3, false}, {200, 100, 50}), 17, 9, {50, 100, 200, 255}},
      {"progressive", SolidJpeg({16, 16, JCS_RGB, 3, true}, {10, 220, 130}), 16, 16, {130, 220, 10, 255}},
      {"greyscale", SolidJpeg({8, 8, JCS_GRAYSCALE, 1, false}, {77}), 8, 8, {77, 77, 77, 255}},
      {"inverted CMYK", SolidJpeg({8, 8, JCS_CMYK, 4, false}, {255, 128, 0, 255}), 8, 8, {0, 128, 255, 255}},
      {"inverted CMYK with black", SolidJpeg({8, 8, JCS_CMYK, 4, false}, {255, 255, 255, 128}), 8, 8,
       {128, 128, 128, 255}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const DecodedImage image = DecodeJpeg(c.jpeg);
    ASSERT_EQ(c.width, image.width);
    ASSERT_EQ(c.height, image.height);
    EXPECT_TRUE(PixelIs(image, 0, 0, c.pixel, 3));
    EXPECT_TRUE(PixelIs(image, c.width - 1, c.height - 1, c.pixel, 3));
  }
}

TEST(DecodeJpeg, RefusesOversizedImages) {
  EXPECT_EQ(16384, DecodeJpeg(SolidJpeg({16384, 1, JCS_GRAYSCALE, 1, false}, {0})).width);
  EXPECT_TRUE(DecodeJpeg(SolidJpeg({16385, 1, JCS_GRAYSCALE, 1, false}, {0})).empty());
}

TEST(DecodePcx, DecodesPalettedAndPlanarImages) {
  const std::string palette256 = "\x0C" + Bytes({10, 20, 30, 200, 150, 100}) + std::string(762, '\0');
  const struct {
    const char* name;
    std::string pcx;
    int width;
    std::vector<Bgra> row;
  } kCases[] = {
      {"256 colours, runs", Pcx(8, 1, 3, 1, 4, Bytes({0x00, 0xC0, 0x00, 0xC2, 0x01, 0x00}), "", palette256), 3,
       {{30, 20, 10, 255}, {100, 150, 200, 255}, {100, 150, 200, 255}}},
      {"8-bit without a palette is grey", Pcx(8, 1, 2, 1, 2, Bytes({0x11, 0x22})), 2,
       {{0x11, 0x11, 0x11, 255}, {0x22, 0x22, 0x22, 255}}},
      {"24-bit planes, a run of 255", Pcx(8, 3, 2, 1, 2, Bytes({0xC1, 0xFF, 0x00, 0x00, 0xC1, 0xFF, 0x00, 0x00})), 2,
       {{0, 0, 255, 255}, {0, 255, 0, 255}}},
      {"mono", Pcx(1, 1, 3, 1, 2, Bytes({0xA0, 0x00})), 3,
       {{255, 255, 255, 255}, {0, 0, 0, 255}, {255, 255, 255, 255}}},
      {"16 colours in four bit planes",
       Pcx(1, 4, 2, 1, 2, Bytes({0x80, 0, 0x40, 0, 0x80, 0, 0x40, 0}),
           std::string(15, '\0') + Bytes({1, 2, 3}) + std::string(12, '\0') + Bytes({4, 5, 6})),
       2, {{3, 2, 1, 255}, {6, 5, 4, 255}}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const DecodedImage image = DecodePcx(c.pcx);
    ASSERT_EQ(c.width, image.width);
    ASSERT_EQ(1, image.height);
    for (int x = 0; x < c.width; ++x) EXPECT_TRUE(PixelIs(image, x, 0, c.row[x]));
  }
}

// Broken data of every kind comes back empty.
TEST(Decode, RefusesBrokenData) {
  const std::string png = IdleMagnifierPng();
  const std::string jpeg = Jpeg({64, 64, JCS_RGB, 3, false});
  const std::size_t scan = jpeg.find("\xFF\xDA");
  ASSERT_NE(std::string::npos, scan);
  std::string badCrc = png;
  badCrc[29] ^= 1;  // IHDR's CRC
  std::string zeroWidth = png;
  zeroWidth[16 + 3] = 0;
  const std::string pcx = Pcx(8, 3, 2, 2, 2, std::string(12, '\x01'));
  ASSERT_FALSE(DecodePcx(pcx).empty());

  const struct { const char* name; Decoder decode; std::string bytes; } kCases[] = {
      {"PNG signature only", DecodePng, png.substr(0, 8)},
      {"PNG cut in IHDR", DecodePng, png.substr(0, 30)},
      {"PNG cut in IDAT", DecodePng, png.substr(0, png.size() / 2)},
      {"PNG header CRC", DecodePng, badCrc},
      {"PNG zero width", DecodePng, zeroWidth},
      {"PNG signature and junk", DecodePng, png.substr(0, 8) + std::string(100, '\x55')},
      {"not a PNG", DecodePng, jpeg},
      {"JPEG start only", DecodeJpeg, jpeg.substr(0, 3)},
      {"JPEG cut in the tables", DecodeJpeg, jpeg.substr(0, scan / 2)},
      {"JPEG cut in the scan", DecodeJpeg, jpeg.substr(0, scan + (jpeg.size() - scan) / 2)},
      {"not a JPEG", DecodeJpeg, png},
      {"PCX cut in the pixels", DecodePcx, pcx.substr(0, pcx.size() - 1)},
      {"PCX header only", DecodePcx, pcx.substr(0, 100)},
      {"PCX with 8 bits in 2 planes", DecodePcx, Pcx(8, 2, 2, 1, 2, std::string(4, '\x01'))},
      {"PCX rows shorter than the width", DecodePcx, Pcx(8, 3, 5, 1, 2, std::string(6, '\x01'))},
      {"empty", DecodePng, ""},
  };
  for (const auto& c : kCases) EXPECT_TRUE(c.decode(c.bytes).empty()) << c.name;
}

// Every single-byte corruption of a PNG and a progressive JPEG decodes or is
// refused without touching memory it should not (the sanitizers watch).
TEST(Decode, SurvivesCorruptionAnywhere) {
  const struct { Decoder decode; std::string bytes; } kCases[] = {
      {DecodePng, IdleMagnifierPng()},
      {DecodeJpeg, Jpeg({24, 16, JCS_RGB, 3, true})},
      {DecodePcx, Pcx(1, 4, 9, 3, 2, std::string(24, '\xC3'))},
  };
  for (const auto& c : kCases) {
    for (std::size_t i = 0; i < c.bytes.size(); ++i) {
      for (char flip : {'\x01', '\x80', '\xFF'}) {
        std::string bytes = c.bytes;
        bytes[i] ^= flip;
        const DecodedImage image = c.decode(bytes);
        if (!image.empty()) {
          ASSERT_EQ(static_cast<std::size_t>(image.width) * image.height * 4, image.pixels.size());
        }
      }
    }
  }
}

}  // namespace
