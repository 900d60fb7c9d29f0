// The edit controller: parameter records, texts and values, the program selector, the
// bypass switch and the view.
#include <cmath>
#include <cstring>

#include "frame/effect_param.h"
#include "frame/text_field.h"
#include "frame/vst2.h"
#include "plugin/velmora_plugin.h"
#include "vst3/utf16_text.h"
#include "vst3/velmora_view.h"
#include "vst3/velmora_vst3.h"

namespace velmora::vst3 {
namespace {

// The shaped parameters spend the control's travel unevenly on their range: a host that
// quantised the normalised value to evenly spaced steps would make values unreachable, so
// they are announced as continuous. Every other parameter steps through whole values.
int32_t StepCountOf(const IEffectParam& param) {
  if (param.Shape() != 1.0) {
    return 0;
  }
  return static_cast<int32_t>(std::lround((param.Maximum() - param.Minimum()) / param.Step()));
}

}  // namespace

tresult VelmoraVst3::setComponentState(IBStream* state) {
  // One object: the component state is already this object's state; reading it again
  // keeps a host that restores both halves from a copy consistent.
  return SetComponentState(state);
}

int32_t VelmoraVst3::getParameterCount() {
  return effect_ ? kParameterCount : 0;
}

tresult VelmoraVst3::getParameterInfo(int32_t index, ParameterInfo& info) {
  if (!effect_ || index < 0 || index >= kParameterCount) {
    return kInvalidArgument;
  }
  info = ParameterInfo{};
  info.id = static_cast<ParamID>(index);
  info.unitId = kRootUnitId;
  if (info.id == kProgramParamId) {
    CopyToUtf16("Program", info.title, 128);
    CopyToUtf16("Program", info.shortTitle, 128);
    info.stepCount = effect_->Plugin().NumPrograms() - 1;
    info.flags =
        ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsProgramChange;
    return kResultOk;
  }
  if (info.id == kBypassParamId) {
    CopyToUtf16("Bypass", info.title, 128);
    CopyToUtf16("Bypass", info.shortTitle, 128);
    info.stepCount = 1;
    info.flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass;
    return kResultOk;
  }
  binding::ParamInfo declared;
  const IEffectParam* param = effect_->Plugin().Param(index);
  if (param == nullptr || !effect_->Info(index, declared)) {
    return kInvalidArgument;
  }
  CopyToUtf16(declared.name, info.title, 128);
  CopyToUtf16(declared.name, info.shortTitle, 128);
  CopyToUtf16(declared.unit, info.units, 128);
  info.stepCount = StepCountOf(*param);
  info.defaultNormalizedValue = effect_->ToNormalised(index, declared.defaultValue);
  info.flags = ParameterInfo::kCanAutomate | (declared.enumerated ? ParameterInfo::kIsList : 0);
  return kResultOk;
}

// The texts of the VST 2 plug-in: the value a normalised position lands on (rounded to its
// step, as setting it would) in the frame's own display format, without the unit, which
// hosts show from the parameter record.
tresult VelmoraVst3::getParamStringByValue(ParamID id, ParamValue normalized, String128 text) {
  if (!effect_ || text == nullptr || !std::isfinite(normalized)) {
    return kInvalidArgument;
  }
  char display[256] = {};
  if (id == kProgramParamId) {
    const int program = static_cast<int>(normalizedParamToPlain(id, normalized));
    CopyText(display, sizeof display, effect_->Plugin().ProgramName(program));
  } else if (id == kBypassParamId) {
    CopyText(display, sizeof display, normalized >= 0.5 ? "On" : "Off");
  } else {
    const IEffectParam* param = effect_->Plugin().Param(static_cast<int>(id));
    if (param == nullptr || id >= kProgramParamId) {
      return kInvalidArgument;
    }
    char field[IEffectParam::kTextSize] = {};
    param->FormatValue(normalizedParamToPlain(id, normalized), false, field);
    CopyText(display, sizeof display, field);
  }
  CopyToUtf16(display, text, 128);
  return kResultOk;
}

tresult VelmoraVst3::getParamValueByString(ParamID id, char16* text, ParamValue& normalized) {
  if (!effect_ || text == nullptr || id >= kProgramParamId) {
    return kInvalidArgument;
  }
  char typed[512];
  CopyToUtf8(text, 128, typed, sizeof typed);
  double plain = 0.0;
  if (!effect_->ParsePlain(static_cast<int>(id), typed, plain)) {
    return kResultFalse;
  }
  normalized = effect_->ToNormalised(static_cast<int>(id), plain);
  return kResultOk;
}

ParamValue VelmoraVst3::normalizedParamToPlain(ParamID id, ParamValue normalized) {
  if (!effect_ || !std::isfinite(normalized)) {
    return 0.0;
  }
  const double n = std::fmin(std::fmax(normalized, 0.0), 1.0);
  if (id == kProgramParamId) {
    return std::round(n * (effect_->Plugin().NumPrograms() - 1));
  }
  if (id == kBypassParamId) {
    return n >= 0.5 ? 1.0 : 0.0;
  }
  return id < kProgramParamId ? effect_->ToPlain(static_cast<int>(id), n) : 0.0;
}

ParamValue VelmoraVst3::plainParamToNormalized(ParamID id, ParamValue plain) {
  if (!effect_ || !std::isfinite(plain)) {
    return 0.0;
  }
  if (id == kProgramParamId) {
    const double last = effect_->Plugin().NumPrograms() - 1;
    return std::fmin(std::fmax(plain / last, 0.0), 1.0);
  }
  if (id == kBypassParamId) {
    return plain >= 0.5 ? 1.0 : 0.0;
  }
  return id < kProgramParamId ? effect_->ToNormalised(static_cast<int>(id), plain) : 0.0;
}

ParamValue VelmoraVst3::getParamNormalized(ParamID id) {
  if (!effect_) {
    return 0.0;
  }
  if (id == kProgramParamId) {
    return plainParamToNormalized(id, CurrentProgram());
  }
  if (id == kBypassParamId) {
    return bypass_.load() ? 1.0 : 0.0;
  }
  return id < kProgramParamId ? effect_->NormalisedValue(static_cast<int>(id)) : 0.0;
}

// The host's value reaches the plug-in at once, as a VST 2 setParameter does: a host that
// also queues it for the processor then sends a value the engine already has.
tresult VelmoraVst3::setParamNormalized(ParamID id, ParamValue normalized) {
  if (!effect_) {
    return kNotInitialized;
  }
  if (!std::isfinite(normalized) || id >= static_cast<ParamID>(kParameterCount)) {
    return kInvalidArgument;
  }
  if (id == kProgramParamId) {
    SelectProgram(static_cast<int>(normalizedParamToPlain(id, normalized)));
    gestures_.Drain();
    return kResultOk;
  }
  if (id == kBypassParamId) {
    bypass_.store(normalized >= 0.5);
    return kResultOk;
  }
  return effect_->SetNormalised(static_cast<int>(id), std::fmin(std::fmax(normalized, 0.0), 1.0))
             ? kResultOk
             : kResultFalse;
}

int VelmoraVst3::CurrentProgram() {
  VSTCLASS& plugin = effect_->Plugin();
  return static_cast<int>(plugin.Dispatch({vst::effGetProgram, 0, 0, nullptr, 0.0f}));
}

void VelmoraVst3::SelectProgram(int program) {
  VSTCLASS& plugin = effect_->Plugin();
  if (program < 0 || program >= plugin.NumPrograms() || program == CurrentProgram()) {
    return;
  }
  plugin.Dispatch({vst::effSetProgram, 0, program, nullptr, 0.0f});
  gestures_.NoteValuesChanged();
}

tresult VelmoraVst3::setComponentHandler(IComponentHandler* handler) {
  gestures_.SetHandler(handler);
  return kResultOk;
}

IPlugView* VelmoraVst3::createView(const char* name) {
  if (!effect_ || name == nullptr || std::strcmp(name, kEditorViewType) != 0) {
    return nullptr;
  }
  return VelmoraView::Create(this);
}

}  // namespace velmora::vst3
