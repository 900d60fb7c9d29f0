// Parameters, their texts and the factory programs of the hosted plug-in, through the same
// parameter records the VST 2 dispatcher uses.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "binding/hosted_effect.h"
#include "binding/state_chunk.h"
#include "plugin/velmora_plugin.h"

namespace velmora::binding {

bool HostedEffect::Info(int index, ParamInfo& info) const {
  if (index < 0 || index >= ParamCount()) {
    return false;
  }
  const IEffectParam& param = *plugin_->Param(index);
  info.name = param.Name();
  info.unit = param.Label();
  info.minimum = param.Minimum();
  info.maximum = param.Maximum();
  info.defaultValue = defaults_[index];
  info.stepped = param.ParamType() != IEffectParam::kTypeDouble;
  info.enumerated = param.DisplayTextCount() > 0;
  return true;
}

double HostedEffect::PlainValue(int index) const {
  if (index < 0 || index >= ParamCount()) {
    return 0.0;
  }
  LockGuard guard(plugin_->InstanceLock());
  return plugin_->Param(index)->Value();
}

double HostedEffect::NormalisedValue(int index) const {
  return ToNormalised(index, PlainValue(index));
}

double HostedEffect::ToNormalised(int index, double plain) const {
  if (index < 0 || index >= ParamCount() || !std::isfinite(plain)) {
    return 0.0;
  }
  return plugin_->Param(index)->ToNormalised(plain);
}

double HostedEffect::ToPlain(int index, double normalised) const {
  if (index < 0 || index >= ParamCount() || !std::isfinite(normalised)) {
    return 0.0;
  }
  // The store's own mapping, without touching the store, so it may run on the audio thread.
  return plugin_->Param(index)->FromNormalised(std::fmin(std::fmax(normalised, 0.0), 1.0));
}

// The path of the VST 2 host text (effString2Parameter): round to the step, clamp, show in the
// editor, apply. No automation goes back to the host: it made the change.
bool HostedEffect::SetPlain(int index, double plain) {
  if (index < 0 || index >= ParamCount() || !std::isfinite(plain)) {
    return false;
  }
  LockGuard guard(plugin_->InstanceLock());
  IEffectParam& param = *plugin_->Param(index);
  param.SetClampedValue(plain);
  if (EditorLink* editor = plugin_->Editor()) {
    editor->ShowParamValue(index, param.Value(), false);
  }
  plugin_->ApplyParameter(index);
  return true;
}

bool HostedEffect::SetNormalised(int index, double normalised) {
  if (index < 0 || index >= ParamCount() || !std::isfinite(normalised)) {
    return false;
  }
  plugin_->SetParamFromHost(index, normalised);
  return true;
}

bool HostedEffect::FormatPlain(int index, double plain, char* text, size_t size) const {
  if (index < 0 || index >= ParamCount() || text == nullptr || size == 0 || !std::isfinite(plain)) {
    return false;
  }
  const IEffectParam& param = *plugin_->Param(index);
  char display[IEffectParam::kTextSize] = {};
  param.FormatValue(plain, false, display);
  const bool named = param.DisplayTextFor(static_cast<int>(plain)) != nullptr;
  const int length = param.Label()[0] != '\0' && !named
                         ? std::snprintf(text, size, "%s %s", display, param.Label())
                         : std::snprintf(text, size, "%s", display);
  return length >= 0 && static_cast<size_t>(length) < size;
}

// A display text names its value exactly; otherwise the text must start with a finite
// number (the unit after it is optional), read as the VST 2 text entry reads it.
bool HostedEffect::ParsePlain(int index, const char* text, double& plain) const {
  if (index < 0 || index >= ParamCount() || text == nullptr) {
    return false;
  }
  return plugin_->Param(index)->ReadValue(text, plain) && std::isfinite(plain);
}

// The programs in use from construction: the default one and the factory programs after it.
// A host lists only those carrying values (the default one has none until it is left).
int HostedEffect::CountFactoryPrograms() const {
  int count = 0;
  for (int i = 1; i < plugin_->NumPrograms(); ++i) {
    const IEffectPreset* program = plugin_->Program(i);
    if (program == nullptr || !program->initialised || program->state.Empty()) {
      break;
    }
    ++count;
  }
  return count;
}

std::string HostedEffect::ProgramName(int index) const {
  if (index < 0 || index >= factoryPrograms_) {
    return "";
  }
  LockGuard guard(plugin_->InstanceLock());
  return plugin_->ProgramName(index + 1);
}

// Loads the factory values themselves, whatever the instance did to its program list since,
// through the same chunk path a saved state takes.
bool HostedEffect::LoadProgram(int index) {
  if (index < 0 || index >= factoryPrograms_) {
    return false;
  }
  uint8_t chunk[kStateSize] = {};
  {
    LockGuard guard(plugin_->InstanceLock());
    const IEffectPreset* program = plugin_->Program(index + 1);
    if (program == nullptr || program->state.Size() != static_cast<int>(kStateSize - 4)) {
      return false;
    }
    std::memcpy(chunk + kStateVersionBytes, program->state.Data(), kStateSize - 4);
  }
  const int32_t version = kStateVersion;
  for (size_t i = 0; i < kStateVersionBytes; ++i) {
    chunk[i] = static_cast<uint8_t>(static_cast<uint32_t>(version) >> (8 * i));
  }
  return LoadState(chunk, kStateSize);
}

int HostedEffect::CurrentProgram() const {
  return plugin_->CurrentProgram();
}

}  // namespace velmora::binding
