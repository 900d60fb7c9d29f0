// Channel records, their connections and scratch buffers, and the pass-through block.
#include <algorithm>
#include <new>

#include "frame/effect_base.h"

namespace velmora {

void IEffectBase::CreateChannels(const char* channelIO) {
  channelPairs_ = ParseChannelPairs(channelIO);
  int maxInputs = 0;
  int maxOutputs = 0;
  for (const ChannelPair& pair : channelPairs_) {
    maxInputs = std::max(maxInputs, pair.inputs);
    maxOutputs = std::max(maxOutputs, pair.outputs);
  }
  inputs_.resize(static_cast<size_t>(maxInputs));
  outputs_.resize(static_cast<size_t>(maxOutputs));
  inputPointers_.assign(inputs_.size(), nullptr);
  outputPointers_.assign(outputs_.size(), nullptr);
}

bool IEffectBase::LegalChannels(int inputs, int outputs) const {
  for (const ChannelPair& pair : channelPairs_) {
    if ((inputs < 0 || pair.inputs == inputs) && (outputs < 0 || pair.outputs == outputs)) {
      return true;
    }
  }
  return false;
}

void IEffectBase::SetConnections(std::vector<IEffectChannel>& channels,
                                 std::vector<double*>& pointers, int first, int count,
                                 bool connected) {
  const int size = static_cast<int>(channels.size());
  const int begin = std::max(first, 0);
  // Computed in 64 bits so a huge count from a host cannot wrap around.
  const int64_t end = std::min<int64_t>(static_cast<int64_t>(first) + count, size);
  for (int i = begin; i < end; ++i) {
    channels[i].connected = connected;
    if (!connected) {
      // A disconnected channel reads or writes its own scratch buffer instead of the host's.
      pointers[i] = channels[i].scratch.data();
    }
  }
}

void IEffectBase::SetInputConnections(int first, int count, bool connected) {
  LockGuard guard(lock_);
  SetConnections(inputs_, inputPointers_, first, count, connected);
}

void IEffectBase::SetOutputConnections(int first, int count, bool connected) {
  LockGuard guard(lock_);
  SetConnections(outputs_, outputPointers_, first, count, connected);
}

bool IEffectBase::InputConnected(int index) const {
  return index >= 0 && index < NumInputs() && inputs_[index].connected;
}

bool IEffectBase::OutputConnected(int index) const {
  return index >= 0 && index < NumOutputs() && outputs_[index].connected;
}

void IEffectBase::SetBlockLength(int frames) {
  LockGuard guard(lock_);
  frames = std::min(frames, kMaxBlockLength);
  if (frames == blockLength_ || frames < 1) {
    return;
  }
  // Allocate every new buffer first, so a failure leaves the old ones intact.
  std::vector<std::vector<double>> fresh;
  try {
    fresh.resize(inputs_.size() + outputs_.size());
    for (std::vector<double>& buffer : fresh) {
      buffer.assign(static_cast<size_t>(frames), 0.0);
    }
  } catch (const std::bad_alloc&) {
    return;
  }
  size_t next = 0;
  for (std::vector<IEffectChannel>* channels : {&inputs_, &outputs_}) {
    std::vector<double*>& pointers = channels == &inputs_ ? inputPointers_ : outputPointers_;
    for (size_t i = 0; i < channels->size(); ++i) {
      IEffectChannel& channel = (*channels)[i];
      channel.scratch.swap(fresh[next++]);
      if (!channel.connected) {
        pointers[i] = channel.scratch.data();
      }
    }
  }
  blockLength_ = frames;
}

void IEffectBase::ProcessBlock(double** inputs, double** outputs, int frames) {
  if (frames <= 0) {
    return;
  }
  const int shared = std::min(NumInputs(), NumOutputs());
  for (int i = 0; i < NumOutputs(); ++i) {
    if (i < shared) {
      std::copy(inputs[i], inputs[i] + frames, outputs[i]);
    } else {
      std::fill(outputs[i], outputs[i] + frames, 0.0);
    }
  }
}

}  // namespace velmora
