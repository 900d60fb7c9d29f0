#include "plugin/editor_layout.h"

#include <cstring>
#include <memory>
#include <utility>

#include "controls/button_control.h"
#include "controls/indicator_controls.h"
#include "controls/knob_controls.h"
#include "controls/label_control.h"
#include "controls/radio_buttons.h"
#include "controls/slider_controls.h"
#include "controls/stock_controls.h"
#include "controls/web_link_control.h"
#include "editor/editor_window_factory.h"
#include "editor/text_controls.h"
#include "engine/parameter_index.h"
#include "frame/effect_base.h"

namespace velmora {
namespace {

// The maker's pages behind the title plate.
constexpr const char* kMakerAddress = "https://tolvane.example/velmora";
constexpr const char* kMakerFallbackAddress = "https://tolvane.example/";

struct Images {
  BitmapRef knob, knob2, knob3, slider, button, radio, radio2, radio3;
};

TextStyle MakeStyle(const char* face, int size, const Color& colour, int alignment) {
  TextStyle style;
  std::strncpy(style.face, face, sizeof(style.face) - 1);
  style.size = size;
  style.colour = colour;
  style.style = 0;
  style.alignment = alignment;
  return style;
}

const TextStyle kCaption =
    MakeStyle("Verdana", 13, Color{100, 255, 255, 255}, TextStyle::kAlignLeft);
const TextStyle kCaptionRight =
    MakeStyle("Verdana", 13, Color{100, 255, 255, 255}, TextStyle::kAlignRight);
const TextStyle kValueText =
    MakeStyle("Arial", 16, Color{230, 255, 255, 255}, TextStyle::kAlignLeft);

Images LoadImages(IEditorGraphics& graphics) {
  Images images;
  images.knob = graphics.LoadBitmapRef(101, "img/knob.png", 1);
  images.knob2 = graphics.LoadBitmapRef(102, "img/knob2.png", 1);
  images.knob3 = graphics.LoadBitmapRef(103, "img/knob3.png", 1);
  images.slider = graphics.LoadBitmapRef(104, "img/slider.png", 1);
  images.button = graphics.LoadBitmapRef(105, "img/but.png", 1);
  images.radio = graphics.LoadBitmapRef(106, "img/radio.png", 5);
  images.radio2 = graphics.LoadBitmapRef(107, "img/radio2.png", 5);
  images.radio3 = graphics.LoadBitmapRef(108, "img/radio3.png", 3);
  return images;
}

template <class T, class... Args>
T* Add(IEditorGraphics& graphics, Args&&... args) {
  auto control = std::make_unique<T>(std::forward<Args>(args)...);
  T* raw = control.get();
  graphics.AddControl(std::move(control));
  return raw;
}

KnobOptions Knob(int textGap, int valueCount = 0) {
  KnobOptions options;
  options.textGap = textGap;
  options.valueCount = valueCount;
  return options;
}

// The header: version, bypass label with its lamp, the title plate's link.
EditorDisplays AddHeaderControls(IEditorGraphics& graphics, IEffectBase& plugin) {
  char version[16] = {};
  plugin.VersionText(version, sizeof(version));
  Add<ITextControl>(graphics, &plugin, Rect{40, 12, 90, 30}, kCaption, version);
  Add<ILabelPrm>(graphics, &plugin, kBypassCeil, Rect{427, 458, 489, 474}, kCaptionRight, "bypass",
                 "dB");
  EditorDisplays displays;
  displays.lamp = Add<IBypass>(graphics, &plugin, 433, 464, 3);
  Add<IWebLinkControl>(graphics, &plugin, Rect{165, 10, 359, 57}, kMakerAddress,
                       kMakerFallbackAddress, "");
  return displays;
}

// The delay panel: rate, mode, width, feedback and the two mix sliders.
void AddDelayControls(IEditorGraphics& graphics, IEffectBase& plugin, const Images& images) {
  Add<IKnobRotVal>(graphics, &plugin, kDelayRate, 95, 145, images.knob2, kValueText, Knob(14, 25));
  Add<IRadioButtons>(graphics, &plugin, kPingPong, 133, 102, images.radio, true, false);
  Add<IKnobRotVal>(graphics, &plugin, kPanWidth, 271, 145, images.knob, kValueText, Knob(8));
  Add<IKnobRotVal>(graphics, &plugin, kFeedback, 341, 145, images.knob, kValueText, Knob(8));
  const Color fill{255, 66, 110, 200};
  Add<ISlider>(graphics, &plugin, kDryMix, Rect{385, 100, 425, 212}, images.slider, kValueText, 96,
               false, fill, 3, 7);
  Add<ISlider>(graphics, &plugin, kWetMix, Rect{422, 100, 462, 212}, images.slider, kValueText, 96,
               false, fill, 2, 7);
}

// One filter panel: its parameters and the positions of its controls.
struct FilterPanel {
  int type, freq, depth, sweepRate, reso, sweepLink, depthLink;
  int typeLeft, freqX, depthX, sweepRateX, resoX, linkLeft, depthLinkX;
};

void AddFilterPanel(IEditorGraphics& graphics, IEffectBase& plugin, const Images& images,
                    const FilterPanel& panel) {
  Add<ISwitchControl>(graphics, &plugin, Rect{panel.typeLeft, 229, panel.typeLeft + 42, 251},
                      panel.type, images.radio3, true);
  Add<IKnobRotVal>(graphics, &plugin, panel.freq, panel.freqX, 300, images.knob3, kValueText,
                   Knob(5));
  Add<IKnobRotVal>(graphics, &plugin, panel.depth, panel.depthX, 300, images.knob3, kValueText,
                   Knob(5));
  Add<IKnobRotVal>(graphics, &plugin, panel.sweepRate, panel.sweepRateX, 300, images.knob3,
                   kValueText, Knob(5));
  Add<IKnobRotVal>(graphics, &plugin, panel.reso, panel.resoX, 401, images.knob3, kValueText,
                   Knob(5));
  Add<IRadioButtons>(graphics, &plugin, panel.sweepLink, panel.linkLeft, 356, images.radio2, true,
                     false);
  Add<IKnobRotVal>(graphics, &plugin, panel.depthLink, panel.depthLinkX, 401, images.knob3,
                   kValueText, Knob(5));
}

}  // namespace

EditorDisplays BuildVelmoraEditor(IEffectBase& plugin) {
  std::unique_ptr<IEditorWindow> editor =
      CreateEditorWindow(&plugin, kEditorWidth, kEditorHeight, 0);
  IEditorGraphics& graphics = *editor;
  graphics.AttachBackground(100, "img/bg.png");
  const Images images = LoadImages(graphics);

  EditorDisplays displays = AddHeaderControls(graphics, plugin);
  AddDelayControls(graphics, plugin, images);
  const FilterPanel left{kFilterLeftType,
                         kFreqLeft,
                         kLeftDepth,
                         kLeftSweepRate,
                         kResoLeft,
                         kLeftSweepLink,
                         kLeftDepthLink,
                         13,
                         64,
                         128,
                         193,
                         55,
                         99,
                         202};
  AddFilterPanel(graphics, plugin, images, left);
  const FilterPanel right{kFilterRightType,
                          kFreqRight,
                          kRightDepth,
                          kRightSweepRate,
                          kResoRight,
                          kRightSweepLink,
                          kRightDepthLink,
                          441,
                          305,
                          369,
                          434,
                          296,
                          340,
                          443};
  AddFilterPanel(graphics, plugin, images, right);
  Add<IButton>(graphics, &plugin, kFilterMirror, 215, 220, images.button);
  displays.leftStrip = Add<GRAPH>(graphics, &plugin, 22, 452, 235, 454);
  displays.rightStrip = Add<GRAPH>(graphics, &plugin, 263, 452, 476, 454);

  graphics.SetAlwaysRedrawRect(Rect{22, 452, 476, 454});
  plugin.AttachEditor(editor.release());
  return displays;
}

}  // namespace velmora
