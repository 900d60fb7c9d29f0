// What the engine writes into the editor's display records: the range of each modulation
// strip, its marker position at the end of a block, and the bypass lamp.
#include <cmath>

#include "engine/delay_engine.h"

namespace velmora::dsp {

// A strip shows the filter coefficient between its value at 20 Hz and twice its value at
// 20 kHz (the top of a full-depth sweep) while the side's filter runs, otherwise the
// linked quantity over its range. When both sides link the same target only the left one
// moves it, and the right strip shows the disabled look.
void DelayEngine::RefreshGraphRange(bool left) {
  const SweepSide& side = left ? left_ : right_;
  GraphDisplay& graph = left ? graphLeft_ : graphRight_;
  if (side.filterType != kFilterOff) {
    graph.lower.store(static_cast<float>(1.0 - std::exp(-125.66370614359172 / engineSampleRate_)),
                      std::memory_order_relaxed);
    const float top = static_cast<float>(1.0 - std::exp(-125663.70614359173 / engineSampleRate_));
    graph.upper.store(top * 2.0f, std::memory_order_relaxed);
  } else if (side.linkTarget == kLinkOff) {
    graph.upper.store(0.0f, std::memory_order_relaxed);
    graph.lower.store(0.0f, std::memory_order_relaxed);
    graph.current.store(-1.0f, std::memory_order_relaxed);
  } else if (left_.linkTarget == right_.linkTarget) {
    graphRight_.lower.store(-1.0f, std::memory_order_relaxed);
    graphRight_.upper.store(-1.0f, std::memory_order_relaxed);
  } else {
    graph.lower.store(0.0f, std::memory_order_relaxed);
    graph.upper.store(side.linkTarget == kLinkFeedback ? 0.99f : 1.0f, std::memory_order_relaxed);
  }
}

void DelayEngine::UpdateDisplaysAtBlockEnd(bool bypassedAtStart) {
  const bool bypassedNow = Bypassed();
  if (bypassedNow != bypassedAtStart) {
    lamp_.state.store(!bypassedNow, std::memory_order_relaxed);
    if (lampListener_ != nullptr) {
      lampListener_->OnLampChanged(!bypassedNow);
    }
  }
  // A running filter's strip got its last coefficient inside the block; a strip without a
  // filter shows where its linked quantity now stands.
  if (left_.filterType == kFilterOff && left_.linkTarget > kLinkOff &&
      left_.linkTarget < kLinkSlotCount) {
    graphLeft_.current.store(gains_.current[left_.linkTarget], std::memory_order_relaxed);
  }
  if (right_.filterType == kFilterOff && right_.linkTarget > kLinkOff &&
      right_.linkTarget < kLinkSlotCount) {
    graphRight_.current.store(gains_.current[right_.linkTarget], std::memory_order_relaxed);
  }
}

}  // namespace velmora::dsp
