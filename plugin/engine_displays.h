// The bridge between the engine's display records and the editor's lamp and strips: the
// controls read the records through these sources when they paint, and the engine's lamp
// listener repaints the lamp when the engine switches it. The plug-in owns one set for the
// life of its editor.
#pragma once

#include "controls/display_source.h"
#include "engine/display_state.h"
#include "plugin/editor_layout.h"

namespace velmora {

class EngineLampSource final : public LampSource {
 public:
  explicit EngineLampSource(const dsp::LampDisplay& record) : record_(record) {}
  bool Processing() const override { return record_.state.load(std::memory_order_relaxed); }

 private:
  const dsp::LampDisplay& record_;
};

class EngineGraphSource final : public GraphSource {
 public:
  explicit EngineGraphSource(const dsp::GraphDisplay& record) : record_(record) {}
  GraphReading Read() const override;

 private:
  const dsp::GraphDisplay& record_;
};

// Called on the audio thread with the instance lock held; only marks the lamp dirty.
class LampRepaint final : public dsp::LampListener {
 public:
  explicit LampRepaint(IBypass* lamp) : lamp_(lamp) {}
  void OnLampChanged(bool processing) override;

 private:
  IBypass* lamp_;
};

struct EngineDisplays {
  EngineDisplays(const dsp::LampDisplay& lampRecord, const dsp::GraphDisplay& leftRecord,
                 const dsp::GraphDisplay& rightRecord, const EditorDisplays& controls);

  EngineLampSource lamp;
  EngineGraphSource leftStrip;
  EngineGraphSource rightStrip;
  LampRepaint lampRepaint;
};

// Points the lamp and the strips at the engine's records.
void FollowEngineDisplays(const EditorDisplays& controls, const EngineDisplays& sources);

}  // namespace velmora
