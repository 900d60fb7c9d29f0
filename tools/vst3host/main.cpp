// velmora-vst3host MODULE [--host-name NAME] [--editor]: loads a VST 3 bundle (or its binary)
// through its factory, lists its classes and parameters, processes float and double blocks with a
// transport, round-trips the component state, asks for an interface nobody has and, with
// --editor, drags a knob in the Windows editor. One line
// per check; exit status 0 only when every check passed.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/vst3host/editor_check.h"
#include "tools/vst3host/vst3_plugin.h"

namespace velmora::vst3host {
namespace {

int failures = 0;

void Report(bool ok, const std::string& check, const std::string& detail) {
  std::printf("%s %s: %s\n", ok ? "PASS" : "FAIL", check.c_str(), detail.c_str());
  failures += ok ? 0 : 1;
}

void ListParameters(Vst3Plugin& plugin) {
  IEditController* controller = plugin.Controller();
  if (controller == nullptr) {
    Report(false, "parameters", "no edit controller");
    return;
  }
  const int32_t count = controller->getParameterCount();
  int named = 0;
  for (int32_t i = 0; i < count; ++i) {
    ParameterInfo info{};
    if (controller->getParameterInfo(i, info) != kResultOk) {
      continue;
    }
    String128 text = {};
    controller->getParamStringByValue(info.id, info.defaultNormalizedValue, text);
    named += info.title[0] != 0 ? 1 : 0;
    std::printf("  param %u '%s' [%s] steps %d default %.6f -> '%s'\n", info.id,
                Utf8Of(info.title, 128).c_str(), Utf8Of(info.units, 128).c_str(), info.stepCount,
                info.defaultNormalizedValue, Utf8Of(text, 128).c_str());
  }
  Report(named == count, "parameters", std::to_string(count) + " parameters");
}

bool ProcessBlocks(Vst3Plugin& plugin, bool wide) {
  constexpr int kBlock = 512;
  if (plugin.Processor()->canProcessSampleSize(wide ? kSample64 : kSample32) != kResultOk) {
    Report(true, wide ? "process double" : "process float", "not offered");
    return true;
  }
  const int ins = plugin.MainBusChannels(kInput);
  const int outs = plugin.MainBusChannels(kOutput);
  HostBuffers buffers(ins, outs, kBlock, wide);
  if (auto started = plugin.Start(44100.0, kBlock, wide); !started) {
    Report(false, "start", started.Error());
    return false;
  }
  ProcessContext context{};
  context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid |
                  ProcessContext::kProjectTimeMusicValid;
  context.sampleRate = 44100.0;
  context.tempo = 120.0;
  bool finite = true;
  double energy = 0.0;
  for (int block = 0; block < 100; ++block) {
    for (int c = 0; c < ins; ++c) {
      for (int i = 0; i < kBlock; ++i) {
        const double x = block < 20 ? std::sin(0.05 * (block * kBlock + i) + c) * 0.5 : 0.0;
        if (wide) {
          buffers.in64[c][i] = x;
        } else {
          buffers.in32[c][i] = static_cast<float>(x);
        }
      }
    }
    if (plugin.Process(buffers, kBlock, nullptr, &context) != kResultOk) {
      finite = false;
    }
    for (int c = 0; c < outs; ++c) {
      for (int i = 0; i < kBlock; ++i) {
        const double y = wide ? buffers.out64[c][i] : buffers.out32[c][i];
        finite = finite && std::isfinite(y);
        energy += y * y;
      }
    }
    context.projectTimeSamples += kBlock;
    context.projectTimeMusic += kBlock * 120.0 / (60.0 * 44100.0);
  }
  plugin.Stop();
  Report(finite && energy > 0.0, wide ? "process double" : "process float",
         "100 blocks of 512, output energy " + std::to_string(energy));
  return finite;
}

int Run(const std::string& path, const std::string& hostName, bool editor) {
  auto opened = Vst3Module::Open(path);
  if (!opened) {
    Report(false, "load", opened.Error());
    return 1;
  }
  Vst3Module& module = *opened.Value();
  PFactoryInfo factory{};
  module.Factory()->getFactoryInfo(&factory);
  Report(true, "load",
         module.Binary() + ", vendor '" + factory.vendor + "', " +
             std::to_string(module.Factory()->countClasses()) + " classes");
  const int index = module.AudioClass();
  if (index < 0) {
    Report(false, "classes", "no audio effect class");
    return 1;
  }
  PClassInfo2 info{};
  if (module.Factory2() != nullptr && module.Factory2()->getClassInfo2(index, &info) == kResultOk) {
    Report(true, "class",
           std::string("'") + info.name + "' " + info.subCategories + " " + info.vendor + " " +
               info.version);
  }
  auto created = Vst3Plugin::Create(module, index, hostName);
  if (!created) {
    Report(false, "create", created.Error());
    return 1;
  }
  Vst3Plugin& plugin = *created.Value();
  Report(true, "create", plugin.SingleObject() ? "one object" : "separate controller");
  void* none = &none;
  const Iid unknown = MakeIid({0x12345678, 0x9ABCDEF0, 0x0FEDCBA9, 0x87654321});
  const tresult refused = plugin.Component()->queryInterface(unknown.bytes, &none);
  Report(refused != kResultOk && none == nullptr, "unknown interface", "refused, result cleared");
  ListParameters(plugin);
  ProcessBlocks(plugin, false);
  ProcessBlocks(plugin, true);
  const std::vector<uint8_t> state = plugin.SaveState();
  const tresult loaded = plugin.LoadState(state);
  Report(!state.empty() && loaded == kResultOk && plugin.SaveState() == state, "state",
         std::to_string(state.size()) + " bytes round trip");
  if (editor) {
    std::string detail;
    const bool passed = CheckEditor(plugin, detail);
    Report(passed, "editor", detail);
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace velmora::vst3host

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: velmora-vst3host MODULE [--host-name NAME] [--editor]\n");
    return 2;
  }
  std::string hostName = "velmora-vst3host";
  bool editor = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--host-name") == 0 && i + 1 < argc) {
      hostName = argv[++i];
    } else if (std::strcmp(argv[i], "--editor") == 0) {
      editor = true;
    } else {
      std::fprintf(stderr, "unknown option %s\n", argv[i]);
      return 2;
    }
  }
  return velmora::vst3host::Run(argv[1], hostName, editor);
}
