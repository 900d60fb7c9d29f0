// The UI's parameter store in-process, with the headless window: host values land on whole
// steps inside their ranges and reach the controls, wheel gestures become one touch pair
// each, malformed events change nothing, and the lamp follows the DSP's messages.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "controls/indicator_controls.h"
#include "editor/editor_window.h"
#include "lv2/port_index.h"
#include "lv2/velmora_ui.h"
#include "tests/lv2/lilv_host.h"

namespace velmora::lv2::testing {
namespace {

struct Recorded {
  enum Kind { kBegin, kWrite, kEnd };
  Kind kind;
  uint32_t port;
  float value;
  bool operator==(const Recorded& other) const {
    return kind == other.kind && port == other.port && value == other.value;
  }
};

class UiEffectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    touch_ = LV2UI_Touch{this, [](LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
                           static_cast<UiEffectTest*>(handle)->calls_.push_back(
                               {grabbed ? Recorded::kBegin : Recorded::kEnd, port, 0.0f});
                         }};
    UiHostLink link;
    link.write = [](LV2UI_Controller controller, uint32_t port, uint32_t, uint32_t,
                    const void* buffer) {
      static_cast<UiEffectTest*>(controller)
          ->calls_.push_back({Recorded::kWrite, port, *static_cast<const float*>(buffer)});
    };
    link.controller = this;
    link.touch = &touch_;
    ui_ = VelmoraUi::Create(link, urids_.MapFeature(), 1, 0.0);
    ASSERT_NE(ui_, nullptr);
    window_ = dynamic_cast<IEditorWindow*>(ui_->Effect().Editor());
    ASSERT_NE(window_, nullptr);
  }

  void Send(int param, float value) { ui_->PortEvent(ParamPort(param), sizeof(float), 0, &value); }
  double Stored(int param) { return ui_->Effect().Param(param)->Value(); }

  UridMap urids_;
  LV2UI_Touch touch_{};
  std::unique_ptr<VelmoraUi> ui_;
  IEditorWindow* window_ = nullptr;
  std::vector<Recorded> calls_;
};

TEST_F(UiEffectTest, HostValuesLandOnWholeStepsInsideTheRange) {
  Send(kFeedback, 37.4f);
  EXPECT_EQ(Stored(kFeedback), 37.0);
  Send(kFreqLeft, 1e9f);
  EXPECT_EQ(Stored(kFreqLeft), 20000.0);
  Send(kBypassCeil, -1000.0f);
  EXPECT_EQ(Stored(kBypassCeil), -100.0);
  Send(kFeedback, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(Stored(kFeedback), 37.0);
  const double wide = 55.0;
  ui_->PortEvent(ParamPort(kFeedback), sizeof(wide), 0, &wide);
  ui_->PortEvent(ParamPort(kFeedback), sizeof(float), 0, nullptr);
  ui_->PortEvent(kPortCount + 3, sizeof(float), 0, &wide);
  EXPECT_EQ(Stored(kFeedback), 37.0);
  ui_->Idle();
  EXPECT_TRUE(calls_.empty()) << "the host's own values are not written back";
}

TEST_F(UiEffectTest, TheStoreCarriesTheVst2PluginsNameAndVersion) {
  char version[16] = {};
  ui_->Effect().VersionText(version, sizeof(version));
  EXPECT_STREQ(version, "v1.00");
  EXPECT_STREQ(ui_->Effect().EffectName(), "Velmora");
  EXPECT_EQ(ui_->Effect().NumParams(), kVelmoraParamCount);
}

// Three notches on one knob are one gesture that ends half a second of ticks later; a
// notch on another knob meanwhile ends the first gesture at once.
TEST_F(UiEffectTest, WheelNotchesAreOneTouchPairPerParameter) {
  Send(kFeedback, 50.0f);
  Send(kPanWidth, 0.0f);
  const MouseModifiers none{};
  for (int i = 0; i < 3; ++i) {
    window_->WheelTurned(341, 145, none, IEditorWindow::kWheelDelta);
  }
  window_->WheelTurned(271, 145, none, IEditorWindow::kWheelDelta);
  for (int tick = 0; tick < 30; ++tick) {
    window_->TimerTick();
  }
  ui_->Idle();
  const uint32_t feedback = ParamPort(kFeedback);
  const uint32_t pan = ParamPort(kPanWidth);
  ASSERT_EQ(calls_.size(), 8u);
  EXPECT_EQ(calls_[0], (Recorded{Recorded::kBegin, feedback, 0.0f}));
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(calls_[i].kind, Recorded::kWrite);
    EXPECT_EQ(calls_[i].port, feedback);
    EXPECT_GT(calls_[i].value, i == 1 ? 50.0f : calls_[i - 1].value);
  }
  EXPECT_EQ(calls_[4], (Recorded{Recorded::kEnd, feedback, 0.0f}));
  EXPECT_EQ(calls_[5], (Recorded{Recorded::kBegin, pan, 0.0f}));
  EXPECT_EQ(calls_[6].port, pan);
  EXPECT_EQ(calls_[7], (Recorded{Recorded::kEnd, pan, 0.0f}));
  EXPECT_EQ(Stored(kFeedback), calls_[3].value);
}

TEST_F(UiEffectTest, TheLampFollowsDisplayMessagesAndIgnoresOtherAtoms) {
  IBypass* lamp = ui_->Controls().lamp;
  ASSERT_NE(lamp, nullptr);
  EXPECT_FALSE(lamp->State());
  DisplayUrids urids;
  ASSERT_TRUE(urids.Map(urids_.MapFeature()));
  uint64_t buffer[64] = {};
  LV2_Atom_Forge forge;
  lv2_atom_forge_init(&forge, urids_.MapFeature());
  lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(buffer), sizeof(buffer));
  LV2_Atom_Forge_Frame object;
  const float strip[3] = {0.25f, 0.0f, 1.0f};
  lv2_atom_forge_object(&forge, &object, 0, urids.display);
  lv2_atom_forge_key(&forge, urids.lamp);
  lv2_atom_forge_bool(&forge, true);
  lv2_atom_forge_key(&forge, urids.leftStrip);
  lv2_atom_forge_vector(&forge, sizeof(float), urids.atomFloat, 3, strip);
  lv2_atom_forge_key(&forge, urids.rightStrip);
  lv2_atom_forge_vector(&forge, sizeof(float), urids.atomFloat, 3, strip);
  lv2_atom_forge_pop(&forge, &object);
  auto* atom = reinterpret_cast<LV2_Atom*>(buffer);
  const uint32_t size = sizeof(LV2_Atom) + atom->size;

  // Not an event transfer, or a message cut short: nothing changes.
  ui_->PortEvent(kPortNotify, size, 0, atom);
  atom->size -= 8;
  ui_->PortEvent(kPortNotify, size, urids.atomEventTransfer, atom);
  EXPECT_FALSE(lamp->State());
  atom->size += 8;
  ui_->PortEvent(kPortNotify, size, urids.atomEventTransfer, atom);
  EXPECT_TRUE(lamp->State());
  EXPECT_EQ(ui_->Effect().LeftRecord().current.load(), 0.25f);
}

}  // namespace
}  // namespace velmora::lv2::testing
