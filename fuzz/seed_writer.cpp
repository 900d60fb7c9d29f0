// Writes the seed corpus of the plug-in fuzz targets from a real instance: chunks of a few
// programs, a program and a bank file, and call sequences a host makes. Run it from the
// fuzz tree with the corpus folder as its argument; the PNG seeds are ordinary image files.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/dispatcher_call.h"
#include "fuzz/dispatcher_record.h"
#include "fuzz/fuzz_host.h"
#include "tools/render/fx_preset.h"

namespace {

using namespace velmora::fuzz;
namespace vst = velmora::vst;
namespace render = velmora::render;
using Bytes = std::vector<uint8_t>;

void WriteFile(const std::string& path, const Bytes& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    Fail("cannot write a seed file");
  }
  std::fclose(file);
}

Bytes Chunk(const FuzzInstance& instance, int32_t form) {
  void* data = nullptr;
  const intptr_t size = instance.Dispatch(vst::effGetChunk, form, 0, &data);
  const auto* bytes = static_cast<const uint8_t*>(data);
  return Bytes(bytes, bytes + size);
}

void WriteChunkSeeds(const FuzzInstance& instance, const std::string& folder) {
  for (int program : {0, 5, 17}) {
    for (int32_t form : {0, 1}) {
      instance.Dispatch(vst::effSetProgram, 0, program);
      Bytes seed{static_cast<uint8_t>(form | program << 1)};
      const Bytes chunk = Chunk(instance, form);
      seed.insert(seed.end(), chunk.begin(), chunk.end());
      WriteFile(folder + "/program" + std::to_string(program) + "-form" + std::to_string(form),
                seed);
    }
  }
}

render::FxProgram CurrentProgram(const FuzzInstance& instance) {
  vst::AEffect* effect = instance.Effect();
  char name[256] = {};
  instance.Dispatch(vst::effGetProgramName, 0, 0, name);
  render::FxProgram program{name, {}};
  for (int32_t i = 0; i < effect->numParams; ++i) {
    program.values.push_back(effect->getParameter(effect, i));
  }
  return program;
}

Bytes WithExpectation(const vst::AEffect* effect, const Bytes& file) {
  Bytes seed;
  for (int32_t field : {effect->uniqueID, effect->numParams, effect->numPrograms}) {
    for (int shift = 0; shift < 32; shift += 8) {
      seed.push_back(static_cast<uint8_t>(static_cast<uint32_t>(field) >> shift));
    }
  }
  seed.insert(seed.end(), file.begin(), file.end());
  return seed;
}

void WritePresetSeeds(const FuzzInstance& instance, const std::string& folder) {
  vst::AEffect* effect = instance.Effect();
  render::FxFile bank{true, effect->uniqueID, effect->version, -1, {}};
  for (int32_t p = 0; p < effect->numPrograms; ++p) {
    instance.Dispatch(vst::effSetProgram, 0, p);
    bank.programs.push_back(CurrentProgram(instance));
  }
  render::FxFile program = bank;
  program.isBank = false;
  program.programs = {bank.programs[3]};
  WriteFile(folder + "/program.fxp", WithExpectation(effect, render::SerializeFxFile(program)));
  WriteFile(folder + "/bank.fxb", WithExpectation(effect, render::SerializeFxFile(bank)));
}

DispatcherRecord Call(CallKind kind, int32_t opcode, int32_t index = 0, int64_t value = 0,
                      float opt = 0.0f, Bytes payload = {}, uint8_t flags = 0) {
  return DispatcherRecord{ActionByte(kind, opcode), flags, index, value, opt, std::move(payload)};
}

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

template <typename Sample>
Bytes Sine(int frames) {
  Bytes bytes(sizeof(Sample) * frames);
  for (int i = 0; i < frames; ++i) {
    const auto sample = static_cast<Sample>(0.5 * std::sin(0.05 * i));
    std::memcpy(bytes.data() + sizeof(Sample) * i, &sample, sizeof(Sample));
  }
  return bytes;
}

void WriteSequence(const std::string& path, const std::vector<DispatcherRecord>& calls) {
  Bytes bytes;
  for (const DispatcherRecord& call : calls) {
    AppendRecord(bytes, call);
  }
  WriteFile(path, bytes);
}

