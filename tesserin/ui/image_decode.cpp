#include "tesserin/ui/image_decode.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstring>
#include <limits>
#include <new>

#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

// libpng and libjpeg report errors by longjmp. Each decoder keeps all state the
// jump could strand (library handles, the output) in a job object owned by the
// caller of the function that calls setjmp; that function holds no object with
// a destructor and reads no local after the jump, and the job's destructor frees
// the library's memory however the decode ended.

namespace {

bool StartsWith(const std::string& bytes, const char* magic, std::size_t n) {
  return bytes.size() >= n && std::memcmp(bytes.data(), magic, n) == 0;
}

std::uint8_t Premultiply(unsigned colour, unsigned alpha) {
  return static_cast<std::uint8_t>((colour * alpha + 127) / 255);
}

// Sets the size and makes room for the pixels; false when the image is too big.
bool Allocate(DecodedImage& image, std::uint64_t width, std::uint64_t height) {
  if (!ImageSizeAllowed(width, height)) return false;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels.assign(static_cast<std::size_t>(width * height * 4), 0);
  return true;
}

// --- PNG ---------------------------------------------------------------------

struct PngJob {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  std::size_t pos = 0;
  png_structp png = nullptr;
  png_infop info = nullptr;
  DecodedImage image;

  ~PngJob() {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  }
};

void PngRead(png_structp png, png_bytep out, std::size_t n) {
  auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
  if (n > job->size - job->pos) png_error(png, "truncated");
  std::memcpy(out, job->data + job->pos, n);
  job->pos += n;
}

void PngFail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarn(png_structp, png_const_charp) {}

bool ReadPng(PngJob& job) {
  job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFail, PngWarn);
  if (!job.png) return false;
  job.info = png_create_info_struct(job.png);
  if (!job.info) return false;
  png_structp png = job.png;
  png_infop info = job.info;
  if (setjmp(png_jmpbuf(png))) return false;

  png_set_read_fn(png, &job, PngRead);
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_set_chunk_malloc_max(png, 8u << 20);  // caps text and profile chunks
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colour = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colour, nullptr, nullptr, nullptr);
  if (!ImageSizeAllowed(width, height)) return false;

  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_strip_16(png);
  if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // only acts when there is no alpha
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * 4) return false;

  if (!Allocate(job.image, width, height)) return false;
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  // Interlaced images: each pass fills in its pixels of the rows read before.
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, &job.image.pixels[y * stride], nullptr);
  }
  return true;
}

// --- JPEG --------------------------------------------------------------------

// Scans a progressive file may have before it is taken as hostile: real ones
// have about ten, crafted ones thousands, each costing a pass over the image.
constexpr int kMaxJpegScans = 500;

struct JpegError {
  jpeg_error_mgr pub;  // first, so the library's pointer to it is ours too
  std::jmp_buf jump;
};

struct JpegJob {
  jpeg_decompress_struct cinfo;
  JpegError error;
  jpeg_progress_mgr progress;
  DecodedImage image;

  JpegJob() {
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&progress, 0, sizeof progress);
  }
  ~JpegJob() { jpeg_destroy_decompress(&cinfo); }  // safe before create: mem is null
};

void JpegFail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }

// A file that ends early would come out grey below the cut; refuse it instead.
// Other warnings (stray bytes before a marker and the like) are common in files
// that display fine, so they pass.
void JpegMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) JpegFail(cinfo);
}

void JpegProgress(j_common_ptr cinfo) {
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans) JpegFail(cinfo);
}

bool ReadJpeg(JpegJob& job, const unsigned char* data, std::size_t size) {
  if (size > std::numeric_limits<unsigned long>::max()) return false;
  j_decompress_ptr cinfo = &job.cinfo;
  cinfo->err = jpeg_std_error(&job.error.pub);
  job.error.pub.error_exit = JpegFail;
  job.error.pub.emit_message = JpegMessage;
  if (setjmp(job.error.jump)) return false;

  jpeg_create_decompress(cinfo);
  // Past this a progressive file's coefficient buffers would need backing store,
  // which the library does not have, so it stops with an error.
  cinfo->mem->max_memory_to_use = static_cast<long>(kMaxImageBytes);
  job.progress.progress_monitor = JpegProgress;
  cinfo->progress = &job.progress;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (!ImageSizeAllowed(cinfo->image_width, cinfo->image_height)) return false;
  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(cinfo);
  const int channels = cmyk ? 4 : 3;
  if (cinfo->output_components != channels) return false;

  // From the library's pool, so the jump cannot leak it.
  JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                               cinfo->output_width * channels, 1);
  if (!Allocate(job.image, cinfo->output_width, cinfo->output_height)) return false;
  const std::size_t stride = static_cast<std::size_t>(cinfo->output_width) * 4;
  while (cinfo->output_scanline < cinfo->output_height) {
    std::uint8_t* out = &job.image.pixels[cinfo->output_scanline * stride];
    if (jpeg_read_scanlines(cinfo, row, 1) != 1) return false;
    const JSAMPLE* in = row[0];
    for (JDIMENSION x = 0; x < cinfo->output_width; ++x, in += channels, out += 4) {
      if (cmyk) {
        // Adobe writes CMYK inverted: 255 is no ink.
        const unsigned k = in[3];
        out[0] = static_cast<std::uint8_t>((in[2] * k + 127) / 255);
        out[1] = static_cast<std::uint8_t>((in[1] * k + 127) / 255);
        out[2] = static_cast<std::uint8_t>((in[0] * k + 127) / 255);
      } else {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
      }
      out[3] = 255;
    }
  }
  return true;
}

