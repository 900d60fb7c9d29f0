// Programs, factory presets and state chunks through the dispatcher.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "frame/entry_point.h"
#include "tests/frame/fake_host.h"
#include "tests/frame/probe_plugin.h"

namespace velmora::testing {
namespace {

std::string ProgramNameAt(const PluginInstance& instance, int index, intptr_t* result = nullptr) {
  char name[256];
  std::memset(name, 'x', sizeof(name));
  const intptr_t answer = instance.Dispatch(vst::effGetProgramNameIndexed, index, 0, name);
  if (result != nullptr) {
    *result = answer;
  }
  return name;
}

std::vector<double> Values(VSTCLASS& plugin) {
  std::vector<double> values;
  for (int i = 0; i < plugin.NumParams(); ++i) {
    values.push_back(plugin.Param(i)->Value());
  }
  return values;
}

std::vector<uint8_t> GetChunk(const PluginInstance& instance, int index) {
  void* bytes = nullptr;
  const intptr_t size = instance.Dispatch(vst::effGetChunk, index, 0, &bytes);
  if (size <= 0 || bytes == nullptr) {
    return {};
  }
  const auto* begin = static_cast<const uint8_t*>(bytes);
  return std::vector<uint8_t>(begin, begin + size);
}

double DoubleAt(const std::vector<uint8_t>& bytes, size_t offset) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) {
    bits = bits << 8 | bytes[offset + i];
  }
  double value;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

void PutDouble(std::vector<uint8_t>& bytes, size_t offset, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  for (int i = 0; i < 8; ++i) {
    bytes[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
  }
}

TEST(FactoryPrograms, NamesAndValues) {
  PluginInstance instance;
  intptr_t result = 0;
  EXPECT_EQ(ProgramNameAt(instance, 0, &result), "---- default ----");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(ProgramNameAt(instance, 1), "Simple Delay");
  EXPECT_EQ(ProgramNameAt(instance, 5), "Sync Delay Dottet");
  EXPECT_EQ(ProgramNameAt(instance, 25), "Filter Mirror");
  EXPECT_EQ(ProgramNameAt(instance, 32), "Modulated Feedback Low");
  EXPECT_EQ(ProgramNameAt(instance, 33), "- 34 -");
  EXPECT_EQ(ProgramNameAt(instance, 60, &result), "");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ProgramNameAt(instance, -1, &result), "");
  EXPECT_EQ(instance.Dispatch(vst::effGetProgramNameIndexed, 1, 0, nullptr), 0);

  VSTCLASS& plugin = instance.plugin();
  EXPECT_TRUE(plugin.Program(32)->initialised);
  EXPECT_FALSE(plugin.Program(33)->initialised);
  EXPECT_TRUE(plugin.Program(0)->state.Empty());
  const IEffectChunk& first = plugin.Program(1)->state;
  ASSERT_EQ(first.Size(), 176);
  const double expected[22] = {9,    2,  90, 60, 3000, 50, 0,  50, 12,  0,  50,
                               4000, 50, 0,  50, 12,   0,  50, 0,  100, 50, -60};
  for (int i = 0; i < 22; ++i) {
    double value = 0.0;
    ASSERT_TRUE(first.ReadDouble(8 * i, &value));
    EXPECT_EQ(value, expected[i]) << i;
  }
}

TEST(FactoryPrograms, SelectingLoadsTheirValues) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  instance.Dispatch(vst::effSetProgram, 0, 17);
  EXPECT_EQ(instance.Dispatch(vst::effGetProgram), 17);
  EXPECT_EQ(plugin.Param(19)->Value(), 0.0);
  EXPECT_EQ(plugin.Param(20)->Value(), 90.0);
  instance.Dispatch(vst::effSetProgram, 0, 26);
  EXPECT_EQ(plugin.Param(6)->Value(), 2.0);
  EXPECT_EQ(plugin.Param(13)->Value(), 2.0);
  EXPECT_EQ(plugin.Param(4)->Value(), 1000.0);
  EXPECT_EQ(plugin.Param(11)->Value(), 300.0);
  EXPECT_EQ(plugin.Param(7)->Value(), 10.0);
  EXPECT_EQ(plugin.Param(14)->Value(), 10.0);
  char name[256];
  instance.Dispatch(vst::effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "Bass Sweep");
  // The default program received the values it had when it was first left.
  instance.Dispatch(vst::effSetProgram, 0, 0);
  EXPECT_EQ(plugin.Param(4)->Value(), 3000.0);
  EXPECT_EQ(plugin.Param(20)->Value(), 60.0);
}

