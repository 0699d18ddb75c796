// Image files held in memory: what kind they are (by their first bytes, never by
// a file name) and their pixels.
//
// Pixel format of every decoder: top-down rows of width * 4 bytes, no padding,
// premultiplied BGRA (blue, green, red, alpha; each colour already multiplied
// by alpha / 255). That is what AlphaBlend takes from a top-down 32-bit DIB and
// what WIC gives as 32bppPBGRA, so the Windows side copies it as is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class ImageKind { Unknown, Jpeg, Png, Gif, Bmp, Ico, Cur, Pcx };

ImageKind SniffImageKind(const std::string& bytes);

struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // premultiplied BGRA, see above

  bool empty() const { return pixels.empty(); }
};

// Larger pictures are refused rather than risk running out of memory on a
// broken or hostile file: no side above kMaxImageSide, no more pixel bytes
// (width * height * 4) than kMaxImageBytes.
constexpr std::uint32_t kMaxImageSide = 16384;
constexpr std::uint64_t kMaxImageBytes = 256u << 20;
bool ImageSizeAllowed(std::uint64_t width, std::uint64_t height);

// Each returns an empty image when the data is not of its kind, is corrupt or
// truncated, or is too large.
// PNG: every colour type and bit depth; tRNS becomes alpha, 16-bit channels keep
// their high byte, interlaced images are supported. Gamma chunks are ignored.
DecodedImage DecodePng(const std::string& bytes);
// JPEG: greyscale, YCbCr/RGB and CMYK/YCCK (taken as Adobe's inverted CMYK).
// Data that ends before the last row is refused, not shown half grey.
DecodedImage DecodeJpeg(const std::string& bytes);
// PCX: 1, 2, 4 and 8 bits per pixel with up to 4 planes (mono, 16-colour,
// 256-colour with the palette at the end, 24-bit and 32-bit).
DecodedImage DecodePcx(const std::string& bytes);

#ifdef _WIN32
// Any kind SniffImageKind knows: PNG, JPEG and PCX through the decoders above,
// GIF (first frame), BMP, ICO and CUR (largest entry) through WIC. Needs COM on
// the calling thread or initialises it for the call.
DecodedImage DecodeImage(const std::string& bytes);
#endif
