// Fuzzes the .fxp/.fxb reader of velmora-render. The first 12 bytes are what the plug-in
// reports (unique ID, parameter count, program count, each 32-bit little-endian), the rest is
// the file. A file the reader accepts must survive being written and read again: the second
// reading equals the first (names are cut to the 27 characters a file can hold).
#include <cstring>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "tools/render/fx_preset.h"

namespace {

using velmora::fuzz::Fail;
namespace render = velmora::render;

int32_t ReadInt(const uint8_t* bytes) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = value << 8 | bytes[i];
  }
  return static_cast<int32_t>(value);
}

bool SamePrograms(const render::FxFile& a, const render::FxFile& b) {
  if (a.isBank != b.isBank || a.uniqueId != b.uniqueId || a.pluginVersion != b.pluginVersion ||
      a.programs.size() != b.programs.size()) {
    return false;
  }
  for (size_t p = 0; p < a.programs.size(); ++p) {
    const render::FxProgram& x = a.programs[p];
    const render::FxProgram& y = b.programs[p];
    if (x.name.compare(0, 27, y.name) != 0 || x.values != y.values) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 12) {
    return 0;
  }
  const render::FxExpectation expected{ReadInt(data), ReadInt(data + 4), ReadInt(data + 8)};
  const std::vector<uint8_t> file(data + 12, data + size);
  const auto first = render::ParseFxFile(file, expected);
  if (!first) {
    if (first.Error().empty()) {
      Fail("a refused preset file came without a reason");
    }
    return 0;
  }
  const auto second = render::ParseFxFile(render::SerializeFxFile(first.Value()), expected);
  if (!second) {
    Fail("the reader refused a file written from what it had read");
  }
  if (!SamePrograms(first.Value(), second.Value())) {
    Fail("a preset file read back differently after writing it");
  }
  return 0;
}
