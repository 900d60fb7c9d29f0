// The identities and file names of the LV2 bundle: one plug-in URI of our own, its UI, its
// presets and the display messages the DSP sends the UI.
#pragma once

namespace velmora::lv2 {

inline constexpr const char kPluginUri[] = "urn:velmora:delay";
inline constexpr const char kUiUri[] = "urn:velmora:delay:ui";
// Factory preset n (1..32) is kPresetUriPrefix followed by n in two digits.
inline constexpr const char kPresetUriPrefix[] = "urn:velmora:delay:preset:";

// The display message: an atom:Object of this type with the properties below.
inline constexpr const char kDisplayUri[] = "urn:velmora:delay:display";
inline constexpr const char kLampUri[] = "urn:velmora:delay:lamp";
inline constexpr const char kLeftStripUri[] = "urn:velmora:delay:left-strip";
inline constexpr const char kRightStripUri[] = "urn:velmora:delay:right-strip";

inline constexpr const char kBundleFolder[] = "velmora.lv2";
inline constexpr const char kDspBinary[] = "velmora_dsp.so";
inline constexpr const char kUiBinary[] = "velmora_ui.so";

}  // namespace velmora::lv2
