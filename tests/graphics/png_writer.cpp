#include "tests/graphics/png_writer.h"

#include <png.h>

#include <cstdio>

namespace velmora::test {
namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

}  // namespace

std::vector<uint8_t> EncodePng(const PngSpec& spec) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendToVector, NoFlush);
  png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (size_t i = 0; i + 2 < spec.paletteRgb.size(); i += 3) {
    palette.push_back({spec.paletteRgb[i], spec.paletteRgb[i + 1], spec.paletteRgb[i + 2]});
  }
  if (!palette.empty()) {
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  }
  if (!spec.transparencyAlphas.empty()) {
    png_set_tRNS(png, info, spec.transparencyAlphas.data(),
                 static_cast<int>(spec.transparencyAlphas.size()), nullptr);
  } else if (spec.hasTransparentColour) {
    png_color_16 colour{};
    colour.gray = spec.transparentGrey;
    colour.red = spec.transparentRed;
    colour.green = spec.transparentGreen;
    colour.blue = spec.transparentBlue;
    png_set_tRNS(png, info, nullptr, 0, &colour);
  }
  png_write_info(png, info);
  for (const auto& row : spec.rows) {
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool WriteArgbPng(const std::string& path, const uint32_t* pixels, int width, int height,
                  int span) {
  PngSpec spec;
  spec.width = width;
  spec.height = height;
  spec.colourType = PNG_COLOR_TYPE_RGBA;
  for (int y = 0; y < height; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y) * span + x];
      row.insert(row.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                             static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 24)});
    }
    spec.rows.push_back(row);
  }
  const std::vector<uint8_t> bytes = EncodePng(spec);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written && !bytes.empty();
}

}  // namespace velmora::test
