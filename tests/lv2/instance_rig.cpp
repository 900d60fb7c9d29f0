#include "tests/lv2/instance_rig.h"

#include <lv2/time/time.h>

#include <algorithm>

#include "lv2/port_index.h"

namespace velmora::lv2::testing {
namespace {

constexpr size_t kAtomBytes = 16384;

}  // namespace

InstanceRig::InstanceRig(double rate, bool withMap)
    : time_(kAtomBytes / sizeof(uint64_t)), notify_(kAtomBytes / sizeof(uint64_t)) {
  std::copy(std::begin(kDefaultControls), std::end(kDefaultControls), controls_);
  instance_ = DelayInstance::Create(rate, withMap ? urids_.MapFeature() : nullptr);
  if (!instance_) {
    return;
  }
  lv2_atom_forge_init(&forge_, urids_.MapFeature());
  position_ = urids_.Map(LV2_TIME__Position);
  beatsPerMinute_ = urids_.Map(LV2_TIME__beatsPerMinute);
  frame_ = urids_.Map(LV2_TIME__frame);
  speed_ = urids_.Map(LV2_TIME__speed);
  for (int i = 0; i < kVelmoraParamCount; ++i) {
    instance_->ConnectPort(ParamPort(i), &controls_[i]);
  }
  instance_->ConnectPort(kPortTime, time_.data());
  instance_->ConnectPort(kPortNotify, notify_.data());
  ResetTime();
  instance_->Activate();
}

void InstanceRig::ResetTime() {
  lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<uint8_t*>(time_.data()), kAtomBytes);
  lv2_atom_forge_sequence_head(&forge_, &sequence_, 0);
}

void InstanceRig::QueueTime(float beatsPerMinute, int64_t frame, float speed, uint32_t at) {
  LV2_Atom_Forge_Frame object;
  lv2_atom_forge_frame_time(&forge_, at);
  lv2_atom_forge_object(&forge_, &object, 0, position_);
  lv2_atom_forge_key(&forge_, beatsPerMinute_);
  lv2_atom_forge_float(&forge_, beatsPerMinute);
  lv2_atom_forge_key(&forge_, frame_);
  lv2_atom_forge_long(&forge_, frame);
  lv2_atom_forge_key(&forge_, speed_);
  lv2_atom_forge_float(&forge_, speed);
  lv2_atom_forge_pop(&forge_, &object);
}

void InstanceRig::Run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                      uint32_t frames) {
  instance_->ConnectPort(kPortInputLeft, const_cast<float*>(inLeft));
  instance_->ConnectPort(kPortInputRight, const_cast<float*>(inRight));
  instance_->ConnectPort(kPortOutputLeft, outLeft);
  instance_->ConnectPort(kPortOutputRight, outRight);
  auto* notify = reinterpret_cast<LV2_Atom_Sequence*>(notify_.data());
  notify->atom.type = 0;
  notify->atom.size = kAtomBytes - sizeof(LV2_Atom);
  instance_->Run(frames);
  ResetTime();
}

StereoSignal RenderBlocks(InstanceRig& rig, const StereoSignal& input, uint32_t block) {
  StereoSignal output{std::vector<float>(input.left.size()),
                      std::vector<float>(input.right.size())};
  for (size_t done = 0; done < input.left.size();) {
    const auto frames = static_cast<uint32_t>(std::min<size_t>(block, input.left.size() - done));
    rig.Run(&input.left[done], &input.right[done], &output.left[done], &output.right[done], frames);
    done += frames;
  }
  return output;
}

}  // namespace velmora::lv2::testing
