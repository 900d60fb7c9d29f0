#include "plugin/engine_displays.h"

#include "controls/indicator_controls.h"

namespace velmora {

GraphReading EngineGraphSource::Read() const {
  return GraphReading{record_.current.load(std::memory_order_relaxed),
                      record_.lower.load(std::memory_order_relaxed),
                      record_.upper.load(std::memory_order_relaxed)};
}

void LampRepaint::OnLampChanged(bool processing) {
  if (lamp_ != nullptr) {
    lamp_->OnLampChanged(processing);
  }
}

EngineDisplays::EngineDisplays(const dsp::LampDisplay& lampRecord,
                               const dsp::GraphDisplay& leftRecord,
                               const dsp::GraphDisplay& rightRecord, const EditorDisplays& controls)
    : lamp(lampRecord),
      leftStrip(leftRecord),
      rightStrip(rightRecord),
      lampRepaint(controls.lamp) {}

void FollowEngineDisplays(const EditorDisplays& controls, const EngineDisplays& sources) {
  if (controls.lamp != nullptr) {
    controls.lamp->Follow(&sources.lamp);
  }
  if (controls.leftStrip != nullptr) {
    controls.leftStrip->Follow(&sources.leftStrip);
  }
  if (controls.rightStrip != nullptr) {
    controls.rightStrip->Follow(&sources.rightStrip);
  }
}

}  // namespace velmora
