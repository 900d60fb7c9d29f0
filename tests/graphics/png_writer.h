#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test {

// A PNG to encode: raw samples exactly as the PNG format lays them out (packed sub-byte
// samples, big-endian 16-bit samples), plus an optional palette and transparency chunk.
struct PngSpec {
  int width = 1;
  int height = 1;
  int colourType = 0;  // PNG_COLOR_TYPE_*
  int bitDepth = 8;
  std::vector<std::vector<uint8_t>> rows;
  std::vector<uint8_t> paletteRgb;          // 3 bytes per entry
  std::vector<uint8_t> transparencyAlphas;  // palette tRNS
  bool hasTransparentColour = false;        // grey or RGB tRNS
  uint16_t transparentGrey = 0;
  uint16_t transparentRed = 0, transparentGreen = 0, transparentBlue = 0;
};

std::vector<uint8_t> EncodePng(const PngSpec& spec);

// Writes a 32-bit A << 24 | R << 16 | G << 8 | B image as an RGBA PNG file.
bool WriteArgbPng(const std::string& path, const uint32_t* pixels, int width, int height, int span);

}  // namespace velmora::test
