// GIF, BMP, ICO and CUR through WIC, which every supported Windows (and Wine) has;
// PNG, JPEG and PCX go through the platform-free decoders so they look the same
// everywhere.
#include "tesserin/ui/image_decode.h"

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <cstring>
#include <new>

#include "common/scoped_win.h"

namespace {

// COM for the duration of a call on a thread that has none. A thread already in
// COM (either apartment) keeps what it has; WIC's factory works in both.
class ComForCall {
 public:
  ComForCall() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComForCall() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComForCall(const ComForCall&) = delete;
  ComForCall& operator=(const ComForCall&) = delete;

 private:
  HRESULT hr_;
};

DecodedImage DecodeWithWic(const std::string& bytes) {
  if (bytes.empty() || bytes.size() > MAXDWORD) return {};
  ComForCall com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              factory.outVoid()))) {
    return {};
  }
  ComPtr<IWICStream> stream;
  // WIC only reads from the buffer; the API just is not const-correct.
  BYTE* data = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
  if (FAILED(factory->CreateStream(stream.out())) ||
      FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size())))) {
    return {};
  }
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.out()))) {
    return {};
  }

  // An icon holds one image per size: the largest looks best stretched or not.
  // A GIF's further frames are its animation; the first one is the picture.
  GUID format = {};
  decoder->GetContainerFormat(&format);
  UINT frames = 0;
  if (FAILED(decoder->GetFrameCount(&frames)) || frames == 0) return {};
  if (format != GUID_ContainerFormatIco) frames = 1;
  UINT bestIndex = 0;
  UINT64 bestArea = 0;
  for (UINT i = 0; i < frames; ++i) {
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT w = 0, h = 0;
    if (FAILED(decoder->GetFrame(i, frame.out())) || FAILED(frame->GetSize(&w, &h))) continue;
    if (UINT64(w) * h > bestArea) {
      bestArea = UINT64(w) * h;
      bestIndex = i;
    }
  }
  ComPtr<IWICBitmapFrameDecode> best;
  if (bestArea == 0 || FAILED(decoder->GetFrame(bestIndex, best.out()))) return {};

  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.out())) ||
      FAILED(converter->Initialize(best.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return {};
  }
  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || !ImageSizeAllowed(width, height)) return {};
  DecodedImage image;
  try {
    image.pixels.resize(std::size_t(width) * height * 4);
  } catch (const std::bad_alloc&) {
    return {};
  }
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(image.pixels.size()), image.pixels.data()))) {
    return {};
  }
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  return image;
}

std::uint32_t Le32At(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

// WIC has no cursor decoder, but a cursor file is an icon file whose type is 2
// and whose directory keeps the hot spot where an icon has planes and bit
// count. Rewritten as an icon, with the bit count taken from each image's own
// header (32 for a PNG image), it decodes.
DecodedImage DecodeCursor(std::string bytes) {
  if (bytes.size() < 6) return {};
  bytes[2] = 1;
  const std::size_t count = static_cast<unsigned char>(bytes[4]) | (static_cast<unsigned char>(bytes[5]) << 8);
  for (std::size_t i = 0; i < count && 6 + (i + 1) * 16 <= bytes.size(); ++i) {
    char* entry = &bytes[6 + i * 16];
    const std::size_t image = Le32At(bytes, 6 + i * 16 + 12);
    unsigned bitCount = 32;
    if (image < bytes.size() && bytes.size() - image >= 16 && Le32At(bytes, image) == 40) {
      bitCount = static_cast<unsigned char>(bytes[image + 14]);
    }
    const char iconFields[4] = {1, 0, static_cast<char>(bitCount), 0};  // 1 plane, bit count
    std::memcpy(entry + 4, iconFields, sizeof iconFields);
  }
  return DecodeWithWic(bytes);
}

}  // namespace

DecodedImage DecodeImage(const std::string& bytes) {
  switch (SniffImageKind(bytes)) {
    case ImageKind::Png:
      return DecodePng(bytes);
    case ImageKind::Jpeg:
      return DecodeJpeg(bytes);
    case ImageKind::Pcx:
      return DecodePcx(bytes);
    case ImageKind::Gif:
    case ImageKind::Bmp:
    case ImageKind::Ico:
      return DecodeWithWic(bytes);
    case ImageKind::Cur:
      return DecodeCursor(bytes);
    case ImageKind::Unknown:
      break;
  }
  return {};
}