TEST(Programs, UnusedProgramsBecomeUserPresets) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  instance.Dispatch(vst::effSetProgram, 0, 3);
  const std::vector<double> sound = Values(plugin);
  instance.Dispatch(vst::effSetProgram, 0, 40);
  EXPECT_EQ(instance.Dispatch(vst::effGetProgram), 40);
  EXPECT_EQ(Values(plugin), sound);
  EXPECT_EQ(ProgramNameAt(instance, 40), "user preset 1");
  instance.Dispatch(vst::effSetProgram, 0, 45);
  EXPECT_EQ(ProgramNameAt(instance, 45), "user preset 2");
  // Out of range: the current program is stored but stays current.
  instance.Dispatch(vst::effSetProgram, 0, 60);
  instance.Dispatch(vst::effSetProgram, 0, -1);
  EXPECT_EQ(instance.Dispatch(vst::effGetProgram), 45);
}

TEST(Programs, LeavingAProgramKeepsItsEdits) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  vst::AEffect* effect = instance.effect();
  instance.Dispatch(vst::effSetProgram, 0, 3);
  effect->setParameter(effect, 3, 0.25f);
  const std::vector<double> edited = Values(plugin);
  instance.Dispatch(vst::effSetProgram, 0, 5);
  EXPECT_NE(Values(plugin), edited);
  instance.Dispatch(vst::effSetProgram, 0, 3);
  EXPECT_EQ(Values(plugin), edited);
}

TEST(Programs, RenamingStoresAndCutsLongNames) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  vst::AEffect* effect = instance.effect();
  instance.Dispatch(vst::effSetProgram, 0, 2);
  effect->setParameter(effect, 20, 1.0f);
  char name[] = "My Sound";
  instance.Dispatch(vst::effSetProgramName, 0, 0, name);
  EXPECT_EQ(ProgramNameAt(instance, 2), "My Sound");
  double wet = 0.0;
  plugin.Program(2)->state.ReadDouble(8 * 20, &wet);
  EXPECT_EQ(wet, 100.0);

  // A 400-character name, unterminated within its first 255: kept to 255 characters.
  std::string longName(400, 'a');
  instance.Dispatch(vst::effSetProgramName, 0, 0, longName.data());
  EXPECT_EQ(ProgramNameAt(instance, 2), std::string(255, 'a'));
  char empty[] = "";
  instance.Dispatch(vst::effSetProgramName, 0, 0, empty);  // no rename
  EXPECT_EQ(ProgramNameAt(instance, 2), std::string(255, 'a'));
  instance.Dispatch(vst::effSetProgramName);
}

TEST(Programs, APluginWithoutProgramsOwnsOneDefault) {
  EffectSetup setup = ProbePlugin::Setup();
  setup.numPrograms = 0;
  struct Bare : IEffectVST {
    explicit Bare(const EffectSetup& setup) : IEffectVST(nullptr, setup) {}
  };
  static EffectSetup bareSetup;
  bareSetup = setup;
  vst::AEffect* effect = CreateEffectInstance(
      nullptr, [](vst::HostCallback) -> IEffectVST* { return new Bare(bareSetup); });
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->numPrograms, 1);
  char name[256];
  EXPECT_EQ(effect->dispatcher(effect, vst::effGetProgramNameIndexed, 0, 0, name, 0.0f), 1);
  EXPECT_STREQ(name, "Default");
  // A null host callback is tolerated: time queries read as unknown.
  auto* plugin = IEffectVST::FromEffect(effect);
  EXPECT_EQ(plugin->HostSamplePosition(), 0);
  EXPECT_EQ(plugin->HostKind(), 0);
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(CreateEffectInstance(nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateEffectInstance(nullptr,
                                 [](vst::HostCallback) -> IEffectVST* { throw std::bad_alloc(); }),
            nullptr);
}

TEST(Chunks, BankChunkHoldsVersionAndCurrentValues) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  instance.effect()->setParameter(instance.effect(), 3, 0.75f);
  const std::vector<uint8_t> bank = GetChunk(instance, 0);
  ASSERT_EQ(bank.size(), 180u);
  EXPECT_EQ(bank[0] | bank[1] << 8 | bank[2] << 16 | bank[3] << 24, 10000);
  for (int i = 0; i < 22; ++i) {
    EXPECT_EQ(DoubleAt(bank, 4 + 8 * i), plugin.Param(i)->Value()) << i;
  }
  EXPECT_EQ(DoubleAt(bank, 4 + 8 * 3), 75.0);
  // The bank form also stores the current values into the current program.
  EXPECT_EQ(plugin.Program(0)->state.Size(), 176);
  EXPECT_EQ(GetChunk(instance, 1), bank);
  EXPECT_EQ(instance.Dispatch(vst::effGetChunk, 0, 0, nullptr), 0);
}

