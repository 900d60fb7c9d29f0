#include "tools/snapshot/png_writer.h"

#include <png.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <vector>

#include "graphics/pixel_image.h"

namespace velmora::snapshot {
namespace {

// Moves the finished file over the old picture; Windows' rename refuses an existing target.
bool MoveOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

// libpng reports errors by longjmp; everything that needs cleaning up lives outside the
// function that calls setjmp.
bool EncodeRows(FILE* file, const PixelImage& image, std::vector<png_byte>& row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) {
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width()),
               static_cast<png_uint_32>(image.Height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < image.Height(); ++y) {
    const uint32_t* pixels = image.Row(y);
    for (int32_t x = 0; x < image.Width(); ++x) {
      row[static_cast<size_t>(x) * 3] = static_cast<png_byte>(pixels[x] >> 16);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(pixels[x] >> 8);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(pixels[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string WriteRgbPng(const PixelImage& image, const std::string& path) {
  if (image.Width() <= 0 || image.Height() <= 0) {
    return "the editor painted nothing";
  }
  const std::string temporary = path + ".part";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    return "cannot write " + temporary;
  }
  std::vector<png_byte> row(static_cast<size_t>(image.Width()) * 3);
  const bool encoded = EncodeRows(file, image, row);
  const bool closed = std::fclose(file) == 0;
  if (!encoded || !closed) {
    std::remove(temporary.c_str());
    return "cannot encode " + path;
  }
  if (!MoveOver(temporary, path)) {
    std::remove(temporary.c_str());
    return "cannot rename " + temporary + " to " + path;
  }
  return std::string();
}

}  // namespace velmora::snapshot
