#include "tools/editorcheck/headless_reference.h"

#include "editor/headless/headless_editor_window.h"
#include "frame/effect_vst.h"
#include "graphics/bitmap_cache.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host);

namespace velmora::editorcheck {
namespace {

constexpr int32_t kBackgroundId = 100;

intptr_t AnswerHost(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == vst::audioMasterVersion ? 2400 : 0;
}

}  // namespace

HeadlessReference::~HeadlessReference() {
  if (effect_ != nullptr) {
    effect_->dispatcher(effect_, vst::effEditClose, 0, 0, nullptr, 0.0f);
    effect_->dispatcher(effect_, vst::effMainsChanged, 0, 0, nullptr, 0.0f);
    effect_->dispatcher(effect_, vst::effClose, 0, 0, nullptr, 0.0f);
  }
}

std::string HeadlessReference::Paint(double scale) {
  effect_ = VSTPluginMain(&AnswerHost);
  if (effect_ == nullptr) {
    return "the in-process instance could not be created";
  }
  auto dispatch = [this](int32_t opcode, intptr_t value, void* ptr, float opt) {
    return effect_->dispatcher(effect_, opcode, 0, value, ptr, opt);
  };
  dispatch(vst::effOpen, 0, nullptr, 0.0f);
  dispatch(vst::effSetSampleRate, 0, nullptr, 44100.0f);
  dispatch(vst::effSetBlockSize, 512, nullptr, 0.0f);
  dispatch(vst::effMainsChanged, 1, nullptr, 0.0f);
  IEffectVST* plugin = IEffectVST::FromEffect(effect_);
  auto* window =
      plugin != nullptr ? dynamic_cast<HeadlessEditorWindow*>(plugin->Editor()) : nullptr;
  if (window == nullptr) {
    return "the in-process instance has no headless editor";
  }
  if (scale != 1.0) {
    effect_->dispatcher(effect_, vst::effVendorSpecific, vst::FourCC('P', 'r', 'e', 'S'),
                        vst::FourCC('A', 'e', 'C', 's'), nullptr, static_cast<float>(scale));
  }
  int parent = 0;
  if (dispatch(vst::effEditOpen, 0, &parent, 0.0f) != 1) {
    return "the headless editor did not open";
  }
  window->TimerTick();
  picture_ = &window->WindowImage();
  return std::string();
}

const PixelImage* HeadlessReference::Background() const {
  return BitmapCache::Instance().Find(kBackgroundId);
}

}  // namespace velmora::editorcheck
