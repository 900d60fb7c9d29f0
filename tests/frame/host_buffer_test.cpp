// The text opcodes against buffers of the sizes conventional hosts pass: 24 bytes for
// program names, 64 for the other names and texts. Sentinel bytes right after each buffer
// must survive and every text must end inside its buffer; each call is repeated into a heap
// block of exactly that size, so a sanitizer build reports any access beyond it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/frame/fake_host.h"

namespace velmora::testing {
namespace {

constexpr size_t kProgramNameBuffer = 24;
constexpr size_t kTextBuffer = 64;
constexpr size_t kSentinelBytes = 16;
constexpr char kSentinel = static_cast<char>(0xA5);
constexpr char kUnwritten = static_cast<char>(0x7F);

// The vendor calls that write a text into the host's buffer.
constexpr int32_t kVendorParamDisplay = 7;
constexpr int32_t kVendorString2Parameter = 27;

struct TextCall {
  int32_t opcode;
  int32_t index = 0;
  intptr_t value = 0;
  float opt = 0.0f;
  const char* input = nullptr;  // a text the host hands in (in place, for the vendor call)
};

std::string Describe(const TextCall& call) {
  return "opcode " + std::to_string(call.opcode) + " index " + std::to_string(call.index) +
         " value " + std::to_string(call.value);
}

// Fills size bytes as a host would before the call: its own text, or bytes that are no
// text at all, so a missing terminator shows.
void Prepare(char* buffer, size_t size, const TextCall& call) {
  std::memset(buffer, kUnwritten, size);
  if (call.input != nullptr) {
    ASSERT_LT(std::strlen(call.input), size);
    std::memcpy(buffer, call.input, std::strlen(call.input) + 1);
  }
}

// Makes the call into a buffer of size bytes and returns the text it holds afterwards.
std::string CallInto(const PluginInstance& instance, const TextCall& call, size_t size) {
  std::vector<char> guarded(size + kSentinelBytes, kSentinel);
  Prepare(guarded.data(), size, call);
  instance.Dispatch(call.opcode, call.index, call.value, guarded.data(), call.opt);
  for (size_t k = size; k < guarded.size(); ++k) {
    EXPECT_EQ(guarded[k], kSentinel)
        << Describe(call) << ": byte " << k << " of a " << size << "-byte buffer was written";
  }
  EXPECT_NE(std::memchr(guarded.data(), '\0', size), nullptr)
      << Describe(call) << ": no terminator inside the buffer";

  std::unique_ptr<char[]> exact(new char[size]);
  Prepare(exact.get(), size, call);
  instance.Dispatch(call.opcode, call.index, call.value, exact.get(), call.opt);
  const std::string text(guarded.data(), strnlen(guarded.data(), size));
  EXPECT_EQ(std::string(exact.get(), strnlen(exact.get(), size)), text) << Describe(call);
  return text;
}

// Every text of every parameter at the current values.
void ExpectParameterTextsFit(const PluginInstance& instance) {
  const int params = instance.effect()->numParams;
  for (int32_t i = 0; i < params; ++i) {
    EXPECT_FALSE(CallInto(instance, {vst::effGetParamName, i}, kTextBuffer).empty()) << i;
    CallInto(instance, {vst::effGetParamLabel, i}, kTextBuffer);
    EXPECT_FALSE(CallInto(instance, {vst::effGetParamDisplay, i}, kTextBuffer).empty()) << i;
    for (float normalised : {0.0f, 0.37f, 1.0f}) {
      CallInto(instance, {vst::effVendorSpecific, kVendorParamDisplay, i, normalised}, kTextBuffer);
    }
  }
}

TEST(HostSizedBuffers, EveryTextOpcodeStaysInsideConventionalBuffers) {
  PluginInstance instance;
  instance.Dispatch(vst::effOpen);
  const int programs = instance.effect()->numPrograms;
  EXPECT_FALSE(CallInto(instance, {vst::effGetEffectName}, kTextBuffer).empty());
  EXPECT_FALSE(CallInto(instance, {vst::effGetVendorString}, kTextBuffer).empty());
  CallInto(instance, {vst::effGetProductString}, kTextBuffer);
  for (int32_t p = 0; p < programs; ++p) {
    EXPECT_FALSE(
        CallInto(instance, {vst::effGetProgramNameIndexed, p}, kProgramNameBuffer).empty());
  }
  // Every program in turn, the never-used ones taking their user names as they are chosen.
  for (int32_t p = 0; p < programs; ++p) {
    instance.Dispatch(vst::effSetProgram, 0, p);
    EXPECT_EQ(CallInto(instance, {vst::effGetProgramName}, kProgramNameBuffer),
              CallInto(instance, {vst::effGetProgramNameIndexed, p}, kProgramNameBuffer));
    ExpectParameterTextsFit(instance);
  }
  for (int32_t i = 0; i < instance.effect()->numParams; ++i) {
    CallInto(instance, {vst::effVendorSpecific, kVendorString2Parameter, i, 0.0f, "12.5"},
             kTextBuffer);
    CallInto(instance, {vst::effString2Parameter, i, 0, 0.0f, "1e999"}, kTextBuffer);
  }
  EXPECT_EQ(CallInto(instance, {vst::effCanDo, 0, 0, 0.0f, "bypass"}, kTextBuffer), "bypass");
}

// The longest name a 24-byte buffer holds goes in and comes back whole.
TEST(HostSizedBuffers, A23CharacterNameRoundTripsThroughA24ByteBuffer) {
  PluginInstance instance;
  instance.Dispatch(vst::effOpen);
  const char* name = "Twenty-three characters";
  ASSERT_EQ(std::strlen(name), kProgramNameBuffer - 1);
  EXPECT_EQ(CallInto(instance, {vst::effSetProgramName, 0, 0, 0.0f, name}, kProgramNameBuffer),
            name);
  EXPECT_EQ(CallInto(instance, {vst::effGetProgramName}, kProgramNameBuffer), name);
  EXPECT_EQ(CallInto(instance, {vst::effGetProgramNameIndexed, 0}, kProgramNameBuffer), name);
}

}  // namespace
}  // namespace velmora::testing
