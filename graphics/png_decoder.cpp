#include "graphics/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "graphics/pixel_image.h"

namespace velmora {
namespace {

// Larger images are refused before any memory is reserved for them.
constexpr png_uint_32 kMaxDimension = 16384;

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->size - reader->position) {
    png_error(png, "truncated");
  }
  std::memcpy(out, reader->data + reader->position, length);
  reader->position += length;
}

// libpng reports errors by long-jumping to the set-up point; no warnings are wanted.
void IgnoreWarning(png_structp, png_const_charp) {}

// Everything the long-jumping part touches lives outside its stack frame, so that a jump
// never skips a destructor.
struct DecodeJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  MemoryReader reader{};
  PixelImage* image = nullptr;
  std::vector<png_bytep>* rows = nullptr;
};

// Requests the conversions that turn every PNG flavour into 8-bit A, R, G, B bytes.
void RequestArgbTransforms(png_structp png, png_infop info) {
  const int colourType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  if (colourType == PNG_COLOR_TYPE_PALETTE) {
    png_set_palette_to_rgb(png);
  }
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
    png_set_expand_gray_1_2_4_to_8(png);
  }
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    hasAlpha = true;
  }
  if (bitDepth == 16) {
    png_set_strip_16(png);
  }
  if (bitDepth < 8) {
    png_set_packing(png);
  }
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  if (hasAlpha) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  }
}

bool PrepareRows(DecodeJob& job, png_uint_32 width, png_uint_32 height) {
  if (!job.image->Resize(static_cast<int32_t>(width), static_cast<int32_t>(height))) {
    return false;
  }
  job.rows->resize(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    (*job.rows)[y] = reinterpret_cast<png_bytep>(job.image->Row(static_cast<int32_t>(y)));
  }
  return true;
}

bool RunDecode(DecodeJob& job) {
  if (setjmp(png_jmpbuf(job.png))) {
    return false;
  }
  png_set_read_fn(job.png, &job.reader, ReadFromMemory);
  png_set_user_limits(job.png, kMaxDimension, kMaxDimension);
  png_read_info(job.png, job.info);
  RequestArgbTransforms(job.png, job.info);
  png_read_update_info(job.png, job.info);
  if (png_get_rowbytes(job.png, job.info) != png_get_image_width(job.png, job.info) * 4u ||
      !PrepareRows(job, png_get_image_width(job.png, job.info),
                   png_get_image_height(job.png, job.info))) {
    return false;
  }
  png_read_image(job.png, job.rows->data());
  png_read_end(job.png, nullptr);
  return true;
}

// The rows hold bytes A, R, G, B; the pixel word wants A << 24 | R << 16 | G << 8 | B.
void RepackArgbBytes(PixelImage& image) {
  for (int32_t y = 0; y < image.Height(); ++y) {
    auto* bytes = reinterpret_cast<uint8_t*>(image.Row(y));
    uint32_t* pixels = image.Row(y);
    for (int32_t x = 0; x < image.Width(); ++x) {
      const uint8_t* p = bytes + 4 * x;
      pixels[x] = static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
                  static_cast<uint32_t>(p[2]) << 8 | p[3];
    }
  }
}

}  // namespace

std::unique_ptr<PixelImage> DecodePng(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) {
    return nullptr;
  }
  auto image = std::make_unique<PixelImage>();
  std::vector<png_bytep> rows;
  DecodeJob job;
  job.reader = MemoryReader{data, size, 0};
  job.image = image.get();
  job.rows = &rows;
  job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, IgnoreWarning);
  if (job.png == nullptr) {
    return nullptr;
  }
  job.info = png_create_info_struct(job.png);
  const bool decoded = job.info != nullptr && RunDecode(job);
  png_destroy_read_struct(&job.png, job.info != nullptr ? &job.info : nullptr, nullptr);
  if (!decoded) {
    return nullptr;
  }
  RepackArgbBytes(*image);
  return image;
}

}  // namespace velmora
