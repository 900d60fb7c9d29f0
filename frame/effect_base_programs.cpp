// The program list: factory and user programs, selection, naming and saving.
#include <cstdio>
#include <cstring>

#include "frame/effect_base.h"
#include "frame/text_field.h"

namespace velmora {
namespace {

constexpr const char* kUserProgramText = "user preset";

}  // namespace

const IEffectPreset* IEffectBase::Program(int index) const {
  if (index < 0 || index >= NumPrograms()) {
    return nullptr;
  }
  return &programs_[static_cast<size_t>(index)];
}

void IEffectBase::AddProgramRecord() {
  programs_.emplace_back();
  IEffectPreset& program = programs_.back();
  std::snprintf(program.name, sizeof(program.name), "- %d -", NumPrograms());
  // Storing a program (every program change) then never allocates.
  program.state.ReserveExactly(NumParams() * kParamValueBytes);
}

void IEffectBase::AddProgram(const char* name, std::initializer_list<double> values) {
  AddProgram(name, values.begin(), static_cast<int>(values.size()));
}

void IEffectBase::AddProgram(const char* name, const double* values, int count) {
  LockGuard guard(lock_);
  for (IEffectPreset& program : programs_) {
    if (program.initialised) {
      continue;
    }
    program.initialised = true;
    CopyText(program.name, sizeof(program.name), name);
    program.state.Clear();
    for (int i = 0; i < NumParams(); ++i) {
      const IEffectParam& param = params_[i];
      double value = i < count ? values[i] : param.Value();
      if (i < count && param.ParamType() != IEffectParam::kTypeDouble) {
        value = static_cast<int>(value);
      }
      program.state.AppendDouble(value);
    }
    return;
  }
}

void IEffectBase::NameDefaultPrograms(const char* name, int count) {
  LockGuard guard(lock_);
  for (int n = 0; n < count; ++n) {
    for (IEffectPreset& program : programs_) {
      if (!program.initialised) {
        program.initialised = true;
        CopyText(program.name, sizeof(program.name), name != nullptr ? name : "Default");
        break;
      }
    }
  }
}

void IEffectBase::EnsureOneProgram() {
  LockGuard guard(lock_);
  if (programs_.empty()) {
    AddProgramRecord();
    NameDefaultPrograms(nullptr, 1);
  }
}

bool IEffectBase::LoadProgram(int index) {
  LockGuard guard(lock_);
  if (index < 0 || index >= NumPrograms()) {
    return false;
  }
  IEffectPreset& program = programs_[static_cast<size_t>(index)];
  bool loaded = true;
  if (!program.initialised) {
    program.initialised = true;
    NextUserProgramName(program.name);
  } else {
    loaded = ReadParams(program.state, 0) > 0;
  }
  if (loaded) {
    currentProgram_ = index;
    RefreshEditorControls();
  }
  return loaded;
}

void IEffectBase::StoreCurrentProgram(const char* name) {
  LockGuard guard(lock_);
  if (currentProgram_ < 0 || currentProgram_ >= NumPrograms()) {
    return;
  }
  IEffectPreset& program = programs_[static_cast<size_t>(currentProgram_)];
  program.state.Clear();
  WriteParams(program.state);
  if (name != nullptr && name[0] != '\0') {
    CopyText(program.name, sizeof(program.name), name);
  }
}

void IEffectBase::NextUserProgramName(char* text) const {
  int taken = 0;
  for (const IEffectPreset& program : programs_) {
    if (std::strstr(program.name, kUserProgramText) != nullptr) {
      ++taken;
    }
  }
  std::snprintf(text, IEffectPreset::kNameSize, "%s %d", kUserProgramText, taken + 1);
}

const char* IEffectBase::ProgramName(int index) const {
  const IEffectPreset* program = Program(index);
  return program != nullptr ? program->name : "";
}

}  // namespace velmora
