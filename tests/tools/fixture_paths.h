// Paths of the fixture plug-in variants, passed in by the build.
#pragma once

#include <cstdint>

namespace velmora::host::testing {

constexpr const char* kFixtureVstMain = FIXTURE_VSTMAIN;
constexpr const char* kFixtureMain = FIXTURE_MAIN;
constexpr const char* kFixtureRefuse = FIXTURE_REFUSE;
constexpr const char* kFixtureNoEntry = FIXTURE_NOENTRY;

// The fixture's vendor-specific calls.
constexpr int32_t kVendorCreationProduct = 1;
constexpr int32_t kVendorLastTempo = 2;
constexpr int32_t kVendorLastTimeFlags = 3;
constexpr int32_t kVendorAutomateFromThreads = 4;

}  // namespace velmora::host::testing