// --- PCX ---------------------------------------------------------------------

unsigned Le16(const unsigned char* p) { return p[0] | (p[1] << 8); }

bool ReadPcx(const unsigned char* data, std::size_t size, DecodedImage& image) {
  if (size < 128 || data[0] != 0x0A || data[2] > 1) return false;
  const unsigned bits = data[3];
  const unsigned planes = data[65];
  const unsigned lineBytes = Le16(data + 66);
  const unsigned xMin = Le16(data + 4), yMin = Le16(data + 6);
  const unsigned xMax = Le16(data + 8), yMax = Le16(data + 10);
  if (xMax < xMin || yMax < yMin) return false;
  const unsigned width = xMax - xMin + 1, height = yMax - yMin + 1;
  const bool truecolour = bits == 8 && (planes == 3 || planes == 4);
  const bool indexed = (bits == 8 && planes == 1) || ((bits == 1 || bits == 2 || bits == 4) && bits * planes <= 4);
  if (!(truecolour || indexed) || lineBytes == 0 || lineBytes < (width * bits + 7) / 8) return false;

  // Palette: 256 colours after a 0x0C byte at the end, else the header's 16.
  unsigned char grey[768];
  const unsigned char* palette = data + 16;
  if (bits == 8 && planes == 1) {
    if (size >= 128 + 769 && data[size - 769] == 0x0C) {
      palette = data + size - 768;
    } else {
      for (unsigned i = 0; i < 768; ++i) grey[i] = static_cast<unsigned char>(i / 3);
      palette = grey;
    }
  } else if (bits == 1 && planes == 1) {
    static const unsigned char kMono[6] = {0, 0, 0, 255, 255, 255};
    palette = kMono;
  }

  if (!Allocate(image, width, height)) return false;
  std::vector<unsigned char> line(static_cast<std::size_t>(planes) * lineBytes);
  std::size_t pos = 128;
  unsigned run = 0;
  unsigned char value = 0;
  for (unsigned y = 0; y < height; ++y) {
    // Runs may carry over from one line to the next.
    for (unsigned char& b : line) {
      if (data[2] == 0) {
        if (pos >= size) return false;
        b = data[pos++];
        continue;
      }
      while (run == 0) {  // a run of length 0 stores nothing
        if (pos >= size) return false;
        value = data[pos++];
        run = 1;
        if ((value & 0xC0) == 0xC0) {
          if (pos >= size) return false;
          run = value & 0x3F;
          value = data[pos++];
        }
      }
      b = value;
      --run;
    }
    std::uint8_t* out = &image.pixels[static_cast<std::size_t>(y) * width * 4];
    for (unsigned x = 0; x < width; ++x, out += 4) {
      if (truecolour) {
        const unsigned alpha = planes == 4 ? line[3 * lineBytes + x] : 255;
        out[0] = Premultiply(line[2 * lineBytes + x], alpha);
        out[1] = Premultiply(line[lineBytes + x], alpha);
        out[2] = Premultiply(line[x], alpha);
        out[3] = static_cast<std::uint8_t>(alpha);
        continue;
      }
      unsigned index = 0;
      for (unsigned p = 0; p < planes; ++p) {
        const unsigned bit = x * bits;
        const unsigned byte = line[p * lineBytes + bit / 8];
        index |= ((byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1)) << (p * bits);
      }
      out[0] = palette[index * 3 + 2];
      out[1] = palette[index * 3 + 1];
      out[2] = palette[index * 3];
      out[3] = 255;
    }
  }
  return true;
}

}  // namespace

ImageKind SniffImageKind(const std::string& bytes) {
  if (StartsWith(bytes, "\xFF\xD8\xFF", 3)) return ImageKind::Jpeg;
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) return ImageKind::Png;
  if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) return ImageKind::Gif;
  if (StartsWith(bytes, "BM", 2)) return ImageKind::Bmp;
  if (StartsWith(bytes, "\0\0\1\0", 4)) return ImageKind::Ico;
  if (StartsWith(bytes, "\0\0\2\0", 4)) return ImageKind::Cur;
  if (StartsWith(bytes, "\x0A", 1)) return ImageKind::Pcx;
  return ImageKind::Unknown;
}

bool ImageSizeAllowed(std::uint64_t width, std::uint64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height * 4 <= kMaxImageBytes;
}

DecodedImage DecodePng(const std::string& bytes) {
  if (SniffImageKind(bytes) != ImageKind::Png) return {};
  try {
    PngJob job;
    job.data = reinterpret_cast<const unsigned char*>(bytes.data());
    job.size = bytes.size();
    if (!ReadPng(job)) return {};
    // Premultiplied here rather than by libpng, whose premultiplying mode
    // brings gamma handling along.
    for (std::size_t i = 0; i < job.image.pixels.size(); i += 4) {
      std::uint8_t* p = &job.image.pixels[i];
      if (p[3] == 255) continue;
      p[0] = Premultiply(p[0], p[3]);
      p[1] = Premultiply(p[1], p[3]);
      p[2] = Premultiply(p[2], p[3]);
    }
    return std::move(job.image);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

DecodedImage DecodeJpeg(const std::string& bytes) {
  if (SniffImageKind(bytes) != ImageKind::Jpeg) return {};
  try {
    JpegJob job;
    if (!ReadJpeg(job, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())) return {};
    return std::move(job.image);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

DecodedImage DecodePcx(const std::string& bytes) {
  try {
    DecodedImage image;
    if (!ReadPcx(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), image)) return {};
    return image;
  } catch (const std::bad_alloc&) {
    return {};
  }
}
