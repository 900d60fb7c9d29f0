// Saving a bank with velmora-render's state code reads every program as it is and changes
// nothing in the plug-in; loading that bank into a fresh instance gives every program the
// same name and values. Runs on the Velmora module of this build, whose never-used
// programs take a name and the current sound when they are first chosen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/temp_folder.h"
#include "tools/host/plugin_host.h"
#include "tools/render/plugin_state.h"

namespace velmora::render {
namespace {

constexpr int32_t kRenamedProgram = 40;
constexpr int32_t kCurrentProgram = 7;
constexpr int32_t kLastFactoryProgram = 32;
constexpr int32_t kNeverUsedProgram = 34;

std::unique_ptr<host::PluginHost> Velmora() {
  auto loaded = host::PluginHost::Load(VELMORA_PLUGIN);
  if (!loaded) {
    ADD_FAILURE() << loaded.Error();
    return nullptr;
  }
  loaded.Value()->Open();
  loaded.Value()->SetSampleRate(44100.0);
  return std::move(loaded.Value());
}

std::vector<float> Values(const host::PluginHost& host) {
  std::vector<float> values;
  for (int32_t i = 0; i < host.NumParams(); ++i) {
    values.push_back(host.GetParameter(i));
  }
  return values;
}

std::vector<std::string> Names(const host::PluginHost& host) {
  std::vector<std::string> names;
  for (int32_t p = 0; p < host.NumPrograms(); ++p) {
    names.push_back(host.ProgramNameIndexed(p));
  }
  return names;
}

// What choosing program p from the current program gives; the current one is chosen again.
std::vector<float> ValuesOf(host::PluginHost& host, int32_t p) {
  const int32_t current = host.CurrentProgram();
  host.SetProgram(p);
  std::vector<float> values = Values(host);
  host.SetProgram(current);
  return values;
}

TEST(RenderBank, SavingChangesNothingAndLoadsBackProgramByProgram) {
  host::testing::TempFolder folder;
  auto original = Velmora();
  ASSERT_NE(original, nullptr);
  original->SetProgram(kRenamedProgram);
  original->SetParameter(0, 0.25f);
  original->SetParameter(2, 1.0f);
  original->SetParameter(11, 0.5f);
  original->SetProgramName("Forty, changed");
  original->SetProgram(kCurrentProgram);
  original->SetParameter(1, 0.8f);  // an edit of the current program, not stored yet

  const std::vector<std::string> names = Names(*original);
  const std::vector<float> current = Values(*original);
  ASSERT_EQ(names[kRenamedProgram], "Forty, changed");
  ASSERT_EQ(names[kNeverUsedProgram], "- 35 -");

  ASSERT_TRUE(SaveStateFile(*original, folder.Path("bank.fxb")));
  EXPECT_EQ(original->CurrentProgram(), kCurrentProgram);
  EXPECT_EQ(Values(*original), current);
  EXPECT_EQ(Names(*original), names);
  EXPECT_EQ(original->ProgramName(), names[kCurrentProgram]);

  auto loaded = Velmora();
  ASSERT_NE(loaded, nullptr);
  ASSERT_TRUE(LoadStateFile(*loaded, folder.Path("bank.fxb")));
  EXPECT_EQ(Names(*loaded), names);
  for (int32_t p = 0; p < original->NumPrograms(); ++p) {
    EXPECT_EQ(ValuesOf(*loaded, p), ValuesOf(*original, p)) << "program " << p;
  }
  // The changed program kept its values, and a never-used one holds the sound it would
  // have taken, not the last factory program's.
  EXPECT_EQ(ValuesOf(*loaded, kRenamedProgram)[2], 1.0f);
  EXPECT_EQ(ValuesOf(*loaded, kNeverUsedProgram), current);
  EXPECT_NE(ValuesOf(*loaded, kNeverUsedProgram), ValuesOf(*loaded, kLastFactoryProgram));
  EXPECT_EQ(original->CurrentProgram(), kCurrentProgram);
  EXPECT_EQ(Values(*original), current);
}

}  // namespace
}  // namespace velmora::render
