#include "tools/render/plugin_state.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tools/render/parameter_values.h"

namespace velmora::render {
namespace {

// Preset files are small; anything larger than this is not one.
constexpr std::streamoff kLargestPresetFile = 64 << 20;

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() &&
         SameTextIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

FxProgram CaptureProgram(host::PluginHost& host) {
  FxProgram program;
  program.name = host.ProgramName();
  for (int32_t i = 0; i < host.NumParams(); ++i) {
    program.values.push_back(host.GetParameter(i));
  }
  return program;
}

// VST 2 offers no way to read a program's values but to choose it, and choosing one can
// change it: a plug-in may name a never-used program as it is first chosen, and give it the
// sound it was chosen from. So each program is chosen from the current one, which is chosen
// again right after; the name is read without choosing (effGetProgramNameIndexed) and given
// back if choosing changed it. A never-used program thus reads as what choosing it gives:
// its own name and the current sound.
FxProgram CaptureOtherProgram(host::PluginHost& host, int32_t program, int32_t current) {
  const std::string name = host.ProgramNameIndexed(program);
  host.SetProgram(program);
  FxProgram captured = CaptureProgram(host);
  if (!name.empty()) {
    captured.name = name;
    if (host.ProgramNameIndexed(program) != name) {
      host.SetProgramName(name);
    }
  }
  host.SetProgram(current);
  return captured;
}

void ApplyProgram(host::PluginHost& host, const FxProgram& program) {
  for (int32_t i = 0; i < host.NumParams(); ++i) {
    host.SetParameter(i, program.values[static_cast<size_t>(i)]);
  }
  // Renaming last: plug-ins that store the current values into the program on a rename
  // then keep the values just set.
  host.SetProgramName(program.name);
}

host::Status WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string pattern = path + ".XXXXXX.part";
  std::vector<char> temporary(pattern.begin(), pattern.end());
  temporary.push_back('\0');
  int fd = mkstemps(temporary.data(), 5);
  if (fd < 0) {
    return host::Status::Failure("cannot write " + path);
  }
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  written = close(fd) == 0 && written;
  if (!written || std::rename(temporary.data(), path.c_str()) != 0) {
    std::remove(temporary.data());
    return host::Status::Failure("cannot write " + path);
  }
  return host::Status();
}

}  // namespace

host::Status SelectProgram(host::PluginHost& host, const std::string& numberOrName) {
  for (int32_t i = 0; i < host.NumPrograms(); ++i) {
    if (SameTextIgnoringCase(host.ProgramNameIndexed(i), numberOrName)) {
      host.SetProgram(i);
      return host::Status();
    }
  }
  double number = 0.0;
  if (ParseNumber(numberOrName, number) && number >= 0 && number < host.NumPrograms() &&
      number == static_cast<int32_t>(number)) {
    host.SetProgram(static_cast<int32_t>(number));
    return host::Status();
  }
  return host::Status::Failure("unknown program \"" + numberOrName +
                               "\" (--list-programs shows them)");
}

FxFile CaptureState(host::PluginHost& host, bool isBank) {
  FxFile file;
  file.isBank = isBank;
  file.uniqueId = host.Effect()->uniqueID;
  file.pluginVersion = host.Effect()->version;
  if (!isBank) {
    file.programs.push_back(CaptureProgram(host));
    return file;
  }
  const int32_t current = host.CurrentProgram();
  const FxProgram currentProgram = CaptureProgram(host);
  for (int32_t p = 0; p < host.NumPrograms(); ++p) {
    file.programs.push_back(p == current ? currentProgram : CaptureOtherProgram(host, p, current));
  }
  return file;
}

void ApplyState(host::PluginHost& host, const FxFile& file) {
  if (!file.isBank) {
    ApplyProgram(host, file.programs.front());
    return;
  }
  int32_t current = file.currentProgram >= 0 ? file.currentProgram : host.CurrentProgram();
  for (int32_t p = 0; p < host.NumPrograms(); ++p) {
    host.SetProgram(p);
    ApplyProgram(host, file.programs[static_cast<size_t>(p)]);
  }
  host.SetProgram(current);
}

host::Status LoadStateFile(host::PluginHost& host, const std::string& path) {
  std::ifstream stream(path, std::ios::binary | std::ios::ate);
  if (!stream) {
    return host::Status::Failure("cannot read " + path);
  }
  std::streamoff size = stream.tellg();
  if (size < 0 || size > kLargestPresetFile) {
    return host::Status::Failure("cannot read " + path + ": not a preset file");
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  stream.seekg(0);
  if (!stream.read(reinterpret_cast<char*>(bytes.data()), size)) {
    return host::Status::Failure("cannot read " + path);
  }
  FxExpectation expected{host.Effect()->uniqueID, host.NumParams(), host.NumPrograms()};
  auto file = ParseFxFile(bytes, expected);
  if (!file) {
    return host::Status::Failure("cannot load " + path + ": " + file.Error());
  }
  ApplyState(host, file.Value());
  return host::Status();
}

host::Status SaveStateFile(host::PluginHost& host, const std::string& path) {
  bool isBank = EndsWithIgnoringCase(path, ".fxb");
  if (!isBank && !EndsWithIgnoringCase(path, ".fxp")) {
    return host::Status::Failure("cannot write " + path + ": use a .fxp or .fxb file name");
  }
  return WriteWholeFile(path, SerializeFxFile(CaptureState(host, isBank)));
}

}  // namespace velmora::render
