// Writes out/graphics-sheet.png: the background, every editor image (knobs at several
// angles, every frame of the strips) and text in both editor styles, for a person to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "graphics/editor_canvas.h"
#include "tests/graphics/png_writer.h"

namespace velmora {
namespace {

constexpr int32_t kSheetWidth = 1000;
constexpr int32_t kSheetHeight = 640;

TextStyle Style(const char* face, int32_t size, int32_t alpha, int32_t alignment) {
  TextStyle style;
  std::snprintf(style.face, sizeof(style.face), "%s", face);
  style.size = size;
  style.colour = Color{alpha, 255, 255, 255};
  style.alignment = alignment;
  return style;
}

void DrawStrip(EditorCanvas& canvas, const BitmapRef& strip, int32_t left, int32_t top) {
  const int32_t frameHeight = strip.height / strip.frames;
  for (int32_t i = 1; i <= strip.frames; ++i) {
    const int32_t x = left + (i - 1) * (strip.width + 6);
    canvas.DrawBitmapFrame(strip, Rect{x, top, x + strip.width, top + frameHeight}, i, nullptr,
                           true);
  }
}

TEST(GraphicsSheetTest, WritesTheSheet) {
  EditorCanvas canvas;
  ASSERT_TRUE(canvas.CreateSurface(kSheetWidth, kSheetHeight));
  canvas.FillRectangle(Color{255, 24, 24, 27}, Rect{0, 0, kSheetWidth, kSheetHeight}, nullptr);
  canvas.SetDrawArea(Rect{0, 0, kSheetWidth, kSheetHeight});

  const Blend copy{Blend::kCopy, 1.0f};
  const BitmapRef background = canvas.LoadBitmapRef(100, "img/bg.png", 1);
  ASSERT_NE(background.image, nullptr);
  canvas.DrawBitmapFrame(background, Rect{0, 0, 499, 486}, 1, &copy, true);

  const int32_t knobIds[] = {101, 102, 103};
  const double angles[] = {-150.0, -75.0, 0.0, 75.0, 150.0};
  int32_t y = 50;
  for (int32_t id : knobIds) {
    const BitmapRef knob = canvas.LoadBitmapRef(id, "", 1);
    int32_t x = 560;
    for (double degrees : angles) {
      const double value = (degrees + 150.0) / 300.0;
      const float offset = static_cast<float>(-2.0 * std::fabs(value - 0.5));
      canvas.DrawRotatedBitmap(knob, x, y, degrees * M_PI / 180.0, nullptr, offset, offset);
      x += 85;
    }
    y += 85;
  }
  DrawStrip(canvas, canvas.LoadBitmapRef(106, "img/radio.png", 5), 520, 300);
  DrawStrip(canvas, canvas.LoadBitmapRef(107, "img/radio2.png", 5), 520, 330);
  DrawStrip(canvas, canvas.LoadBitmapRef(108, "img/radio3.png", 3), 520, 360);
  const BitmapRef slider = canvas.LoadBitmapRef(104, "img/slider.png", 1);
  canvas.DrawBitmapFrame(slider, Rect{700, 360, 714, 391}, 1, nullptr, true);
  const BitmapRef button = canvas.LoadBitmapRef(105, "img/but.png", 1);
  canvas.DrawBitmapFrame(button, Rect{740, 360, 810, 387}, 1, nullptr, true);

  TextStyle caption = Style("Verdana", 13, 100, 0);
  TextStyle captionRight = Style("Verdana", 13, 100, 2);
  TextStyle value = Style("Arial", 16, 230, 1);
  canvas.DrawStyledText(caption, "small caption: Delay Rate v1.00", Rect{520, 420, 980, 440});
  canvas.DrawStyledText(captionRight, "bypass  dB (right)", Rect{520, 440, 980, 460});
  canvas.DrawStyledText(value, "value text: 1/8 120.0ms -6.0dB 100%", Rect{520, 470, 980, 490});
  canvas.DrawStyledText(value, "Umlaut \xC3\xBC, ampersand & co", Rect{520, 495, 980, 515});
  TextStyle opaque = Style("Arial", 16, 255, 0);
  opaque.style = TextStyle::kBold | TextStyle::kItalic;
  canvas.DrawStyledText(opaque, "Bold italic, opaque", Rect{520, 525, 980, 545});

  std::filesystem::create_directories(VELMORA_SOURCE_DIR "/out");
  const EditorSurface& surface = *canvas.Surface();
  ASSERT_TRUE(test::WriteArgbPng(VELMORA_SOURCE_DIR "/out/graphics-sheet.png", surface.Row(0),
                                 surface.Width(), surface.Height(), surface.Span()));
}

}  // namespace
}  // namespace velmora
