// The painted editor, pixel by pixel, through the snapshot tool's path. The process's image
// cache is filled with test artwork first (each picture and each frame its own flat colour),
// so a control drawn in the wrong place, frame or size shows up at exact pixels whatever
// the shipped artwork looks like.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "controls/indicator_controls.h"
#include "editor/headless/headless_editor_window.h"
#include "graphics/bitmap_cache.h"
#include "graphics/pixel_image.h"
#include "plugin/velmora_plugin.h"
#include "tools/snapshot/editor_snapshot.h"

namespace velmora::testing {
namespace {

constexpr uint32_t kBackground = 0xFF202020u;
constexpr uint32_t kKnob = 0xFF00C000u;
constexpr uint32_t kHandle = 0xFFE0E000u;
constexpr uint32_t kButton = 0xFFFF8000u;
constexpr uint32_t kBarFill = 0xFF426EC8u;

uint32_t RadioColour(int frame) {
  return 0xFF0000FFu | static_cast<uint32_t>(40 * (frame + 1)) << 16;
}
uint32_t LinkColour(int frame) {
  return 0xFF00000Fu | static_cast<uint32_t>(40 * (frame + 1)) << 8;
}
uint32_t TypeColour(int frame) {
  return 0xFF800000u | static_cast<uint32_t>(60 * (frame + 1));
}

// Frames stacked vertically, frame k filled with colourOf(k).
std::unique_ptr<PixelImage> Strip(int width, int height, int frames, uint32_t (*colourOf)(int)) {
  auto image = std::make_unique<PixelImage>();
  image->Resize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image->SetPixel(x, y, colourOf(y * frames / height));
    }
  }
  return image;
}

std::unique_ptr<PixelImage> Flat(int width, int height, uint32_t colour) {
  auto image = std::make_unique<PixelImage>();
  image->Resize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image->SetPixel(x, y, colour);
    }
  }
  return image;
}

// An opaque disc on a transparent square, like a knob picture.
std::unique_ptr<PixelImage> Disc(int size, uint32_t colour) {
  auto image = Flat(size, size, 0x00000000u);
  const double radius = size / 2.0 - 1.0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0) <= radius) {
        image->SetPixel(x, y, colour);
      }
    }
  }
  return image;
}

class TestArtwork : public ::testing::Environment {
 public:
  void SetUp() override {
    BitmapCache& cache = BitmapCache::Instance();
    cache.Insert(100, Flat(499, 486, kBackground));
    cache.Insert(101, Disc(54, kKnob));
    cache.Insert(102, Disc(73, kKnob));
    cache.Insert(103, Disc(50, kKnob));
    cache.Insert(104, Flat(14, 31, kHandle));
    cache.Insert(105, Flat(70, 27, kButton));
    cache.Insert(106, Strip(82, 85, 5, RadioColour));
    cache.Insert(107, Strip(60, 85, 5, LinkColour));
    cache.Insert(108, Strip(42, 66, 3, TypeColour));
  }
};

const auto* const kArtwork = ::testing::AddGlobalTestEnvironment(new TestArtwork);

class SnapshotPixels : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(snapshot_.Start(44100.0, 120.0), ""); }

  VSTCLASS& Plugin() { return *static_cast<VSTCLASS*>(IEffectVST::FromEffect(snapshot_.Effect())); }
  void Paint() { ASSERT_EQ(snapshot_.Paint(), ""); }
  uint32_t At(int x, int y) const { return snapshot_.Window()->WindowImage().Pixel(x, y); }
  int SelectedButton(int param, int buttons) {
    return static_cast<int>(std::lround(Plugin().Param(param)->NormalisedValue() * (buttons - 1)));
  }
  // Pixels in r that differ from the background.
  int Marked(const Rect& r) const {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        count += (At(x, y) & 0xFFFFFFu) != (kBackground & 0xFFFFFFu) ? 1 : 0;
      }
    }
    return count;
  }

  snapshot::EditorSnapshot snapshot_;
};

TEST_F(SnapshotPixels, TheLitRadioButtonsAndTheFilterTypeFrames) {
  Paint();
  const int mode = SelectedButton(1, 5);
  for (int button = 0; button < 5; ++button) {
    const int y = 102 + 17 * button + 8;
    EXPECT_EQ(At(170, y), button == mode ? RadioColour(button) : kBackground) << button;
    EXPECT_EQ(At(133, 102 + 17 * button), button == mode ? RadioColour(button) : kBackground);
  }
  const int link = SelectedButton(9, 5);
  EXPECT_EQ(At(99 + 30, 356 + 17 * link + 8), LinkColour(link));
  EXPECT_EQ(At(98, 356 + 17 * link + 8), kBackground);
  const int type = SelectedButton(6, 3);
  EXPECT_EQ(At(13, 229), TypeColour(type));
  EXPECT_EQ(At(54, 250), TypeColour(type));
  EXPECT_EQ(At(55, 240), kBackground);
  EXPECT_EQ(At(30, 228), kBackground);
}

