// Fuzzes the state chunks a host hands back (effSetChunk, bank and program form) on a real
// instance. Whatever the bytes, the instance must stay usable: every parameter reads back in
// 0..1, a chunk it accepted comes back unchanged through a second save and load, and a
// short block with an impulse gives finite output.
#include <cmath>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_host.h"

namespace {

using velmora::fuzz::Fail;
using velmora::fuzz::FuzzHost;
using velmora::fuzz::FuzzInstance;
namespace vst = velmora::vst;

std::vector<uint8_t> SaveChunk(const FuzzInstance& instance, int32_t form) {
  void* data = nullptr;
  const intptr_t size = instance.Dispatch(vst::effGetChunk, form, 0, &data);
  if (size <= 0 || data == nullptr) {
    Fail("effGetChunk handed out no chunk");
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

void CheckParameters(const FuzzInstance& instance) {
  vst::AEffect* effect = instance.Effect();
  for (int32_t i = 0; i < effect->numParams; ++i) {
    const float value = effect->getParameter(effect, i);
    if (!(value >= 0.0f && value <= 1.0f)) {
      Fail("a parameter reads back outside 0..1 after a chunk");
    }
  }
}

void CheckRoundTrip(const FuzzInstance& instance, int32_t form) {
  std::vector<uint8_t> saved = SaveChunk(instance, form);
  if (instance.Dispatch(vst::effSetChunk, form, static_cast<intptr_t>(saved.size()),
                        saved.data()) != 1) {
    Fail("the instance refused a chunk it saved itself");
  }
  if (SaveChunk(instance, form) != saved) {
    Fail("a saved chunk changed on its way through a load and a save");
  }
}

void CheckImpulse(const FuzzInstance& instance) {
  constexpr int kFrames = 256;
  std::vector<float> left(kFrames, 0.0f), right(kFrames, 0.0f);
  left[0] = 1.0f;
  right[0] = -1.0f;
  std::vector<float> outLeft(kFrames), outRight(kFrames);
  float* inputs[] = {left.data(), right.data()};
  float* outputs[] = {outLeft.data(), outRight.data()};
  vst::AEffect* effect = instance.Effect();
  instance.Dispatch(vst::effSetSampleRate, 0, 0, nullptr, 44100.0f);
  instance.Dispatch(vst::effSetBlockSize, 0, kFrames);
  instance.Dispatch(vst::effMainsChanged, 0, 1);
  effect->processReplacing(effect, inputs, outputs, kFrames);
  for (int i = 0; i < kFrames; ++i) {
    if (!std::isfinite(outLeft[i]) || !std::isfinite(outRight[i])) {
      Fail("finite input gave non-finite output after a chunk");
    }
  }
}

}  // namespace

// The first byte picks the form (bit 0: program chunk) and the program selected before the
// chunk arrives; the rest is the chunk.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) {
    return 0;
  }
  FuzzHost host;
  host.ChooseTempo(4, 0.0);  // no host time: a one-sample line keeps each run quick
  FuzzInstance instance(host);
  const int32_t form = data[0] & 1;
  instance.Dispatch(vst::effSetProgram, 0, (data[0] >> 1) % instance.Effect()->numPrograms);
  std::vector<uint8_t> chunk(data + 1, data + size);
  const intptr_t accepted =
      instance.Dispatch(vst::effSetChunk, form, static_cast<intptr_t>(chunk.size()), chunk.data());
  CheckParameters(instance);
  if (accepted == 1) {
    CheckRoundTrip(instance, form);
  }
  CheckImpulse(instance);
  return 0;
}
