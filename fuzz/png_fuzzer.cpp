// Fuzzes the PNG decoder behind the editor's images. A decoded image must have a size within
// the decoder's limits and every one of its pixels must be readable.
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "graphics/pixel_image.h"
#include "graphics/png_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto image = velmora::DecodePng(data, size);
  if (image == nullptr) {
    return 0;
  }
  if (image->Width() < 1 || image->Height() < 1 || image->Width() > 16384 ||
      image->Height() > 16384) {
    velmora::fuzz::Fail("a decoded image has an impossible size");
  }
  // Reading every pixel makes the address checker see each row's whole extent.
  volatile uint32_t sum = 0;
  for (int32_t y = 0; y < image->Height(); ++y) {
    for (int32_t x = 0; x < image->Width(); ++x) {
      sum += image->Pixel(x, y);
    }
  }
  return 0;
}
