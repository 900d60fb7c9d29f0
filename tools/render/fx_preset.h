// The preset files VST 2 hosts exchange, in their parameter-list forms: a program file
// (.fxp, "FxCk") holds one program's name and normalised values; a bank file (.fxb, "FxBk")
// holds every program of a plug-in. All fields are big-endian:
//   program: "CcnK", byte size of the rest, "FxCk", format version 1, plug-in unique ID,
//            plug-in version, parameter count, 28-byte name, one float per parameter
//   bank:    "CcnK", byte size of the rest, "FxBk", format version 1, unique ID, version,
//            program count, 128 reserved bytes, then that many program records as above
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/host/result.h"

namespace velmora::render {

struct FxProgram {
  std::string name;  // at most 27 characters are stored
  std::vector<float> values;
};

struct FxFile {
  bool isBank = false;
  int32_t uniqueId = 0;
  int32_t pluginVersion = 0;
  int32_t currentProgram = -1;      // only in version 2 banks; -1 when the file does not say
  std::vector<FxProgram> programs;  // one for a program file
};

// What the file must match to be loaded into a plug-in.
struct FxExpectation {
  int32_t uniqueId = 0;
  int32_t numParams = 0;
  int32_t numPrograms = 0;
};

std::vector<uint8_t> SerializeFxFile(const FxFile& file);

// Parses and checks a whole file: magic, form, unique ID, counts, length and values.
host::Result<FxFile> ParseFxFile(const std::vector<uint8_t>& bytes, const FxExpectation& expected);

}  // namespace velmora::render
