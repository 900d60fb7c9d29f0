// The three audio callbacks. The engine always works in doubles on the frame's channel
// records: float blocks are widened into the scratch buffers and narrowed back, double blocks
// are handed over in place. A host block longer than the block length (the announced one,
// at most IEffectBase::kMaxBlockLength) is served in slices of at most the block length,
// because the scratch buffers hold no more.
#include <emmintrin.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "frame/effect_vst.h"

namespace velmora {
namespace {

// Four samples per step, then the remainder.
void Widen(const float* in, double* out, int count) {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    out[i] = in[i];
    out[i + 1] = in[i + 1];
    out[i + 2] = in[i + 2];
    out[i + 3] = in[i + 3];
  }
  for (; i < count; ++i) {
    out[i] = in[i];
  }
}

// The conversion to float rounds to nearest, and a result below the smallest normal float
// is written as 0: hosts and the effects after this one would otherwise carry subnormal
// numbers, which cost many times the work of normal ones on common processors, through
// their own recursions. The accumulating form adds to the host's samples and applies the
// same rule to the sum. Four samples per step, then the remainder.
inline float WithoutSubnormal(float sample) {
  return std::fabs(sample) < FLT_MIN ? 0.0f : sample;
}

inline float ToFloatSample(double sample) {
  return WithoutSubnormal(static_cast<float>(sample));
}

inline __m128 WithoutSubnormals(__m128 samples) {
  const __m128 magnitude = _mm_and_ps(samples, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)));
  return _mm_andnot_ps(_mm_cmplt_ps(magnitude, _mm_set1_ps(FLT_MIN)), samples);
}

inline __m128 ToFloatSamples(const double* in) {
  const __m128 low = _mm_cvtpd_ps(_mm_loadu_pd(in));
  const __m128 high = _mm_cvtpd_ps(_mm_loadu_pd(in + 2));
  return WithoutSubnormals(_mm_movelh_ps(low, high));
}

template <bool kAccumulate>
void Narrow(const double* in, float* out, int count) {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    if constexpr (kAccumulate) {
      _mm_storeu_ps(out + i,
                    WithoutSubnormals(_mm_add_ps(_mm_loadu_ps(out + i), ToFloatSamples(in + i))));
    } else {
      _mm_storeu_ps(out + i, ToFloatSamples(in + i));
    }
  }
  for (; i < count; ++i) {
    if constexpr (kAccumulate) {
      out[i] = WithoutSubnormal(out[i] + ToFloatSample(in[i]));
    } else {
      out[i] = ToFloatSample(in[i]);
    }
  }
}

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
      Widen(host + offset, scratch, frames);
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
      Narrow<true>(channel.scratch.data(), channel.hostBuffer, frames);
    } else {
      Narrow<false>(channel.scratch.data(), channel.hostBuffer, frames);
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
