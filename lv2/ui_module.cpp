// The UI module of the bundle: the one X11 UI descriptor LV2 hosts look up. Nothing throws
// out of these callbacks: creation reports failure with a null handle.
#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <new>

#include "lv2/bundle_names.h"
#include "lv2/velmora_ui.h"

namespace velmora::lv2 {
namespace {

const void* FindFeature(const LV2_Feature* const* features, const char* uri) {
  for (int i = 0; features != nullptr && features[i] != nullptr; ++i) {
    if (std::strcmp(features[i]->URI, uri) == 0) {
      return features[i]->data;
    }
  }
  return nullptr;
}

// The display scale the host gives in its options (ui:scaleFactor, an atom:Float); 0 when
// it gives none, or gives it in another type.
double ScaleFactorOf(const LV2_Options_Option* options, const LV2_URID_Map* map) {
  if (options == nullptr || map == nullptr) {
    return 0.0;
  }
  const LV2_URID key = map->map(map->handle, "http://lv2plug.in/ns/extensions/ui#scaleFactor");
  const LV2_URID type = map->map(map->handle, LV2_ATOM__Float);
  for (const LV2_Options_Option* option = options; option->key != 0; ++option) {
    if (option->key == key && option->type == type && option->size == sizeof(float) &&
        option->value != nullptr) {
      return *static_cast<const float*>(option->value);
    }
  }
  return 0.0;
}

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
  if (pluginUri == nullptr || std::strcmp(pluginUri, kPluginUri) != 0 || widget == nullptr) {
    return nullptr;
  }
  UiHostLink host;
  host.write = write;
  host.controller = controller;
  host.touch = static_cast<const LV2UI_Touch*>(FindFeature(features, LV2_UI__touch));
  const auto* map = static_cast<const LV2_URID_Map*>(FindFeature(features, LV2_URID__map));
  const auto parent = reinterpret_cast<intptr_t>(FindFeature(features, LV2_UI__parent));
  host.resize = static_cast<const LV2UI_Resize*>(FindFeature(features, LV2_UI__resize));
  const auto* options =
      static_cast<const LV2_Options_Option*>(FindFeature(features, LV2_OPTIONS__options));
  try {
    std::unique_ptr<VelmoraUi> ui =
        VelmoraUi::Create(host, map, parent, ScaleFactorOf(options, map));
    if (!ui) {
      return nullptr;
    }
    *widget = reinterpret_cast<LV2UI_Widget>(ui->Widget());
    return ui.release();
  } catch (...) {
    return nullptr;
  }
}

VelmoraUi& Of(LV2UI_Handle handle) {
  return *static_cast<VelmoraUi*>(handle);
}

void Cleanup(LV2UI_Handle handle) {
  delete static_cast<VelmoraUi*>(handle);
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
  Of(handle).PortEvent(port, size, format, buffer);
}

int Idle(LV2UI_Handle handle) {
  return Of(handle).Idle();
}

const LV2UI_Idle_Interface kIdleInterface = {Idle};

const void* ExtensionData(const char* uri) {
  return uri != nullptr && std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {kUiUri, Instantiate, Cleanup, PortEvent, ExtensionData};

}  // namespace
}  // namespace velmora::lv2

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &velmora::lv2::kDescriptor : nullptr;
}
