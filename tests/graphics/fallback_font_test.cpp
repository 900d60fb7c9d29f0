// Runs as its own program so that fontconfig first starts up with an empty configuration,
// as on a system without usable fonts: text must still be drawn, with the linked-in face.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "graphics/cached_font.h"
#include "graphics/editor_canvas.h"

namespace velmora {
namespace {

TEST(FallbackFontTest, TextIsDrawnWhenFontconfigOffersNoFont) {
  const std::filesystem::path config =
      std::filesystem::temp_directory_path() / "velmora-empty-fonts.conf";
  FILE* file = std::fopen(config.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n", file);
  std::fclose(file);
  ASSERT_EQ(setenv("FONTCONFIG_FILE", config.c_str(), 1), 0);

  EditorCanvas canvas;
  ASSERT_TRUE(canvas.CreateSurface(120, 30));
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 120; ++x) {
      canvas.Surface()->SetPixel(x, y, 0xFF000000);
    }
  }
  TextStyle style;
  std::snprintf(style.face, sizeof(style.face), "Verdana");
  style.size = 13;
  style.colour = Color{230, 255, 255, 255};
  ASSERT_TRUE(canvas.DrawStyledText(style, "Feedback", Rect{2, 2, 118, 28}));
  ASSERT_NE(style.cachedFont, nullptr);
  EXPECT_EQ(style.cachedFont->LineHeight(), 13);
  int lit = 0;
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 120; ++x) {
      lit += (canvas.Surface()->Pixel(x, y) & 0xFF) > 128 ? 1 : 0;
    }
  }
  EXPECT_GT(lit, 40);
  std::filesystem::remove(config);
}

}  // namespace
}  // namespace velmora
