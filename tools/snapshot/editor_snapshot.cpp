#include "tools/snapshot/editor_snapshot.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "editor/headless/headless_editor_window.h"
#include "frame/effect_vst.h"
#include "tools/render/demo_signal.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host);

namespace velmora::snapshot {
namespace {

constexpr int32_t kProgramNameSize = 256;

intptr_t AnswerHost(vst::AEffect* effect, int32_t opcode, int32_t, intptr_t, void*, float) {
  auto* state = effect != nullptr ? static_cast<EditorSnapshot::HostState*>(effect->user) : nullptr;
  if (state == nullptr) {
    return 0;
  }
  switch (opcode) {
    case vst::audioMasterVersion:
      return 2400;
    case vst::audioMasterGetTime:
      return reinterpret_cast<intptr_t>(&state->time);
    default:
      return 0;
  }
}

}  // namespace

EditorSnapshot::EditorSnapshot() = default;

EditorSnapshot::~EditorSnapshot() {
  if (effect_ != nullptr) {
    Dispatch(vst::effEditClose);
    Dispatch(vst::effMainsChanged, 0, 0);
    Dispatch(vst::effClose);
  }
}

intptr_t EditorSnapshot::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) const {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string EditorSnapshot::Start(double sampleRate, double tempo) {
  effect_ = VSTPluginMain(&AnswerHost);
  if (effect_ == nullptr) {
    return "the plug-in could not be created";
  }
  effect_->user = &host_;
  host_.time.sampleRate = sampleRate;
  host_.time.tempo = tempo;
  host_.time.timeSigNumerator = 4;
  host_.time.timeSigDenominator = 4;
  host_.time.flags = vst::kVstTransportPlaying | vst::kVstTempoValid | vst::kVstPpqPosValid |
                     vst::kVstTimeSigValid;
  Dispatch(vst::effOpen);
  Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(vst::effSetBlockSize, 0, blockSize_);
  Dispatch(vst::effMainsChanged, 0, 1);
  return std::string();
}

std::string EditorSnapshot::SelectProgram(const std::string& program) {
  const int32_t count = effect_->numPrograms;
  char* end = nullptr;
  const long number = std::strtol(program.c_str(), &end, 10);
  if (!program.empty() && *end == '\0') {
    if (number < 0 || number >= count) {
      return "there is no program " + program + " (0 to " + std::to_string(count - 1) + ")";
    }
    Dispatch(vst::effSetProgram, 0, static_cast<intptr_t>(number));
    return std::string();
  }
  for (int32_t index = 0; index < count; ++index) {
    char name[kProgramNameSize] = {};
    Dispatch(vst::effGetProgramNameIndexed, index, 0, name);
    name[kProgramNameSize - 1] = '\0';
    if (program == name) {
      Dispatch(vst::effSetProgram, 0, index);
      return std::string();
    }
  }
  return "there is no program named \"" + program + "\"";
}

void EditorSnapshot::RunAudio(double seconds) {
  const double sampleRate = host_.time.sampleRate;
  const std::vector<float> demo = render::MakeDemoSignal(sampleRate);
  auto remaining = static_cast<int64_t>(std::llround(seconds * sampleRate));
  std::vector<float> left(static_cast<size_t>(blockSize_));
  std::vector<float> right(static_cast<size_t>(blockSize_));
  std::vector<float> outLeft(static_cast<size_t>(blockSize_));
  std::vector<float> outRight(static_cast<size_t>(blockSize_));
  float* inputs[2] = {left.data(), right.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
  size_t position = 0;
  while (remaining > 0 && !demo.empty()) {
    const auto frames = static_cast<int32_t>(remaining < blockSize_ ? remaining : blockSize_);
    for (int32_t i = 0; i < frames; ++i) {
      left[static_cast<size_t>(i)] = demo[position];
      right[static_cast<size_t>(i)] = demo[position];
      position = (position + 1) % demo.size();
    }
    effect_->processReplacing(effect_, inputs, outputs, frames);
    host_.time.samplePos += frames;
    host_.time.ppqPos = host_.time.samplePos / sampleRate * host_.time.tempo / 60.0;
    remaining -= frames;
  }
}

std::string EditorSnapshot::Paint(double scale) {
  auto* plugin = IEffectVST::FromEffect(effect_);
  window_ = plugin != nullptr ? dynamic_cast<HeadlessEditorWindow*>(plugin->Editor()) : nullptr;
  if (window_ == nullptr) {
    return "the plug-in has no editor that can be painted off screen";
  }
  if (scale != 1.0 &&
      Dispatch(vst::effVendorSpecific, vst::FourCC('P', 'r', 'e', 'S'),
               vst::FourCC('A', 'e', 'C', 's'), nullptr, static_cast<float>(scale)) == 0) {
    return "the editor did not take the scale";
  }
  if (Dispatch(vst::effEditOpen) == 0) {
    return "the editor did not open";
  }
  // The first tick after opening paints every control.
  window_->TimerTick();
  return std::string();
}

}  // namespace velmora::snapshot
