// The plug-in's audio path as a host drives it, on the float and the double callbacks:
// non-finite input samples sound exactly as silence, a huge announced block size allocates
// no huge buffers and long blocks sound as short ones do, and float outputs carry no
// subnormal numbers (double outputs are left as the engine computes them).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/parameter_index.h"
#include "frame/vst2.h"
#include "plugin/velmora_plugin.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host);

namespace velmora {
namespace {

vst::VstTimeInfo timeInfo{};

intptr_t HostCallback(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  if (opcode == vst::audioMasterGetTime) {
    return reinterpret_cast<intptr_t>(&timeInfo);
  }
  return 0;
}

void SetHostTempo(double tempo) {
  timeInfo = vst::VstTimeInfo{};
  timeInfo.tempo = tempo;
  timeInfo.flags = tempo > 0.0 ? vst::kVstTempoValid : 0;
}

// One opened and switched-on instance, closed when it goes.
class Instance {
 public:
  Instance(float rate, intptr_t blockSize) : effect_(VSTPluginMain(&HostCallback)) {
    Dispatch(vst::effOpen);
    Dispatch(vst::effSetSampleRate, 0, rate);
    Dispatch(vst::effSetBlockSize, blockSize);
    Dispatch(vst::effMainsChanged, 1);
  }
  ~Instance() { Dispatch(vst::effClose); }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  void Dispatch(int32_t opcode, intptr_t value = 0, float opt = 0.0f) {
    effect_->dispatcher(effect_, opcode, 0, value, nullptr, opt);
  }
  void SetParameter(int index, float normalised) {
    effect_->setParameter(effect_, index, normalised);
  }
  VSTCLASS& Plugin() { return *static_cast<VSTCLASS*>(IEffectVST::FromEffect(effect_)); }

  // Processes frames first..first+count-1 of the channels through the callback for Sample.
  template <typename Sample>
  void Process(std::vector<Sample>* in, std::vector<Sample>* out, size_t first, size_t count) {
    Sample* inputs[2] = {in[0].data() + first, in[1].data() + first};
    Sample* outputs[2] = {out[0].data() + first, out[1].data() + first};
    if constexpr (sizeof(Sample) == sizeof(double)) {
      effect_->processDoubleReplacing(effect_, inputs, outputs, static_cast<int32_t>(count));
    } else {
      effect_->processReplacing(effect_, inputs, outputs, static_cast<int32_t>(count));
    }
  }

