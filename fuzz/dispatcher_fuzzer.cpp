// Fuzzes the dispatcher as a hostile host drives it: a sequence of calls (see
// dispatcher_record.h) on one instance created through the exported entry point, mixed with
// audio blocks, parameter calls and changes of the host's tempo and identity. After every call
// each parameter must read back in 0..1; until extreme audio went in, every output sample
// must be finite.
#include "fuzz/dispatcher_call.h"
#include "fuzz/dispatcher_record.h"
#include "fuzz/fuzz_host.h"

namespace {

using namespace velmora::fuzz;

void CheckParameters(const FuzzInstance& instance) {
  velmora::vst::AEffect* effect = instance.Effect();
  for (int32_t i = 0; i < effect->numParams; ++i) {
    const float value = effect->getParameter(effect, i);
    if (!(value >= 0.0f && value <= 1.0f)) {
      Fail("a parameter reads back outside 0..1");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzHost host;
  host.ChooseTempo(4, 0.0);  // no host time until a record sets one: each run stays quick
  FuzzInstance instance(host);
  CallRunner runner(instance, host);
  RecordReader reader(data, size);
  DispatcherRecord record;
  while (reader.Next(record)) {
    runner.Run(record);
    CheckParameters(instance);
  }
  return 0;
}
