#include "tools/render/fx_preset.h"

#include <cmath>
#include <cstring>

#include "frame/vst2.h"
#include "tools/host/four_cc_text.h"

namespace velmora::render {
namespace {

constexpr int32_t kChunkMagic = vst::FourCC('C', 'c', 'n', 'K');
constexpr int32_t kProgramMagic = vst::FourCC('F', 'x', 'C', 'k');
constexpr int32_t kBankMagic = vst::FourCC('F', 'x', 'B', 'k');
constexpr int32_t kOpaqueProgramMagic = vst::FourCC('F', 'P', 'C', 'h');
constexpr int32_t kOpaqueBankMagic = vst::FourCC('F', 'B', 'C', 'h');
constexpr size_t kNameBytes = 28;
constexpr size_t kBankReservedBytes = 128;
constexpr size_t kProgramHeaderBytes = 7 * 4 + kNameBytes;
constexpr size_t kBankHeaderBytes = 7 * 4 + kBankReservedBytes;

class Writer {
 public:
  void Int(int32_t value) {
    auto bits = static_cast<uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8) {
      bytes_.push_back(static_cast<uint8_t>(bits >> shift));
    }
  }
  void Float(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    Int(static_cast<int32_t>(bits));
  }
  void Text(const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) {
      bytes_.push_back(i + 1 < size && i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    }
  }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  bool Has(size_t count) const { return bytes_.size() - position_ >= count; }
  size_t Remaining() const { return bytes_.size() - position_; }
  int32_t Int() {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
      bits = (bits << 8) | bytes_[position_++];
    }
    return static_cast<int32_t>(bits);
  }
  float Float() {
    auto bits = static_cast<uint32_t>(Int());
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
  }
  std::string Text(size_t size) {
    const char* start = reinterpret_cast<const char*>(bytes_.data() + position_);
    position_ += size;
    return std::string(start, strnlen(start, size));
  }
  void Skip(size_t size) { position_ += size; }

 private:
  const std::vector<uint8_t>& bytes_;
  size_t position_ = 0;
};

void WriteProgram(Writer& out, const FxFile& file, const FxProgram& program) {
  out.Int(kChunkMagic);
  out.Int(static_cast<int32_t>(kProgramHeaderBytes - 8 + 4 * program.values.size()));
  out.Int(kProgramMagic);
  out.Int(1);
  out.Int(file.uniqueId);
  out.Int(file.pluginVersion);
  out.Int(static_cast<int32_t>(program.values.size()));
  out.Text(program.name, kNameBytes);
  for (float value : program.values) {
    out.Float(value);
  }
}

// Reads and checks one whole program record, from its "CcnK" on.
host::Result<FxProgram> ReadProgram(Reader& in, const FxExpectation& expected) {
  using ProgramResult = host::Result<FxProgram>;
  if (!in.Has(kProgramHeaderBytes)) {
    return ProgramResult::Failure("the file is truncated");
  }
  if (in.Int() != kChunkMagic) {
    return ProgramResult::Failure("a program record does not start with CcnK");
  }
  in.Skip(4);
  int32_t magic = in.Int();
  if (magic != kProgramMagic) {
    return ProgramResult::Failure("a program record is " + host::FourCCText(magic) + ", not FxCk");
  }
  in.Skip(4);
  int32_t id = in.Int();
  if (id != expected.uniqueId) {
    return ProgramResult::Failure("a program was made for another plug-in (ID " +
                                  host::FourCCText(id) + ")");
  }
  in.Skip(4);
  int32_t count = in.Int();
  if (count != expected.numParams) {
    return ProgramResult::Failure("a program holds " + std::to_string(count) +
                                  " parameters; the plug-in has " +
                                  std::to_string(expected.numParams));
  }
  FxProgram program;
  program.name = in.Text(kNameBytes);
  if (!in.Has(4 * static_cast<size_t>(count))) {
    return ProgramResult::Failure("the file is truncated");
  }
  for (int32_t i = 0; i < count; ++i) {
    float value = in.Float();
    if (!std::isfinite(value) || value < 0.0f || value > 1.0f) {
      return ProgramResult::Failure("parameter " + std::to_string(i) +
                                    " holds a value outside 0..1");
    }
    program.values.push_back(value);
  }
  return ProgramResult::Success(program);
}

}  // namespace