TEST_F(SnapshotPixels, KnobPicturesAndValueTexts) {
  Paint();
  const int centres[][2] = {{95, 145},  {271, 145}, {341, 145}, {64, 300},  {128, 300},
                            {193, 300}, {55, 401},  {202, 401}, {305, 300}, {369, 300},
                            {434, 300}, {296, 401}, {443, 401}};
  for (const auto& centre : centres) {
    EXPECT_EQ(At(centre[0], centre[1]), kKnob) << centre[0] << "," << centre[1];
  }
  // Each value text sits in the bottom 16 pixels of its knob; nothing is drawn in the gap.
  const Rect texts[] = {{58, 196, 132, 212}, {244, 180, 298, 196}, {314, 180, 368, 196},
                        {39, 330, 89, 346},  {30, 431, 80, 447},   {418, 431, 468, 447}};
  for (const Rect& text : texts) {
    EXPECT_GT(Marked(text), 10) << text.left << "," << text.top;
  }
  EXPECT_EQ(Marked(Rect{244, 173, 298, 179}), 0);  // Pan Width's gap between picture and text
}

TEST_F(SnapshotPixels, SliderHandlesAndFillBars) {
  vst::AEffect* effect = snapshot_.Effect();
  effect->setParameter(effect, 19, 1.0f);
  effect->setParameter(effect, 20, 0.6f);
  Paint();
  EXPECT_EQ(At(398, 100), kHandle);  // Dry Mix at the top
  EXPECT_EQ(At(411, 130), kHandle);
  EXPECT_EQ(At(405, 131), kBarFill);  // the bar runs on below the handle
  EXPECT_EQ(At(404, 188), kBarFill);
  EXPECT_EQ(At(405, 189), kBackground);
  EXPECT_EQ(At(403, 150), kBackground);
  EXPECT_EQ(At(406, 150), kBackground);
  EXPECT_EQ(At(442, 126), kHandle);  // Wet Mix: round(65 x 0.4 + 100) = 126
  EXPECT_EQ(At(442, 125), kBackground);
  EXPECT_EQ(At(441, 170), kBarFill);
  EXPECT_EQ(At(443, 170), kBackground);  // two pixels wide
}

TEST_F(SnapshotPixels, StripMarkerButtonAndLamp) {
  // The strips' own records stand in for the engine's here.
  GRAPH& left = *Plugin().Displays().leftStrip;
  left.Follow(nullptr);
  left.OwnRecord().lower = 0.0f;
  left.OwnRecord().upper = 1.0f;
  left.OwnRecord().current = 0.5f;
  GRAPH& right = *Plugin().Displays().rightStrip;
  right.Follow(nullptr);
  right.OwnRecord().lower = -1.0f;
  right.OwnRecord().upper = -1.0f;
  vst::AEffect* effect = snapshot_.Effect();
  effect->setParameter(effect, 18, 1.0f);  // Filter Mirror on
  Paint();
  for (int y = 452; y < 454; ++y) {
    EXPECT_EQ(At(22 + 103, y), kBackground);
    EXPECT_GT(At(22 + 104, y) & 0xFF, kBackground & 0xFF);
    EXPECT_GT(At(22 + 109, y) & 0xFF, kBackground & 0xFF);
    EXPECT_EQ(At(22 + 110, y), kBackground);
    EXPECT_GT((At(263, y) >> 16) & 0xFF, At(263, y) & 0xFF);  // parked red marker
    EXPECT_EQ(At(263 + 6, y), kBackground);
  }
  EXPECT_EQ(At(215, 220), kButton);
  EXPECT_EQ(At(284, 246), kButton);
  EXPECT_EQ(At(285, 246), kBackground);
  const uint32_t lamp = At(433, 464);
  EXPECT_GT((lamp >> 16) & 0xFF, 200u);  // red: the effect is not processing yet
  EXPECT_LT((lamp >> 8) & 0xFF, 80u);
  EXPECT_EQ(At(429, 460), kBackground);
}

// After audio the lamp and both strips show the engine's live state: the effect processes
// and both sweep filters (on by default) have a coefficient to show.
TEST_F(SnapshotPixels, AfterAudioTheLampAndTheStripsAreLive) {
  snapshot_.RunAudio(1.0);
  Paint();
  const uint32_t lamp = At(433, 464);
  EXPECT_GT((lamp >> 8) & 0xFF, 200u);
  EXPECT_LT((lamp >> 16) & 0xFF, 80u);
  EXPECT_GT(Marked(Rect{22, 452, 235, 454}), 0);
  EXPECT_GT(Marked(Rect{263, 452, 476, 454}), 0);
  EXPECT_EQ(Marked(Rect{22, 451, 476, 452}), 0);  // nothing above the strip row
}

}  // namespace
}  // namespace velmora::testing
