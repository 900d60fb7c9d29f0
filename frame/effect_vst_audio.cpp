// The three audio callbacks. The engine always works in doubles on the frame's channel
// records: float blocks are widened into the scratch buffers and narrowed back, double blocks
// are handed over in place. A host block longer than the block length (the announced one,
// at most IEffectBase::kMaxBlockLength) is served in slices of at most the block length,
// because the scratch buffers hold no more.
#include <algorithm>

#include "frame/effect_vst.h"
#include "frame/sample_conversion.h"

namespace velmora {
namespace {

// The host buffer k of an array the host may have left null, or null.
template <typename Sample>
Sample* HostBuffer(Sample** buffers, int k) {
  return buffers != nullptr ? buffers[k] : nullptr;
}

// Without scratch memory nothing can be processed: replacing callbacks hand back silence.
template <typename Sample>
void SilenceHostOutputs(Sample** outputs, int count, int frames) {
  for (int k = 0; k < count && frames > 0; ++k) {
    if (Sample* host = HostBuffer(outputs, k)) {
      std::fill(host, host + frames, Sample(0));
    }
  }
}

}  // namespace

void IEffectVST::WidenInputs(float** inputs, int offset, int frames) {
  int k = 0;
  std::vector<IEffectChannel>& channels = InputChannels();
  for (size_t i = 0; i < channels.size(); ++i) {
    IEffectChannel& channel = channels[i];
    if (!channel.connected) {
      continue;
    }
    double* scratch = channel.scratch.data();
    if (const float* host = HostBuffer(inputs, k)) {
      WidenSamples(host + offset, scratch, frames);
    } else if (frames > 0) {
      std::fill(scratch, scratch + frames, 0.0);
    }
    InputPointerList()[i] = scratch;
    ++k;
  }
}

void IEffectVST::BindOutputs(float** outputs, int offset) {
  int k = 0;
  std::vector<IEffectChannel>& channels = OutputChannels();
  for (size_t i = 0; i < channels.size(); ++i) {
    IEffectChannel& channel = channels[i];
    if (!channel.connected) {
      continue;
    }
    OutputPointerList()[i] = channel.scratch.data();
    float* host = HostBuffer(outputs, k);
    channel.hostBuffer = host != nullptr ? host + offset : nullptr;
    ++k;
  }
}

void IEffectVST::NarrowOutputs(int frames, bool accumulate) {
  if (frames <= 0) {
    return;
  }
  for (IEffectChannel& channel : OutputChannels()) {
    if (!channel.connected || channel.hostBuffer == nullptr) {
      continue;
    }
    if (accumulate) {
      AddNarrowedSamples(channel.scratch.data(), channel.hostBuffer, frames);
    } else {
      NarrowSamples(channel.scratch.data(), channel.hostBuffer, frames);
    }
  }
}

void IEffectVST::ProcessFloat(float** inputs, float** outputs, int frames, bool accumulate) {
  LockGuard guard(InstanceLock());
  AskForMidi();
  if (frames > 0 && BlockLength() < 1) {
    if (!accumulate) {
      SilenceHostOutputs(outputs, NumOutputs(), frames);
    }
    return;
  }
  // A count of 0 or less still reaches the engine once, with nothing converted.
  int done = 0;
  do {
    const int slice = std::min(frames - done, BlockLength());
    WidenInputs(inputs, done, slice);
    BindOutputs(outputs, done);
    ProcessBlock(InputPointers(), OutputPointers(), slice);
    NarrowOutputs(slice, accumulate);
    done += slice;
  } while (done < frames);
}

void IEffectVST::BindDoubleBuffers(double** inputs, double** outputs, int offset, int frames) {
  int k = 0;
  std::vector<IEffectChannel>& ins = InputChannels();
  for (size_t i = 0; i < ins.size(); ++i) {
    if (!ins[i].connected) {
      continue;
    }
    double* host = HostBuffer(inputs, k++);
    if (host == nullptr && frames > 0) {
      std::fill(ins[i].scratch.data(), ins[i].scratch.data() + frames, 0.0);
    }
    InputPointerList()[i] = host != nullptr ? host + offset : ins[i].scratch.data();
  }
  k = 0;
  std::vector<IEffectChannel>& outs = OutputChannels();
  for (size_t i = 0; i < outs.size(); ++i) {
    if (!outs[i].connected) {
      continue;
    }
    double* host = HostBuffer(outputs, k++);
    OutputPointerList()[i] = host != nullptr ? host + offset : outs[i].scratch.data();
  }
}

// The host's own buffers are handed to the engine: nothing is copied. Slicing only moves the
// pointers; it matters for disconnected channels, which fall back to block-length scratch.
void IEffectVST::ProcessDouble(double** inputs, double** outputs, int frames) {
  LockGuard guard(InstanceLock());
  AskForMidi();
  if (frames > 0 && BlockLength() < 1) {
    SilenceHostOutputs(outputs, NumOutputs(), frames);
    return;
  }
  int done = 0;
  do {
    const int slice = std::min(frames - done, BlockLength());
    BindDoubleBuffers(inputs, outputs, done, slice);
    ProcessBlock(InputPointers(), OutputPointers(), slice);
    done += slice;
  } while (done < frames);
}

}  // namespace velmora