std::vector<uint8_t> SerializeFxFile(const FxFile& file) {
  Writer out;
  if (!file.isBank) {
    WriteProgram(out, file, file.programs.empty() ? FxProgram() : file.programs.front());
    return out.Bytes();
  }
  size_t programBytes = 0;
  for (const FxProgram& program : file.programs) {
    programBytes += kProgramHeaderBytes + 4 * program.values.size();
  }
  out.Int(kChunkMagic);
  out.Int(static_cast<int32_t>(kBankHeaderBytes - 8 + programBytes));
  out.Int(kBankMagic);
  out.Int(1);
  out.Int(file.uniqueId);
  out.Int(file.pluginVersion);
  out.Int(static_cast<int32_t>(file.programs.size()));
  out.Text("", kBankReservedBytes);
  for (const FxProgram& program : file.programs) {
    WriteProgram(out, file, program);
  }
  return out.Bytes();
}

host::Result<FxFile> ParseFxFile(const std::vector<uint8_t>& bytes, const FxExpectation& expected) {
  using FileResult = host::Result<FxFile>;
  Reader in(bytes);
  if (!in.Has(28) || in.Int() != kChunkMagic) {
    return FileResult::Failure("not a VST preset file (no CcnK header)");
  }
  int32_t byteSize = in.Int();
  if (byteSize < 0 || static_cast<size_t>(byteSize) != bytes.size() - 8) {
    return FileResult::Failure(static_cast<size_t>(byteSize) > bytes.size() - 8
                                   ? "the file is truncated"
                                   : "the file's size field does not match its length");
  }
  int32_t magic = in.Int();
  if (magic == kOpaqueProgramMagic || magic == kOpaqueBankMagic) {
    return FileResult::Failure("opaque-chunk preset files (" + host::FourCCText(magic) +
                               ") are not supported");
  }
  if (magic != kProgramMagic && magic != kBankMagic) {
    return FileResult::Failure("unknown preset form " + host::FourCCText(magic));
  }
  int32_t version = in.Int();
  int32_t id = in.Int();
  if (version < 1 || version > 2) {
    return FileResult::Failure("unknown preset format version " + std::to_string(version));
  }
  if (id != expected.uniqueId) {
    return FileResult::Failure("made for another plug-in (ID " + host::FourCCText(id) +
                               ", expected " + host::FourCCText(expected.uniqueId) + ")");
  }
  FxFile file;
  file.isBank = magic == kBankMagic;
  file.uniqueId = id;
  file.pluginVersion = in.Int();
  int32_t count = in.Int();
  Reader whole(bytes);
  if (!file.isBank) {
    auto program = ReadProgram(whole, expected);
    if (!program) {
      return FileResult::Failure(program.Error());
    }
    if (whole.Remaining() != 0) {
      return FileResult::Failure("the program file has bytes after its values");
    }
    file.programs.push_back(program.Value());
    return FileResult::Success(file);
  }
  if (count != expected.numPrograms) {
    return FileResult::Failure("the bank holds " + std::to_string(count) +
                               " programs; the plug-in has " +
                               std::to_string(expected.numPrograms));
  }
  if (!in.Has(kBankReservedBytes)) {
    return FileResult::Failure("the file is truncated");
  }
  if (version == 2) {
    int32_t current = in.Int();
    file.currentProgram = current >= 0 && current < count ? current : -1;
  }
  whole.Skip(kBankHeaderBytes);
  for (int32_t p = 0; p < count; ++p) {
    auto program = ReadProgram(whole, expected);
    if (!program) {
      return FileResult::Failure(program.Error());
    }
    file.programs.push_back(program.Value());
  }
  if (whole.Remaining() != 0) {
    return FileResult::Failure("the bank has bytes after its last program");
  }
  return FileResult::Success(file);
}

}  // namespace velmora::render
