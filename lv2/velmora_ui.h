// Velmora's LV2 UI: the same editor as the VST 2 plug-in's, on the UI-side parameter store,
// opened as a fixed-size child of the host's window. The module's callbacks (ui_module.cpp)
// forward to it.
#pragma once

#include <lv2/ui/ui.h>

#include <cstdint>
#include <memory>

#include "lv2/ui_effect.h"
#include "plugin/editor_layout.h"
#include "plugin/engine_displays.h"

namespace velmora::lv2 {

class VelmoraUi {
 public:
  // Null when the host offers no URID map or no parent window, or the window cannot be
  // opened. The host's ui:resize, when it has one, is in host. scale is the host's
  // ui:scaleFactor, 0 when it gave none.
  static std::unique_ptr<VelmoraUi> Create(const UiHostLink& host, const LV2_URID_Map* map,
                                           intptr_t parent, double scale);
  ~VelmoraUi();

  // The editor's own window, handed to the host as the UI's widget.
  intptr_t Widget() const;
  void PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);
  // The host's idle call: delivers the editor's gestures and values. Returns 0 (keep going).
  int Idle();

  UiEffect& Effect() { return effect_; }
  const EditorDisplays& Controls() const { return controls_; }

 private:
  VelmoraUi(const UiHostLink& host, const LV2_URID_Map* map);

  UiEffect effect_;
  EditorDisplays controls_;
  std::unique_ptr<EngineDisplays> displays_;
};

}  // namespace velmora::lv2
