// The params extension: the 22 parameters in their own units (stepped, enumerations marked),
// the VST 2 plug-in's texts, and flush for value changes and gestures outside processing.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "clap/clap_extensions.h"
#include "clap/clap_plugin.h"

namespace velmora::clap {
namespace {

// Parameter ids are the parameter indexes, the one numbering every format and chunk shares.
bool Declared(ClapPlugin& self, Id id) {
  return id < static_cast<Id>(self.Effect().ParamCount());
}

uint32_t Count(const Plugin* plugin) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self != nullptr && self->OnMainThreadCheck()
             ? static_cast<uint32_t>(self->Effect().ParamCount())
             : 0;
}

bool GetInfo(const Plugin* plugin, uint32_t index, ParamInfo* info) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  binding::ParamInfo param;
  if (self == nullptr || info == nullptr || !self->OnMainThreadCheck() ||
      !self->Effect().Info(static_cast<int>(index), param)) {
    return false;
  }
  std::memset(info, 0, sizeof(*info));
  info->id = index;
  info->flags = kParamIsAutomatable | (param.stepped ? kParamIsStepped : 0u) |
                (param.enumerated ? kParamIsEnum : 0u);
  std::snprintf(info->name, sizeof(info->name), "%s", param.name);
  info->minValue = param.minimum;
  info->maxValue = param.maximum;
  info->defaultValue = std::fmin(std::fmax(param.defaultValue, param.minimum), param.maximum);
  return true;
}

bool GetValue(const Plugin* plugin, Id id, double* value) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr || value == nullptr || !Declared(*self, id)) {
    return false;
  }
  *value = self->Effect().PlainValue(static_cast<int>(id));
  return true;
}

bool ValueToText(const Plugin* plugin, Id id, double value, char* text, uint32_t capacity) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr || !Declared(*self, id) || !self->OnMainThreadCheck()) {
    return false;
  }
  return self->Effect().FormatPlain(static_cast<int>(id), value, text, capacity);
}

bool TextToValue(const Plugin* plugin, Id id, const char* text, double* value) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  double plain = 0.0;
  if (self == nullptr || value == nullptr || !Declared(*self, id) || !self->OnMainThreadCheck() ||
      !self->Effect().ParsePlain(static_cast<int>(id), text, plain)) {
    return false;
  }
  binding::ParamInfo info;
  self->Effect().Info(static_cast<int>(id), info);
  *value = std::fmin(std::fmax(std::floor(plain + 0.5), info.minimum), info.maximum);
  return true;
}

void Flush(const Plugin* plugin, const InputEvents* in, const OutputEvents* out) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr) {
    return;
  }
  if (self->Active() ? !self->OnAudioThreadCheck() && !self->OnMainThreadCheck()
                     : !self->OnMainThreadCheck()) {
    return;
  }
  self->Flush(in, out);
}

}  // namespace

const PluginParams kParamsExtension = {&Count,       &GetInfo,     &GetValue,
                                       &ValueToText, &TextToValue, &Flush};

}  // namespace velmora::clap
