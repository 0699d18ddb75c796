// libFuzzer entry: every decoder on every input (each checks its own signature).
#include "tesserin/ui/image_decode.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (auto decode : {DecodePng, DecodeJpeg, DecodePcx}) {
    const DecodedImage image = decode(bytes);
    if (!image.empty() && image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
      __builtin_trap();
    }
  }
  return 0;
}