void WriteDispatcherSeeds(const FuzzInstance& instance, const std::string& folder) {
  const CallKind plain = CallKind::kPlain;
  const CallKind text = CallKind::kBuffer;
  const std::vector<DispatcherRecord> start = {
      Call(plain, vst::effSetSampleRate, 0, 0, 48000.0f),
      Call(plain, vst::effSetBlockSize, 0, 256),
      Call(plain, vst::effMainsChanged, 0, 1),
      Call(CallKind::kProcess, -1, 0, 256, 0, Sine<float>(64)),
      Call(text, vst::effGetParamName, 3),
      Call(text, vst::effGetParamDisplay, 3),
      Call(text, vst::effGetParamLabel, 3),
      Call(plain, vst::effSetProgram, 0, 7),
      Call(CallKind::kProcess, -1, 0, 300, 0, Sine<double>(50), kDoublePath),
      Call(CallKind::kChunkOut, vst::effGetChunk),
      Call(plain, vst::effStopProcess)};
  WriteSequence(folder + "/host-start", start);

  const std::vector<DispatcherRecord> texts = {
      Call(text, vst::effCanDo, 0, 0, 0, Text("receiveVstTimeInfo")),
      Call(text, vst::effString2Parameter, 1, 0, 0, Text("50")),
      Call(text, vst::effSetProgramName, 0, 0, 0, Text("Hello")),
      Call(text, vst::effGetProgramNameIndexed, 4),
      Call(text, vst::effVendorSpecific, 7, 2, 0.25f),
      Call(text, vst::effVendorSpecific, 8, 5),
      Call(text, vst::effVendorSpecific, 27, 3, 0, Text("12.5")),
      Call(text, vst::effVendorSpecific, vst::FourCC('s', 't', 'C', 'A'),
           vst::FourCC('W', 'h', 'e', 'e'), 1.0f),
      Call(text, vst::effGetMidiKeyName, 0, 0, 0, Bytes(80, 0))};
  WriteSequence(folder + "/texts", texts);

  const std::vector<DispatcherRecord> hostSized = {
      Call(text, vst::effGetProgramName, 0, 0, 0, {}, kHostSizedText),
      Call(text, vst::effGetProgramNameIndexed, 59, 0, 0, {}, kHostSizedText),
      Call(text, vst::effSetProgramName, 0, 0, 0, Text("Twenty-three characters"), kHostSizedText),
      Call(text, vst::effGetProgramName, 0, 0, 0, {}, kHostSizedText),
      Call(text, vst::effGetParamName, 21, 0, 0, {}, kHostSizedText),
      Call(text, vst::effGetParamDisplay, 2, 0, 0, {}, kHostSizedText),
      Call(text, vst::effGetParamLabel, 12, 0, 0, {}, kHostSizedText),
      Call(text, vst::effGetEffectName, 0, 0, 0, {}, kHostSizedText),
      Call(text, vst::effGetVendorString, 0, 0, 0, {}, kHostSizedText),
      Call(text, vst::effGetProductString, 0, 0, 0, {}, kHostSizedText),
      Call(text, vst::effVendorSpecific, 27, 3, 0, Text("12.5"), kHostSizedText),
      Call(text, vst::effString2Parameter, 4, 0, 0, Text("1e999"), kHostSizedText),
      Call(text, vst::effCanDo, 0, 0, 0, Text("bypass"), kHostSizedText)};
  WriteSequence(folder + "/host-sized-texts", hostSized);

  Bytes events = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x90, 60, 100, 1, 4, 0, 0, 0, 16, 0, 0, 0, 0xF0, 0, 0};
  const std::vector<DispatcherRecord> structures = {
      Call(CallKind::kSpeakersSet, vst::effSetSpeakerArrangement, 1, 2),
      Call(CallKind::kSpeakersGet, vst::effGetSpeakerArrangement),
      Call(CallKind::kEvents, vst::effProcessEvents, 0, 0, 0, events),
      Call(CallKind::kEditRect, vst::effEditGetRect),
      Call(plain, vst::effEditClose),
      Call(text, vst::effGetInputProperties, 1),
      Call(text, vst::effGetOutputProperties, 0),
      Call(CallKind::kRawOpcode, -1, 99, 0, 0, Text("x"))};
  WriteSequence(folder + "/structures", structures);

  const Bytes chunk = Chunk(instance, 1);
  const std::vector<DispatcherRecord> session = {
      Call(CallKind::kHostTime, -1, 2400, 4096, 0, Text("Ardour"), 0),
      Call(plain, vst::effOpen),
      Call(plain, vst::effMainsChanged, 0, 1),
      Call(CallKind::kProcess, -1, 0, 512, 0, Sine<float>(128)),
      Call(CallKind::kSetParameter, -1, 2, 0, 0.8f),
      Call(CallKind::kGetParameter, -1, 2),
      Call(CallKind::kHostTime, -1, 0, 0, 0, {}, 1),
      Call(CallKind::kProcess, -1, 0, 128, 0, Sine<float>(32), kInPlace),
      Call(CallKind::kChunkIn, vst::effSetChunk, 1, static_cast<int64_t>(chunk.size()), 0, chunk),
      Call(CallKind::kProcess, -1, 0, 64, 0, Sine<double>(16), kDoublePath),
      Call(CallKind::kProcess, -1, 0, 100, 0, Sine<float>(20), kAccumulating),
      Call(CallKind::kProcess, -1, 0, 32, 0, {}, kNoInputArray)};
  WriteSequence(folder + "/session", session);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seed_writer CORPUS_FOLDER\n");
    return 2;
  }
  const std::string corpus = argv[1];
  FuzzHost host;
  FuzzInstance instance(host);
  WriteChunkSeeds(instance, corpus + "/chunk");
  WritePresetSeeds(instance, corpus + "/fx_preset");
  WriteDispatcherSeeds(instance, corpus + "/dispatcher");
  return 0;
}