TEST(Chunks, StateSurvivesANewInstance) {
  std::vector<uint8_t> saved;
  {
    PluginInstance first;
    first.Dispatch(vst::effSetProgram, 0, 24);
    saved = GetChunk(first, 0);
  }
  PluginInstance second;
  ASSERT_EQ(second.Dispatch(vst::effSetChunk, 0, static_cast<intptr_t>(saved.size()), saved.data()),
            1);
  EXPECT_EQ(second.plugin().Param(4)->Value(), 2500.0);
  EXPECT_EQ(second.plugin().Param(7)->Value(), 100.0);
  EXPECT_EQ(GetChunk(second, 1), saved);
  // A host handing back the very bytes it was given.
  void* own = nullptr;
  const intptr_t size = second.Dispatch(vst::effGetChunk, 0, 0, &own);
  EXPECT_EQ(second.Dispatch(vst::effSetChunk, 0, size, own), 1);
  EXPECT_EQ(second.plugin().Param(4)->Value(), 2500.0);
}

// A chunk that runs out: the values before the short one are applied, the short parameter
// keeps its value (nobody saved one for it), and the request fails.
TEST(Chunks, ShortChunksKeepWhatWasNotSaved) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  std::vector<uint8_t> bank = GetChunk(instance, 0);
  for (int i = 0; i < 22; ++i) {
    PutDouble(bank, 4 + 8 * i, plugin.Param(i)->Minimum());
  }
  const std::vector<double> before = Values(plugin);
  EXPECT_EQ(instance.Dispatch(vst::effSetChunk, 0, 100, bank.data()), 0);
  for (int i = 0; i < 22; ++i) {
    EXPECT_EQ(plugin.Param(i)->Value(), i < 12 ? plugin.Param(i)->Minimum() : before[i]) << i;
  }
  // Fewer than four bytes: nothing is read.
  const std::vector<double> now = Values(plugin);
  EXPECT_EQ(instance.Dispatch(vst::effSetChunk, 1, 3, bank.data()), 0);
  EXPECT_EQ(Values(plugin), now);
  EXPECT_EQ(instance.Dispatch(vst::effSetChunk, 1, 0, bank.data()), 0);
  EXPECT_EQ(instance.Dispatch(vst::effSetChunk, 1, 180, nullptr), 0);
}

TEST(Chunks, BadValuesAndCountsAreRefused) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::AEffect* effect = probe->Effect();
  std::vector<uint8_t> chunk(4 + 16, 0);
  PutDouble(chunk, 4, NAN);
  PutDouble(chunk, 12, 7.0);
  probe->applied.clear();
  EXPECT_EQ(effect->dispatcher(effect, vst::effSetChunk, 0, 20, chunk.data(), 0.0f), 1);
  EXPECT_EQ(probe->Param(0)->Value(), 50.0);  // not a number: kept
  EXPECT_EQ(probe->Param(1)->Value(), 7.0);
  EXPECT_EQ(probe->applied, (std::vector<int>{0, 1}));  // everything re-applied
  PutDouble(chunk, 4, INFINITY);
  PutDouble(chunk, 12, 1e9);  // clamped to the range
  effect->dispatcher(effect, vst::effSetChunk, 1, 20, chunk.data(), 0.0f);
  EXPECT_EQ(probe->Param(0)->Value(), 50.0);
  EXPECT_EQ(probe->Param(1)->Value(), 10.0);
  // A fraction in a whole-step parameter lands on its nearest step.
  PutDouble(chunk, 4, 33.6);
  PutDouble(chunk, 12, -2.4);
  effect->dispatcher(effect, vst::effSetChunk, 1, 20, chunk.data(), 0.0f);
  EXPECT_EQ(probe->Param(0)->Value(), 34.0);
  EXPECT_EQ(probe->Param(1)->Value(), -2.0);
  // Extra bytes after the values are ignored.
  chunk.resize(64, 0xff);
  EXPECT_EQ(effect->dispatcher(effect, vst::effSetChunk, 1, 64, chunk.data(), 0.0f), 1);
  // A negative byte count is refused before anything is touched.
  probe->applied.clear();
  EXPECT_EQ(effect->dispatcher(effect, vst::effSetChunk, 0, -20, chunk.data(), 0.0f), 0);
  EXPECT_TRUE(probe->applied.empty());
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

}  // namespace
}  // namespace velmora::testing
