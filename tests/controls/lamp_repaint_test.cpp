// The bypass lamp switched from another thread while the editor paints: the switch's steps
// (the new state, the redraw request, the dirty flag) interleaved at every point with a
// paint pass's steps (collecting the dirty area, painting it and cleaning every control).
// Whatever the order, the lamp ends up painted in its new colour.
#include <gtest/gtest.h>

#include <memory>

#include "controls/indicator_controls.h"
#include "editor/headless/headless_editor_window.h"

namespace velmora {
namespace {

class Patch : public IControl {
 public:
  explicit Patch(const Rect& rect) : IControl(nullptr, rect) {}
  bool Paint(IEditorGraphics&) override { return true; }
};

constexpr int kLampX = 433;
constexpr int kLampY = 464;

uint32_t LampPixel(const HeadlessEditorWindow& editor) {
  return editor.WindowImage().Pixel(kLampX, kLampY);
}
bool LooksGreen(uint32_t pixel) {
  return ((pixel >> 8) & 0xFF) > 200 && ((pixel >> 16) & 0xFF) < 100;
}
bool LooksRed(uint32_t pixel) {
  return ((pixel >> 16) & 0xFF) > 200 && ((pixel >> 8) & 0xFF) < 100;
}

TEST(LampRepaint, ASwitchFromTheAudioThreadIsNeverLostWhateverTheInterleaving) {
  // Steps of the switch: 0 the source changes, 1 redraw pending, 2 dirty. The paint pass
  // collects before step `collect` and paints and cleans before step `clean`.
  for (int collect = 0; collect <= 3; ++collect) {
    for (int clean = collect; clean <= 3; ++clean) {
      HeadlessEditorWindow editor(nullptr, 499, 486, 0);
      auto* patch = new Patch(Rect{0, 0, 40, 40});
      auto* lamp = new IBypass(nullptr, kLampX, kLampY, 3);
      editor.AddControl(std::unique_ptr<IControl>(patch));
      editor.AddControl(std::unique_ptr<IControl>(lamp));
      LampRecord source;
      lamp->Follow(&source);
      editor.PrepareEditor();
      ASSERT_TRUE(editor.OpenEditorWindow(1));
      editor.TimerTick();
      editor.TimerTick();
      ASSERT_TRUE(LooksRed(LampPixel(editor))) << std::hex << LampPixel(editor);
      Rect area{};
      bool collected = false;
      patch->MarkDirty(false);  // the pass has something else to paint
      for (int step = 0; step <= 3; ++step) {
        if (step == collect) {
          collected = editor.CollectDirtyArea(&area);
        }
        if (step == clean) {
          editor.PaintDirtyArea(collected ? area : Rect{0, 0, 40, 40});
        }
        if (step == 0) {
          source.state.store(true);
        } else if (step == 1) {
          lamp->SetRedrawPending();
        } else if (step == 2) {
          lamp->MarkDirty(false);
        }
      }
      EXPECT_TRUE(lamp->NeedsRepaint() || LooksGreen(LampPixel(editor)))
          << "collect " << collect << ", clean " << clean;
      for (int tick = 0; tick < 3; ++tick) {
        Rect dirty{};
        if (editor.CollectDirtyArea(&dirty)) {
          editor.PaintDirtyArea(dirty);
        }
      }
      EXPECT_TRUE(LooksGreen(LampPixel(editor)))
          << "collect " << collect << ", clean " << clean << std::hex << ": " << LampPixel(editor);
      EXPECT_FALSE(lamp->NeedsRepaint());
    }
  }
}

// The lamp's own switch and the effect's notice both keep the lamp dirty for a second pass,
// as values from the host do.
TEST(LampRepaint, ASwitchRequestsTwoPasses) {
  IBypass lamp(nullptr, kLampX, kLampY, 3);
  lamp.MarkClean();
  lamp.SetState(true);
  lamp.MarkClean();
  EXPECT_TRUE(lamp.NeedsRepaint());
  lamp.MarkClean();
  LampRecord engine;
  lamp.Follow(&engine);
  lamp.OnLampChanged(false);
  lamp.MarkClean();
  EXPECT_TRUE(lamp.NeedsRepaint());
}

}  // namespace
}  // namespace velmora
