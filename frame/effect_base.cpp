#include "frame/effect_base.h"

#include <cstdio>

#include "frame/text_field.h"

namespace velmora {

IEffectBase::IEffectBase(const EffectSetup& setup)
    : uniqueId_(setup.uniqueId),
      manufacturerCode_(setup.manufacturerCode),
      version_(setup.version),
      midiCapability_(setup.midiCapability),
      usesChunks_(setup.usesChunks),
      isInstrument_(setup.isInstrument),
      latency_(setup.latency) {
  params_.resize(setup.numParams > 0 ? static_cast<size_t>(setup.numParams) : 0);
  for (int i = 0; i < setup.numPrograms; ++i) {
    AddProgramRecord();
  }
  CopyText(effectName_, kNameSize, setup.effectName);
  CopyText(productName_, kNameSize, setup.productName);
  CopyText(vendorName_, kNameSize, setup.vendorName);
  CreateChannels(setup.channelIO);
}

// Members free themselves; the editor goes first so it never outlives the parameters it shows.
IEffectBase::~IEffectBase() {
  DeleteEditor();
}

// The editor is detached under the lock but deleted outside it: its window thread may still
// be waiting for the lock and has to be able to finish before the editor is gone.
void IEffectBase::DeleteEditor() {
  std::unique_ptr<EditorLink> editor;
  {
    LockGuard guard(lock_);
    editor = std::move(editor_);
  }
  editor.reset();
}

void IEffectBase::ResetEngine() {
  LockGuard guard(lock_);
}

void IEffectBase::ApplyParameter(int) {
  LockGuard guard(lock_);
}

void IEffectBase::SetActive(bool) {
  LockGuard guard(lock_);
}

void IEffectBase::ReceiveMidi(int, int, int, int) {}

void IEffectBase::ReceiveSysEx(int, int, const uint8_t*) {}

bool IEffectBase::NameMidiKey(int, char* text) {
  if (text != nullptr) {
    text[0] = '\0';
  }
  return false;
}

int IEffectBase::HostKind() {
  return hostKind_;
}

void IEffectBase::StoreHostKind(int kind, int version) {
  hostKind_ = kind;
  hostVersion_ = version;
}

void IEffectBase::AttachEditor(EditorLink* editor) {
  if (editor == nullptr) {
    return;
  }
  LockGuard guard(lock_);
  for (int i = 0; i < NumParams(); ++i) {
    editor->ShowParamValue(i, params_[i].NormalisedValue(), true);
  }
  editor->PrepareEditor();
  editor_.reset(editor);
}

int32_t IEffectBase::VersionNumber(bool decimal) const {
  if (!decimal) {
    return version_;
  }
  const int32_t major = (version_ >> 16) & 0xFFFF;
  const int32_t minor = (version_ >> 8) & 0xFF;
  const int32_t patch = version_ & 0xFF;
  return major * 10000 + minor * 100 + patch;
}

void IEffectBase::VersionText(char* text, int size) const {
  if (text == nullptr || size <= 0) {
    return;
  }
  // Integer conversions of printf do not depend on the locale (no grouping without the ' flag).
  char full[40];
  std::snprintf(full, sizeof(full), "v%d.%02d", (version_ >> 16) & 0xFFFF, (version_ >> 8) & 0xFF);
  CopyText(text, static_cast<size_t>(size), full);
}

IEffectParam* IEffectBase::Param(int index) {
  return IsValidParam(index) ? &params_[static_cast<size_t>(index)] : nullptr;
}

const IEffectParam* IEffectBase::Param(int index) const {
  return IsValidParam(index) ? &params_[static_cast<size_t>(index)] : nullptr;
}

void IEffectBase::ApplyAllParameters() {
  LockGuard guard(lock_);
  for (int i = 0; i < NumParams(); ++i) {
    ApplyParameter(i);
  }
}

}  // namespace velmora
