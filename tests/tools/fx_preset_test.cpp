// The .fxp and .fxb preset files: exact big-endian layout, round trips, every way a file can
// be foreign or broken, and loading into a plug-in that must stay untouched on error.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "tests/tools/fixture_paths.h"
#include "tests/tools/temp_folder.h"
#include "tools/render/fx_preset.h"
#include "tools/render/plugin_state.h"

namespace velmora::render {
namespace {

constexpr int32_t kFixtureId = vst::FourCC('F', 'x', 't', 'r');
const FxExpectation kExpected{kFixtureId, 3, 2};

FxFile Program(const std::string& name, std::vector<float> values) {
  FxFile file;
  file.uniqueId = kFixtureId;
  file.pluginVersion = 10203;
  file.programs.push_back(FxProgram{name, std::move(values)});
  return file;
}

int32_t BigEndianAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return static_cast<int32_t>(uint32_t(bytes[offset]) << 24 | uint32_t(bytes[offset + 1]) << 16 |
                              uint32_t(bytes[offset + 2]) << 8 | uint32_t(bytes[offset + 3]));
}

TEST(FxPreset, ProgramFileLayoutIsBigEndian) {
  std::vector<uint8_t> bytes = SerializeFxFile(Program("Lead", {0.5f, 1.0f, 0.0f}));
  ASSERT_EQ(bytes.size(), 56u + 3 * 4);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "CcnK");
  EXPECT_EQ(BigEndianAt(bytes, 4), int32_t(bytes.size() - 8));
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "FxCk");
  EXPECT_EQ(BigEndianAt(bytes, 12), 1);
  EXPECT_EQ(std::string(bytes.begin() + 16, bytes.begin() + 20), "Fxtr");
  EXPECT_EQ(BigEndianAt(bytes, 20), 10203);
  EXPECT_EQ(BigEndianAt(bytes, 24), 3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[28])), "Lead");
  EXPECT_EQ(uint32_t(BigEndianAt(bytes, 56)), 0x3F000000u);  // 0.5f
  EXPECT_EQ(uint32_t(BigEndianAt(bytes, 60)), 0x3F800000u);  // 1.0f
}

TEST(FxPreset, ProgramAndBankRoundTrips) {
  FxFile program = Program("A name longer than the twenty-seven bytes", {0.1f, 0.2f, 0.3f});
  auto back = ParseFxFile(SerializeFxFile(program), kExpected);
  ASSERT_TRUE(back.Ok()) << back.Error();
  EXPECT_FALSE(back.Value().isBank);
  EXPECT_EQ(back.Value().programs[0].name, "A name longer than the twen");
  EXPECT_EQ(back.Value().programs[0].values, program.programs[0].values);

  FxFile bank = program;
  bank.isBank = true;
  bank.programs.push_back(FxProgram{"Second", {1.0f, 0.0f, 0.75f}});
  std::vector<uint8_t> bytes = SerializeFxFile(bank);
  ASSERT_EQ(bytes.size(), 156u + 2 * (56 + 12));
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "FxBk");
  EXPECT_EQ(BigEndianAt(bytes, 24), 2);
  auto bankBack = ParseFxFile(bytes, kExpected);
  ASSERT_TRUE(bankBack.Ok()) << bankBack.Error();
  ASSERT_EQ(bankBack.Value().programs.size(), 2u);
  EXPECT_EQ(bankBack.Value().programs[1].name, "Second");
  EXPECT_EQ(bankBack.Value().programs[1].values, bank.programs[1].values);
}

