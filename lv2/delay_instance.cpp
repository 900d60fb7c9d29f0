#include "lv2/delay_instance.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include <lv2/atom/util.h>

#include "frame/sample_conversion.h"
#include "lv2/port_index.h"

namespace velmora::lv2 {
namespace {

// Where a port value lands: the nearest whole step inside the parameter's range, as a
// VST 2 host text or chunk value does. False for a value that is not a number.
bool WholeStepInRange(int index, float portValue, double& value) {
  if (!std::isfinite(portValue)) {
    return false;
  }
  const ParamRange& range = kParamRanges[index];
  const double whole = std::floor(static_cast<double>(portValue) + 0.5);
  value = std::clamp(whole, static_cast<double>(range.minimum), static_cast<double>(range.maximum));
  return true;
}

// Two input and two output channels of kSliceFrames doubles each.
constexpr size_t kScratchChannels = 4;

}  // namespace

DelayInstance::DelayInstance(double sampleRate) : sampleRate_(sampleRate) {
  for (int i = 0; i < kVelmoraParamCount; ++i) {
    stored_[i] = kParamRanges[i].minimum;
    lastControl_[i] = 0.0f;
  }
}

std::unique_ptr<DelayInstance> DelayInstance::Create(double sampleRate, const LV2_URID_Map* map) {
  if (!(sampleRate > 0.0 && std::isfinite(sampleRate))) {
    return nullptr;
  }
  std::unique_ptr<DelayInstance> instance(new (std::nothrow) DelayInstance(sampleRate));
  if (!instance) {
    return nullptr;
  }
  instance->transport_.Map(map);
  instance->notifier_.Map(map);
  instance->scratch_.reset(new (std::nothrow) double[kScratchChannels * kSliceFrames]());
  if (!instance->scratch_) {
    return nullptr;
  }
  for (size_t i = 0; i < kScratchChannels; ++i) {
    instance->slicePointers_[i] = instance->scratch_.get() + i * size_t{kSliceFrames};
  }
  instance->notifier_.SetSampleRate(sampleRate);
  return instance;
}

void DelayInstance::ConnectPort(uint32_t port, void* data) {
  const int param = ParamOfPort(port);
  if (param >= 0) {
    controls_[param] = static_cast<const float*>(data);
    return;
  }
  switch (port) {
    case kPortInputLeft:
    case kPortInputRight:
      inputs_[port - kPortInputLeft] = static_cast<const float*>(data);
      break;
    case kPortOutputLeft:
    case kPortOutputRight:
      outputs_[port - kPortOutputLeft] = static_cast<float*>(data);
      break;
    case kPortTime:
      timePort_ = static_cast<const LV2_Atom_Sequence*>(data);
      break;
    case kPortNotify:
      notifyPort_ = static_cast<LV2_Atom_Sequence*>(data);
      break;
    default:
      break;
  }
}

// Switching on resets the engine here, outside run(), as a VST 2 host's switch-on does
// before its first block. The control values follow at the first run(): a host need not
// hold valid values in the ports before then.
void DelayInstance::Activate() {
  engine_.SetActive(true);
  notifier_.SendSoon();
}

void DelayInstance::Deactivate() {
  engine_.SetActive(false);
}

double DelayInstance::StoredParamValue(int index) const {
  return index >= 0 && index < kVelmoraParamCount ? stored_[index] : 0.0;
}

// Only changed ports reach the engine, in index order, as a VST 2 host's parameter
// changes between blocks do; the first run applies all of them, as opening does.
void DelayInstance::ReadControlPorts() {
  for (int i = 0; i < kVelmoraParamCount; ++i) {
    bool changed = !controlsRead_;
    if (const float* port = controls_[i]) {
      const float value = *port;
      changed = changed || std::memcmp(&value, &lastControl_[i], sizeof(float)) != 0;
      lastControl_[i] = value;
      double stored = 0.0;
      if (changed && WholeStepInRange(i, value, stored)) {
        stored_[i] = stored;
      }
    }
    if (changed) {
      engine_.ApplyParameter(i);
    }
  }
  controlsRead_ = true;
}

void DelayInstance::Run(uint32_t frames) {
  ReadControlPorts();
  notifier_.Begin(notifyPort_);
  uint32_t done = 0;
  if (timePort_ != nullptr) {
    // Each message takes effect at its own frame: the frames before it are processed first.
    LV2_ATOM_SEQUENCE_FOREACH(timePort_, event) {
      const int64_t at = std::clamp<int64_t>(event->time.frames, done, frames);
      const auto until = static_cast<uint32_t>(at);
      ProcessSpan(done, until - done);
      done = until;
      transport_.Read(&event->body);
    }
  }
  if (done < frames) {
    ProcessSpan(done, frames - done);
  } else if (frames == 0) {
    // A block of no frames still reaches the engine, as the VST 2 frame's does: it follows
    // the tempo at its start.
    ProcessSlice(0, 0);
  }
  notifier_.End();
}

void DelayInstance::ProcessSpan(uint32_t offset, uint32_t frames) {
  for (uint32_t done = 0; done < frames;) {
    const uint32_t slice = std::min(frames - done, kSliceFrames);
    ProcessSlice(offset + done, slice);
    done += slice;
  }
}

void DelayInstance::ProcessSlice(uint32_t offset, uint32_t frames) {
  double* in[2] = {slicePointers_[0], slicePointers_[1]};
  double* out[2] = {slicePointers_[2], slicePointers_[3]};
  for (int c = 0; c < 2; ++c) {
    // The engine itself takes a sample that is not a finite number as silence.
    if (const float* host = inputs_[c]) {
      WidenSamples(host + offset, in[c], static_cast<int>(frames));
    } else {
      std::fill(in[c], in[c] + frames, 0.0);
    }
  }
  engine_.ProcessBlock(in, out, static_cast<int>(frames));
  transport_.Advance(frames);
  const bool processed = engine_.ProcessingEnabled();
  for (int c = 0; c < 2; ++c) {
    float* host = outputs_[c];
    if (host == nullptr) {
      continue;
    }
    if (processed) {
      NarrowSamples(out[c], host + offset, static_cast<int>(frames));
    } else {
      std::fill(host + offset, host + offset + frames, 0.0f);
    }
  }
  notifier_.AfterFrames(
      offset, frames, SnapshotDisplays(engine_.Lamp(), engine_.LeftGraph(), engine_.RightGraph()));
}

}  // namespace velmora::lv2
