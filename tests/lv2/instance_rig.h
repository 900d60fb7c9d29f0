// A DelayInstance driven in-process, as a host drives it through the descriptor: ports
// connected to plain buffers, controls at their defaults, time:Position messages forged
// into the time port.
#pragma once

#include <lv2/atom/forge.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "lv2/delay_instance.h"
#include "tests/lv2/lilv_host.h"

namespace velmora::lv2::testing {

// The defaults the bundle states, in parameter order.
inline constexpr float kDefaultControls[kVelmoraParamCount] = {
    9, 2, 100, 60, 3000, 40, 1, 50, 12, 0, 50, 3000, 40, 1, 50, 12, 0, 50, 1, 100, 60, -60};

class InstanceRig {
 public:
  explicit InstanceRig(double rate, bool withMap = true);

  bool Valid() const { return instance_ != nullptr; }
  DelayInstance& Instance() { return *instance_; }
  UridMap& Urids() { return urids_; }

  void SetControl(int index, float value) { controls_[index] = value; }
  void QueueTime(float beatsPerMinute, int64_t frame, float speed, uint32_t at = 0);

  // Runs frames frames of the given stereo input (left, right) into left and right.
  void Run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
           uint32_t frames);

  const LV2_Atom_Sequence* Notify() const {
    return reinterpret_cast<const LV2_Atom_Sequence*>(notify_.data());
  }

 private:
  void ResetTime();

  UridMap urids_;
  std::unique_ptr<DelayInstance> instance_;
  float controls_[kVelmoraParamCount];
  std::vector<uint64_t> time_;
  std::vector<uint64_t> notify_;
  LV2_Atom_Forge forge_{};
  LV2_Atom_Forge_Frame sequence_{};
  // Mapped once, so forging a message allocates nothing.
  LV2_URID position_ = 0;
  LV2_URID beatsPerMinute_ = 0;
  LV2_URID frame_ = 0;
  LV2_URID speed_ = 0;
};

// Renders interleaved-free stereo: left and right of equal length, in blocks of block.
struct StereoSignal {
  std::vector<float> left;
  std::vector<float> right;
};

StereoSignal RenderBlocks(InstanceRig& rig, const StereoSignal& input, uint32_t block);

}  // namespace velmora::lv2::testing