TEST(FxPreset, ForeignAndBrokenFilesAreRefused) {
  const std::vector<uint8_t> good = SerializeFxFile(Program("P", {0.1f, 0.2f, 0.3f}));
  auto refused = [](std::vector<uint8_t> bytes, const FxExpectation& expected,
                    const std::string& reason) {
    auto parsed = ParseFxFile(bytes, expected);
    ASSERT_FALSE(parsed.Ok()) << reason;
    EXPECT_NE(parsed.Error().find(reason), std::string::npos) << parsed.Error();
  };
  auto changed = [&good](size_t offset, uint8_t value) {
    std::vector<uint8_t> bytes = good;
    bytes[offset] = value;
    return bytes;
  };
  refused({}, kExpected, "no CcnK header");
  refused(changed(0, 'X'), kExpected, "no CcnK header");
  refused(changed(8, 'Q'), kExpected, "unknown preset form QxCk");
  refused(changed(10, 'P'), kExpected, "unknown preset form FxPk");
  std::vector<uint8_t> opaque = good;
  opaque[9] = 'P';
  opaque[10] = 'C';
  opaque[11] = 'h';
  refused(opaque, kExpected, "opaque-chunk preset files (FPCh)");
  refused(changed(15, 7), kExpected, "format version");
  refused(good, {vst::FourCC('Q', 'x', 'v', 'b'), 3, 2}, "another plug-in (ID Fxtr");
  refused(good, {kFixtureId, 4, 2}, "holds 3 parameters; the plug-in has 4");
  refused(std::vector<uint8_t>(good.begin(), good.end() - 1), kExpected, "truncated");
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  refused(longer, kExpected, "size field does not match");
  refused(changed(56, 0x40), kExpected, "outside 0..1");  // 2.0f
  refused(changed(56, 0x7F), kExpected, "outside 0..1");  // NaN

  FxFile bank = Program("P", {0.1f, 0.2f, 0.3f});
  bank.isBank = true;
  refused(SerializeFxFile(bank), kExpected, "holds 1 programs; the plug-in has 2");
}

std::unique_ptr<host::PluginHost> Fixture() {
  auto loaded = host::PluginHost::Load(host::testing::kFixtureVstMain);
  EXPECT_TRUE(loaded.Ok()) << loaded.Error();
  if (!loaded.Ok()) {
    return nullptr;
  }
  loaded.Value()->Open();
  return std::move(loaded.Value());
}

TEST(PluginState, SavedProgramLoadsBackAndBadFilesChangeNothing) {
  host::testing::TempFolder folder;
  auto host = Fixture();
  ASSERT_NE(host, nullptr);
  host->SetParameter(0, 0.3f);
  host->SetParameter(1, 1.0f);
  host->SetParameter(2, 0.125f);
  ASSERT_TRUE(SaveStateFile(*host, folder.Path("mine.fxp")));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"mine.fxp"});

  host->SetParameter(0, 0.9f);
  host->SetParameter(1, 0.0f);
  host->SetParameter(2, 0.5f);
  ASSERT_TRUE(LoadStateFile(*host, folder.Path("mine.fxp")));
  EXPECT_EQ(host->GetParameter(0), 0.3f);
  EXPECT_EQ(host->GetParameter(1), 1.0f);
  EXPECT_EQ(host->GetParameter(2), 0.125f);

  std::ofstream(folder.Path("foreign.fxp"), std::ios::binary) << std::string(
      "CcnK\0\0\0\x08"
      "FxCk",
      12);
  host::Status foreign = LoadStateFile(*host, folder.Path("foreign.fxp"));
  EXPECT_FALSE(foreign.Ok());
  EXPECT_FALSE(LoadStateFile(*host, folder.Path("missing.fxp")).Ok());
  EXPECT_FALSE(SaveStateFile(*host, folder.Path("state.txt")).Ok());
  EXPECT_EQ(host->GetParameter(0), 0.3f);
  EXPECT_EQ(host->GetParameter(2), 0.125f);
}

TEST(PluginState, BankRoundTripAndProgramSelection) {
  host::testing::TempFolder folder;
  auto host = Fixture();
  ASSERT_NE(host, nullptr);
  ASSERT_TRUE(SelectProgram(*host, "quiet"));
  EXPECT_EQ(host->CurrentProgram(), 1);
  ASSERT_TRUE(SelectProgram(*host, "0"));
  EXPECT_EQ(host->CurrentProgram(), 0);
  EXPECT_FALSE(SelectProgram(*host, "2").Ok());
  EXPECT_FALSE(SelectProgram(*host, "Loud").Ok());

  ASSERT_TRUE(SaveStateFile(*host, folder.Path("all.FXB")));
  host->SetProgram(1);
  host->SetProgramName("Changed");
  ASSERT_TRUE(LoadStateFile(*host, folder.Path("all.FXB")));
  EXPECT_EQ(host->ProgramNameIndexed(0), "Unity");
  EXPECT_EQ(host->ProgramNameIndexed(1), "Quiet");
}

}  // namespace
}  // namespace velmora::render
