// The audio path: a host block in segments between its events, each segment through the
// effect record's replacing callbacks, exactly as a VST 2 host's block of that length.
#include <algorithm>
#include <cmath>

#include "binding/hosted_effect.h"
#include "engine/delay_engine.h"
#include "engine/note_length.h"
#include "engine/parameter_index.h"
#include "plugin/velmora_plugin.h"

namespace velmora::binding {
namespace {

constexpr int kMaxChannels = 2;

}  // namespace

bool HostedEffect::Process(const AudioBlock& block, const Transport& transport,
                           const BlockEvent* events, uint32_t eventCount) {
  if (!active_ || block.frames > maxFrames_ || block.inputChannels < 0 ||
      block.outputChannels < 0) {
    SilenceOutputs(block);
    ApplyEvents(events, eventCount);
    return false;
  }
  transport_ = transport;
  uint32_t done = 0;
  for (uint32_t e = 0; events != nullptr && e < eventCount; ++e) {
    const uint32_t at = EffectiveOffset(events[e].offset, done, block.frames);
    if (at > done) {
      ProcessSegment(block, done, at - done);
      done = at;
    }
    if (events[e].kind == BlockEvent::kTransport) {
      // The new transport holds from its frame on: its position is that frame's.
      transport_ = Advanced(events[e].transport, -static_cast<double>(at), sampleRate_);
    } else {
      ApplyEvent(events[e]);
    }
  }
  // A block of no frames still reaches the engine once, as a VST 2 host's does.
  if (done < block.frames || block.frames == 0) {
    ProcessSegment(block, done, block.frames - done);
  }
  segmentOffset_ = 0;
  return true;
}

void HostedEffect::ApplyEvents(const BlockEvent* events, uint32_t eventCount) {
  for (uint32_t e = 0; events != nullptr && e < eventCount; ++e) {
    if (events[e].kind == BlockEvent::kTransport) {
      transport_ = events[e].transport;
    } else {
      ApplyEvent(events[e]);
    }
  }
}

void HostedEffect::ApplyEvent(const BlockEvent& event) {
  if (event.kind == BlockEvent::kParamPlain) {
    SetPlain(event.index, event.value);
  } else if (event.kind == BlockEvent::kParamNormalised) {
    SetNormalised(event.index, event.value);
  }
}

void HostedEffect::ProcessSegment(const AudioBlock& block, uint32_t offset, uint32_t frames) {
  segmentOffset_ = offset;
  const int ins = std::min(block.inputChannels, kMaxChannels);
  const int outs = std::min(block.outputChannels, kMaxChannels);
  const auto count = static_cast<int32_t>(frames);
  if (block.out64 != nullptr) {
    double* in[kMaxChannels] = {};
    double* out[kMaxChannels] = {};
    for (int c = 0; c < ins && block.in64 != nullptr; ++c) {
      // The engine reads its inputs only; the record's type has no const.
      in[c] = block.in64[c] != nullptr ? const_cast<double*>(block.in64[c]) + offset : nullptr;
    }
    for (int c = 0; c < outs; ++c) {
      out[c] = block.out64[c] != nullptr ? block.out64[c] + offset : nullptr;
    }
    effect_->processDoubleReplacing(effect_, in, out, count);
    return;
  }
  float* in[kMaxChannels] = {};
  float* out[kMaxChannels] = {};
  for (int c = 0; c < ins && block.in32 != nullptr; ++c) {
    in[c] = block.in32[c] != nullptr ? const_cast<float*>(block.in32[c]) + offset : nullptr;
  }
  for (int c = 0; c < outs && block.out32 != nullptr; ++c) {
    out[c] = block.out32[c] != nullptr ? block.out32[c] + offset : nullptr;
  }
  effect_->processReplacing(effect_, in, out, count);
}

void HostedEffect::SilenceOutputs(const AudioBlock& block) {
  for (int c = 0; c < block.outputChannels; ++c) {
    if (block.out64 != nullptr && block.out64[c] != nullptr) {
      std::fill(block.out64[c], block.out64[c] + block.frames, 0.0);
    } else if (block.out64 == nullptr && block.out32 != nullptr && block.out32[c] != nullptr) {
      std::fill(block.out32[c], block.out32[c] + block.frames, 0.0f);
    }
  }
}

bool HostedEffect::Bypassed() const {
  return plugin_->Engine().Bypassed();
}

// The loop feeds back from twice the delay time with a gain of feedback / 101, so it falls
// 100 dB after log(1e-5) / log(gain) rounds; the left tap, up to 2.5 delay times, comes last.
// A sweep that moves the feedback may raise it to the full gain, so it counts as endless.
uint32_t HostedEffect::TailSamples() const {
  LockGuard guard(plugin_->InstanceLock());
  const double feedback = plugin_->Param(kFeedback)->Value();
  constexpr int kLinkFeedback = 2;
  if (feedback >= 100.0 || plugin_->Param(kLeftSweepLink)->Value() == kLinkFeedback ||
      plugin_->Param(kRightSweepLink)->Value() == kLinkFeedback) {
    return UINT32_MAX;
  }
  // The note length the engine plays at: the host's tempo, or its stand-in tempo where the
  // host gives none it can use; before the first block, the stand-in's.
  const double played = plugin_->Engine().SamplesPerWhole();
  const double whole = played > 0.0 ? played : 4.0 * (sampleRate_ * 60.0 / dsp::kTempoWithoutHost);
  const double delay =
      whole *
      dsp::NoteLength(static_cast<int>(plugin_->Param(kDelayRate)->Value()), dsp::kDelayRateBase);
  const double gain = feedback * 0.00990099;
  const double rounds = gain > 0.0 ? std::ceil(std::log(1e-5) / std::log(gain)) : 0.0;
  const double tail = rounds * 2.0 * delay + 2.5 * delay;
  return tail < 4.0e9 ? static_cast<uint32_t>(std::ceil(tail)) : UINT32_MAX - 1;
}

}  // namespace velmora::binding
