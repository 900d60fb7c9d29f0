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

struct KnobPlace {
  int32_t id;
  int32_t x;
  int32_t y;
  int32_t textGap;
  const char* text;
};

// Every knob of the editor at its centre, with a sample value text below it.
constexpr KnobPlace kKnobs[] = {
    {102, 95, 145, 14, "1/8"},   {101, 271, 145, 8, "100%"}, {101, 341, 145, 8, "45%"},
    {103, 64, 300, 5, "1200Hz"}, {103, 128, 300, 5, "50%"},  {103, 193, 300, 5, "1/4"},
    {103, 55, 401, 5, "20%"},    {103, 202, 401, 5, "0%"},   {103, 305, 300, 5, "800Hz"},
    {103, 369, 300, 5, "75%"},   {103, 434, 300, 5, "1/2"},  {103, 296, 401, 5, "60%"},
    {103, 443, 401, 5, "100%"},
};

// The background with every control drawn where the editor puts it, so that a person can
// check that pictures sit on their engraved seats, slots and captions.
void DrawEditorMock(EditorCanvas& canvas) {
  TextStyle value = Style("Arial", 16, 230, 1);
  for (size_t i = 0; i < sizeof(kKnobs) / sizeof(kKnobs[0]); ++i) {
    const KnobPlace& k = kKnobs[i];
    const BitmapRef knob = canvas.LoadBitmapRef(k.id, "", 1);
    const double v = static_cast<double>(i % 5) / 4.0;
    const float offset = static_cast<float>(-2.0 * std::fabs(v - 0.5));
    canvas.DrawRotatedBitmap(knob, k.x, k.y, (v - 0.5) * 300.0 * M_PI / 180.0, nullptr, offset,
                             offset);
    const int32_t half = (knob.width + 1) / 2;
    const int32_t bottom = k.y + half + k.textGap + 16;
    canvas.DrawStyledText(value, k.text, Rect{k.x - half, bottom - 16, k.x + half, bottom});
  }
  const BitmapRef radio = canvas.LoadBitmapRef(106, "img/radio.png", 5);
  canvas.DrawBitmapAt(radio, Rect{133, 102 + 34, 215, 102 + 51}, 0, 34, nullptr);
  const BitmapRef radio2 = canvas.LoadBitmapRef(107, "img/radio2.png", 5);
  canvas.DrawBitmapAt(radio2, Rect{99, 356, 159, 373}, 0, 0, nullptr);
  canvas.DrawBitmapAt(radio2, Rect{340, 356 + 68, 400, 356 + 85}, 0, 68, nullptr);
  const BitmapRef type = canvas.LoadBitmapRef(108, "img/radio3.png", 3);
  canvas.DrawBitmapFrame(type, Rect{13, 229, 55, 251}, 2, nullptr, true);
  canvas.DrawBitmapFrame(type, Rect{441, 229, 483, 251}, 1, nullptr, true);
  const BitmapRef button = canvas.LoadBitmapRef(105, "img/but.png", 1);
  canvas.DrawBitmapFrame(button, Rect{215, 220, 285, 247}, 1, nullptr, true);
  const BitmapRef slider = canvas.LoadBitmapRef(104, "img/slider.png", 1);
  const Color fill{255, 66, 110, 200};
  canvas.FillRectangle(fill, Rect{404, 100 + 15 + 20, 406, 189}, nullptr);
  canvas.DrawBitmapFrame(slider, Rect{398, 120, 412, 151}, 1, nullptr, true);
  canvas.DrawStyledText(value, "-3.0dB", Rect{385, 196, 425, 212});
  canvas.FillRectangle(fill, Rect{441, 100 + 15 + 65, 443, 189}, nullptr);
  canvas.DrawBitmapFrame(slider, Rect{435, 165, 449, 196}, 1, nullptr, true);
  canvas.DrawStyledText(value, "-24dB", Rect{422, 196, 462, 212});
  TextStyle caption = Style("Verdana", 13, 100, 0);
  TextStyle captionRight = Style("Verdana", 13, 100, 2);
  canvas.DrawStyledText(caption, "v1.00", Rect{40, 12, 90, 30});
  canvas.DrawStyledText(captionRight, "bypass", Rect{427, 458, 489, 474});
  canvas.FillCircle(Color{250, 55, 255, 55}, 433.0f, 464.0f, 3.0f, nullptr, false);
  canvas.FillRectangle(Color{150, 255, 255, 255}, Rect{22 + 104, 452, 22 + 110, 454}, nullptr);
  canvas.FillRectangle(Color{150, 255, 5, 5}, Rect{263, 452, 269, 454}, nullptr);
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
  DrawEditorMock(canvas);

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
  TextStyle lines = Style("Verdana", 13, 230, 1);
  canvas.DrawStyledText(lines, "two lines,\r\ncentred", Rect{520, 555, 700, 600});
  TextStyle turned = Style("Arial", 16, 230, 0);
  turned.orientation = 90;
  canvas.DrawStyledText(turned, "upwards 90", Rect{960, 630, 990, 640});
  TextStyle rising = Style("Arial", 16, 230, 0);
  rising.orientation = 30;
  canvas.DrawStyledText(rising, "rising 30\nsecond line", Rect{760, 600, 900, 620});

  std::filesystem::create_directories(VELMORA_SOURCE_DIR "/out");
  const EditorSurface& surface = *canvas.Surface();
  ASSERT_TRUE(test::WriteArgbPng(VELMORA_SOURCE_DIR "/out/graphics-sheet.png", surface.Row(0),
                                 surface.Width(), surface.Height(), surface.Span()));
}

}  // namespace
}  // namespace velmora
