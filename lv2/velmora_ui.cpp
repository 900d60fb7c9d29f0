#include "lv2/velmora_ui.h"

#include "editor/editor_graphics.h"
#include "plugin/parameter_set.h"
#include "plugin/velmora_plugin.h"

namespace velmora::lv2 {

VelmoraUi::VelmoraUi(const UiHostLink& host, const LV2_URID_Map* map)
    : effect_(VelmoraSetup(), host, map) {
  DeclareParameters(effect_);
  controls_ = BuildVelmoraEditor(effect_);
  displays_ = std::make_unique<EngineDisplays>(effect_.LampRecord(), effect_.LeftRecord(),
                                               effect_.RightRecord(), controls_);
  FollowEngineDisplays(controls_, *displays_);
  effect_.SetLampListener(&displays_->lampRepaint);
}

std::unique_ptr<VelmoraUi> VelmoraUi::Create(const UiHostLink& host, const LV2_URID_Map* map,
                                             intptr_t parent, double scale) {
  if (map == nullptr || parent == 0 || host.write == nullptr) {
    return nullptr;
  }
  std::unique_ptr<VelmoraUi> ui(new VelmoraUi(host, map));
  EditorLink* editor = ui->effect_.Editor();
  if (editor == nullptr) {
    return nullptr;
  }
  if (scale > 0.0) {
    editor->SetHostScale(scale);
  }
  if (!editor->OpenEditorWindow(parent)) {
    return nullptr;
  }
  // The window may have taken the screen's density as well; the host learns the result.
  ui->effect_.RequestEditorSize(editor->DeviceWidth(), editor->DeviceHeight());
  return ui;
}

// The window closes (ending a pending wheel gesture) while the store it reports to still
// exists; the lamp listener goes before the displays it points into.
VelmoraUi::~VelmoraUi() {
  if (EditorLink* editor = effect_.Editor()) {
    editor->CloseEditorWindow();
  }
  effect_.SetLampListener(nullptr);
}

intptr_t VelmoraUi::Widget() const {
  const auto* graphics = dynamic_cast<const IEditorGraphics*>(effect_.Editor());
  return graphics != nullptr ? graphics->WindowHandle() : 0;
}

void VelmoraUi::PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  effect_.PortEvent(port, size, format, buffer);
}

int VelmoraUi::Idle() {
  effect_.DeliverToHost();
  return 0;
}

}  // namespace velmora::lv2
