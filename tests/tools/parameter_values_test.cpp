// Settings in displayed units against the fixture plug-in: numbers by bisection, enumerated
// texts by scan, labels, ranges, and nothing changed when a setting is refused.
#include <gtest/gtest.h>

#include <clocale>

#include "tests/tools/fixture_paths.h"
#include "tools/render/parameter_values.h"

namespace velmora::render {
namespace {

std::unique_ptr<host::PluginHost> Fixture() {
  auto loaded = host::PluginHost::Load(host::testing::kFixtureVstMain);
  EXPECT_TRUE(loaded.Ok()) << loaded.Error();
  if (!loaded.Ok()) {
    return nullptr;
  }
  loaded.Value()->Open();
  return std::move(loaded.Value());
}

TEST(ParameterValues, FindsParametersByNameOrIndex) {
  auto host = Fixture();
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(FindParameter(*host, "Gain").Value(), 0);
  EXPECT_EQ(FindParameter(*host, "  mODE ").Value(), 1);
  EXPECT_EQ(FindParameter(*host, "2").Value(), 2);
  for (const char* unknown : {"3", "-1", "1.5", "Volume", ""}) {
    auto found = FindParameter(*host, unknown);
    ASSERT_FALSE(found.Ok()) << unknown;
    EXPECT_NE(found.Error().find("unknown parameter"), std::string::npos);
  }
}

TEST(ParameterValues, NumbersAreFoundByTheirDisplay) {
  auto host = Fixture();
  ASSERT_NE(host, nullptr);
  ASSERT_TRUE(ApplySetting(*host, "Gain=37"));
  EXPECT_EQ(host->ParamDisplay(0), "37");
  // The middle of the values that show 37 (0.365 .. 0.375), not an edge.
  EXPECT_NEAR(host->GetParameter(0), 0.37f, 0.001f);
  ASSERT_TRUE(ApplySetting(*host, "gain = 100 %"));
  EXPECT_EQ(host->ParamDisplay(0), "100");
  ASSERT_TRUE(ApplySetting(*host, "Time=250 ms"));
  EXPECT_EQ(host->ParamDisplay(2), "250.0");
  ASSERT_TRUE(ApplySetting(*host, "2=1"));
  EXPECT_EQ(host->ParamDisplay(2), "1.0");
  // 1 + 999 n^2 shows 1.0 below n = sqrt(0.05 / 999): the middle of that run is about 0.0035.
  EXPECT_NEAR(host->GetParameter(2), 0.0035f, 0.0002f);
  ASSERT_TRUE(ApplySetting(*host, "Time=612.34"));
  EXPECT_EQ(host->ParamDisplay(2), "612.3") << "closest display wins";
}

TEST(ParameterValues, EnumeratedTextsAreFoundByScan) {
  auto host = Fixture();
  ASSERT_NE(host, nullptr);
  ASSERT_TRUE(ApplySetting(*host, "Mode=warm"));
  EXPECT_EQ(host->ParamDisplay(1), "Warm");
  EXPECT_NEAR(host->GetParameter(1), 0.5f, 0.01f);
  ASSERT_TRUE(ApplySetting(*host, "Mode=Hot"));
  EXPECT_GE(host->GetParameter(1), 0.75f);
}

TEST(ParameterValues, RefusedSettingsChangeNothing) {
  auto host = Fixture();
  ASSERT_NE(host, nullptr);
  host->SetParameter(0, 0.2f);
  host->SetParameter(1, 0.0f);
  host->SetParameter(2, 0.3f);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Gain=150", "Gain value out of range (0 .. 100)"},
      {"Gain=-1", "out of range"},
      {"Time=0.5", "Time value out of range (1.0 .. 1000.0)"},
      {"Mode=Lukewarm", "it takes one of: Clean, Warm, Hot"},
      {"Mode=1", "Mode takes one of: Clean, Warm, Hot"},
      {"Gain=loud", "not a value of Gain"},
      {"Gain=0,5", "not a value of Gain"},
      {"Gain", "--set expects NAME=VALUE"},
      {"=5", "--set expects NAME=VALUE"},
      {"Volume=5", "unknown parameter \"Volume\""},
  };
  for (const auto& [setting, expected] : cases) {
    host::Status status = ApplySetting(*host, setting);
    ASSERT_FALSE(status.Ok()) << setting;
    EXPECT_NE(status.Error().find(expected), std::string::npos) << status.Error();
  }
  EXPECT_EQ(host->GetParameter(0), 0.2f);
  EXPECT_EQ(host->GetParameter(1), 0.0f);
  EXPECT_EQ(host->GetParameter(2), 0.3f);
}

TEST(ParameterValues, NumbersParseTheSameWhateverTheLocale) {
  // A locale with a decimal comma, where one exists on this machine, must change nothing.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous != nullptr ? previous : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  double number = 0.0;
  EXPECT_TRUE(ParseNumber(" -12.5 ", number));
  EXPECT_EQ(number, -12.5);
  EXPECT_TRUE(ParseNumber("+3", number));
  EXPECT_EQ(number, 3.0);
  EXPECT_FALSE(ParseNumber("12,5", number));
  EXPECT_FALSE(ParseNumber("1e3", number)) << "displays never use exponents";
  EXPECT_FALSE(ParseNumber("nan", number));
  EXPECT_FALSE(ParseNumber("1/8", number));
  EXPECT_FALSE(ParseNumber("inf", number));
  EXPECT_FALSE(ParseNumber("", number));
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace velmora::render