 private:
  vst::AEffect* effect_;
};

template <typename Sample>
struct Stream {
  explicit Stream(size_t frames) : in{std::vector<Sample>(frames), std::vector<Sample>(frames)} {
    unsigned seed = 3;
    for (size_t i = 0; i < frames; ++i) {
      seed = seed * 1664525u + 1013904223u;
      in[0][i] = static_cast<Sample>(0.6 * (static_cast<double>(seed >> 8) / 16777216.0 - 0.5));
      in[1][i] = static_cast<Sample>(0.3 * std::sin(0.01 * static_cast<double>(i)));
    }
  }
  std::vector<Sample> in[2];
};

template <typename Sample>
bool SameBits(const std::vector<Sample>* a, const std::vector<Sample>* b) {
  const size_t bytes = a[0].size() * sizeof(Sample);
  return std::memcmp(a[0].data(), b[0].data(), bytes) == 0 &&
         std::memcmp(a[1].data(), b[1].data(), bytes) == 0;
}

constexpr size_t kTapChangeFrame = 8192;

// Renders the stream in blocks of blockSize; at kTapChangeFrame "Delay Rate" changes, so
// the frames after it run in a crossfade.
template <typename Sample>
void Render(std::vector<Sample>* in, size_t blockSize, std::vector<Sample>* out) {
  Instance instance(44100.0f, 512);
  const size_t frames = in[0].size();
  out[0].assign(frames, Sample(0));
  out[1].assign(frames, Sample(0));
  size_t first = 0;
  while (first < frames) {
    if (first == kTapChangeFrame) {
      instance.SetParameter(kDelayRate, 0.3f);
    }
    size_t count = std::min(blockSize, frames - first);
    if (first < kTapChangeFrame && first + count > kTapChangeFrame) {
      count = kTapChangeFrame - first;
    }
    instance.Process(in, out, first, count);
    first += count;
  }
}

template <typename Sample>
void ExpectNonFiniteSoundsAsSilence() {
  const Stream<Sample> clean(40000);
  for (Sample bad :
       {std::numeric_limits<Sample>::quiet_NaN(), std::numeric_limits<Sample>::infinity(),
        -std::numeric_limits<Sample>::infinity()}) {
    // In a steady stretch, and in the crossfade after the tap change.
    for (size_t position : {size_t{3001}, size_t{8300}}) {
      Stream<Sample> zeroed = clean;
      Stream<Sample> poisoned = clean;
      zeroed.in[position % 2][position] = Sample(0);
      poisoned.in[position % 2][position] = bad;
      std::vector<Sample> expected[2];
      std::vector<Sample> actual[2];
      Render(zeroed.in, 256, expected);
      Render(poisoned.in, 256, actual);
      ASSERT_TRUE(SameBits(expected, actual)) << bad << " at " << position;
    }
  }
}

TEST(PluginAudioPath, NonFiniteInputSoundsAsSilence) {
  SetHostTempo(120.0);
  ExpectNonFiniteSoundsAsSilence<float>();
  ExpectNonFiniteSoundsAsSilence<double>();
}

template <typename Sample>
void ExpectLongBlockSoundsAsShortOnes() {
  const Stream<Sample> stream(30000);
  Stream<Sample> in = stream;
  std::vector<Sample> shortBlocks[2];
  // The first call is exactly the first 8,192 frames, so the long one spans four slices.
  Render(in.in, 100, shortBlocks);

  // One call of the whole stream, after the largest block size a host can announce.
  Instance instance(44100.0f, INT32_MAX);
  EXPECT_EQ(instance.Plugin().BlockLength(), IEffectBase::kMaxBlockLength);
  std::vector<Sample> longBlocks[2] = {std::vector<Sample>(30000), std::vector<Sample>(30000)};
  instance.Process(in.in, longBlocks, 0, kTapChangeFrame);
  instance.SetParameter(kDelayRate, 0.3f);
  instance.Process(in.in, longBlocks, kTapChangeFrame, 30000 - kTapChangeFrame);
  EXPECT_TRUE(SameBits(shortBlocks, longBlocks));
}

TEST(PluginAudioPath, HugeBlockSizeIsServedInSlices) {
  SetHostTempo(120.0);
  ExpectLongBlockSoundsAsShortOnes<float>();
  ExpectLongBlockSoundsAsShortOnes<double>();
}

template <typename Sample>
bool Subnormal(Sample sample) {
  return sample != Sample(0) && std::fabs(static_cast<double>(sample)) < FLT_MIN;
}

// Echoes fed back at 100 % through a one-sample line (a tempo so fast that every length
// rounds to 0) fade through the subnormal floats while the effect is still processing.
// The float path writes them as 0; the double path keeps them.
TEST(PluginAudioPath, FloatOutputsCarryNoSubnormals) {
  const struct {
    double tempo;
    float rate;
  } cases[] = {{1e10, 44100.0f}, {1e10, 384000.0f}};
  for (const auto& [tempo, rate] : cases) {
    {
      SetHostTempo(tempo);
      int subnormalDoubles = 0;
      int subnormalFloats = 0;
      for (bool floats : {true, false}) {
        Instance instance(rate, 4096);
        instance.SetParameter(kFeedback, 1.0f);
        const size_t frames = 102400;
        std::vector<float> inF[2] = {std::vector<float>(frames), std::vector<float>(frames)};
        std::vector<double> inD[2] = {std::vector<double>(frames), std::vector<double>(frames)};
        inF[0][0] = inF[1][0] = 0.9f;
        inD[0][0] = inD[1][0] = 0.9;
        std::vector<float> outF[2] = {std::vector<float>(frames), std::vector<float>(frames)};
        std::vector<double> outD[2] = {std::vector<double>(frames), std::vector<double>(frames)};
        for (size_t first = 0; first < frames; first += 4096) {
          if (floats) {
            instance.Process(inF, outF, first, 4096);
          } else {
            instance.Process(inD, outD, first, 4096);
          }
        }
        for (int channel = 0; channel < 2; ++channel) {
          for (size_t i = 0; i < frames; ++i) {
            subnormalFloats += Subnormal(outF[channel][i]);
            subnormalDoubles += Subnormal(outD[channel][i]);
          }
        }
      }
      EXPECT_EQ(subnormalFloats, 0) << "tempo " << tempo << " rate " << rate;
      EXPECT_GT(subnormalDoubles, 100) << "tempo " << tempo << " rate " << rate;
    }
  }
}

}  // namespace
}  // namespace velmora
