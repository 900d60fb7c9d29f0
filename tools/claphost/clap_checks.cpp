#include "tools/claphost/clap_checks.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <thread>
#include <vector>

#include "tools/claphost/clap_instance.h"
#include "tools/validate/editor_parent.h"

namespace velmora::claphost {
namespace {

int failures = 0;

void Report(bool ok, const char* check, const std::string& detail) {
  std::printf("%s %s: %s\n", ok ? "PASS" : "FAIL", check, detail.c_str());
  std::fflush(stdout);
  failures += ok ? 0 : 1;
}

// Runs blocks of noise through a fresh activation; false at the first non-finite output.
template <typename Sample>
bool RenderFinite(ClapInstance& plugin, double rate, uint32_t block, bool poison, bool withEvents,
                  std::string& detail) {
  if (!plugin.Activate(rate, block) || !plugin.StartProcessing()) {
    detail = "activate or start refused";
    return false;
  }
  const uint32_t channels = plugin.PortChannels(false);
  std::vector<std::vector<Sample>> in(channels, std::vector<Sample>(block));
  std::vector<std::vector<Sample>> out(channels, std::vector<Sample>(block));
  AudioIo io;
  io.channels = channels;
  for (uint32_t c = 0; c < channels; ++c) {
    if constexpr (sizeof(Sample) == 4) {
      io.in32.push_back(in[c].data());
      io.out32.push_back(out[c].data());
    } else {
      io.in64.push_back(in[c].data());
      io.out64.push_back(out[c].data());
    }
  }
  std::mt19937 random(7);
  std::uniform_real_distribution<double> noise(-0.5, 0.5);
  const uint32_t blocks = std::max<uint32_t>(1, static_cast<uint32_t>(rate) / block);
  TransportState transport;
  transport.sampleRate = rate;
  bool finite = true;
  for (uint32_t b = 0; b < blocks && finite; ++b) {
    for (auto& channel : in) {
      for (Sample& s : channel) {
        s = static_cast<Sample>(noise(random));
      }
    }
    if (poison && b == 0) {
      in[0][0] = std::numeric_limits<Sample>::quiet_NaN();
      in[channels - 1][block - 1] = std::numeric_limits<Sample>::infinity();
    }
    InputEventList events;
    if (withEvents) {
      const uint32_t params = plugin.ParamCount();
      for (int e = 0; e < 4 && params > 0; ++e) {
        clap::ParamInfo info{};
        const uint32_t index = random() % params;
        if (plugin.ParamInfoAt(index, info)) {
          const double t = std::uniform_real_distribution<double>(0, 1)(random);
          events.AddValue(random() % block, info.id,
                          info.minValue + t * (info.maxValue - info.minValue));
        }
      }
    }
    transport.positionSamples = static_cast<double>(b) * block;
    const clap::EventTransport t = MakeTransport(transport);
    const int32_t status = plugin.Process(io, block, &events, nullptr, &t);
    if (status == clap::kProcessError) {
      detail = "process reported an error";
      finite = false;
    }
    for (auto& channel : out) {
      for (Sample s : channel) {
        finite = finite && std::isfinite(s);
      }
    }
  }
  plugin.StopProcessing();
  plugin.Deactivate();
  if (!finite && detail.empty()) {
    detail = "non-finite output";
  }
  return finite;
}

void CheckProcessing(ClapInstance& plugin, const CheckOptions& options) {
  const bool doubles = plugin.PortSupports64Bits();
  for (double rate : {22050.0, 44100.0, 48000.0, 96000.0, 192000.0}) {
    for (uint32_t block : {1u, 64u, 512u, 4096u}) {
      std::string detail;
      bool ok = RenderFinite<float>(plugin, rate, block, false, false, detail);
      if (ok && doubles) {
        ok = RenderFinite<double>(plugin, rate, block, false, false, detail);
      }
      if (!ok) {
        Report(false, "processing",
               std::to_string(rate) + " Hz, block " + std::to_string(block) + ": " + detail);
        return;
      }
    }
  }
  Report(true, "processing",
         std::string("5 rates x blocks 1, 64, 512, 4096, float") + (doubles ? " and double" : ""));
  std::string detail;
  Report(RenderFinite<float>(plugin, 44100.0, 256, false, true, detail), "events",
         detail.empty() ? "values at random frames, output finite" : detail);
  if (options.strict) {
    detail.clear();
    Report(RenderFinite<float>(plugin, 44100.0, 512, true, false, detail), "nonfinite-input",
           detail.empty() ? "NaN and Inf input samples, output finite" : detail);
  }
}

void CheckState(const ClapModule& module, ClapHost& host, ClapInstance& plugin,
                const CheckOptions& options) {
  if (plugin.Get<clap::PluginState>(clap::kExtState) == nullptr) {
    std::printf("SKIP state: the plug-in offers no state extension\n");
    return;
  }
  auto saved = plugin.SaveState();
  if (!saved) {
    Report(false, "state", saved.Error());
    return;
  }
  auto other = ClapInstance::Create(module, host, options.pluginId);
  if (!other) {
    Report(false, "state", other.Error());
    return;
  }
  bool same = other.Value()->LoadState(saved.Value(), 7);  // a stream handing out 7 bytes a read
  for (uint32_t i = 0; same && i < plugin.ParamCount(); ++i) {
    clap::ParamInfo info{};
    double a = 0.0, b = 0.0;
    same = plugin.ParamInfoAt(i, info) && plugin.Value(info.id, a) &&
           other.Value()->Value(info.id, b) && a == b;
  }
  Report(same, "state",
         std::to_string(saved.Value().size()) + " bytes, restored on a new instance");
  if (options.strict) {
    const bool refused =
        !other.Value()->LoadState({}) &&
        !other.Value()->LoadState(std::vector<uint8_t>(
            saved.Value().begin(), saved.Value().begin() + saved.Value().size() / 2));
    Report(refused, "bad-state", "empty and truncated streams refused");
  }
}

void CheckPresets(const ClapModule& module, ClapInstance& plugin) {
  auto presets = DiscoverPresets(module);
  if (!presets) {
    std::printf("SKIP presets: %s\n", presets.Error().c_str());
    return;
  }
  bool loaded = true;
  for (const DiscoveredPreset& preset : presets.Value()) {
    loaded = loaded && plugin.LoadPreset(preset.locationKind,
                                         preset.hasLocation ? preset.location.c_str() : nullptr,
                                         preset.loadKey.c_str());
  }
  Report(loaded, "presets", std::to_string(presets.Value().size()) + " found and loaded");
}

#ifdef _WIN32
constexpr const char* kNativeApi = clap::kWindowApiWin32;
#else
constexpr const char* kNativeApi = clap::kWindowApiX11;
#endif

// Twice: create, embed in the parent, show, let the window run a while, destroy.
void CheckEditor(ClapInstance& plugin) {
  const auto* gui = plugin.Get<clap::PluginGui>(clap::kExtGui);
  if (gui == nullptr) {
    std::printf("SKIP editor: the plug-in offers no gui extension\n");
    return;
  }
  auto parent = validate::EditorParent::Create(640, 560);
  if (!parent) {
    std::printf("SKIP editor: %s\n", parent.Error().c_str());
    return;
  }
  const clap::Plugin* p = plugin.Plugin();
  uint32_t width = 0, height = 0;
  bool ok = gui->isApiSupported(p, kNativeApi, false) && gui->getSize(p, &width, &height);
  for (int round = 0; round < 2 && ok; ++round) {
    clap::Window window{};
    window.api = kNativeApi;
#ifdef _WIN32
    window.win32 = parent.Value()->Handle();
#else
    window.x11 = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent.Value()->Handle()));
#endif
    ok = gui->create(p, kNativeApi, false) && gui->setParent(p, &window);
    gui->show(p);
    for (int i = 0; i < 10; ++i) {
      parent.Value()->Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    gui->destroy(p);
    parent.Value()->Pump();
  }
  Report(ok, "editor",
         std::string(kNativeApi) + " window " + std::to_string(width) + " x " +
             std::to_string(height) + ", opened and closed twice");
}

}  // namespace

int RunClapChecks(const CheckOptions& options) {
  failures = 0;
  auto module = ClapModule::Load(options.path);
  if (!module) {
    Report(false, "load", module.Error());
    return failures;
  }
  std::string names;
  for (const clap::PluginDescriptor* d : module.Value()->Descriptors()) {
    names += std::string(names.empty() ? "" : ", ") + (d != nullptr && d->id ? d->id : "?") + " (" +
             (d != nullptr && d->name ? d->name : "?") + " " +
             (d != nullptr && d->version ? d->version : "") + ")";
  }
  Report(!names.empty(), "load", names.empty() ? "no plug-in described" : names);
  ClapHost host;
  auto plugin = ClapInstance::Create(*module.Value(), host, options.pluginId);
  if (!plugin) {
    Report(false, "instance", plugin.Error());
    return failures;
  }
  ClapInstance& p = *plugin.Value();
  Report(p.PortChannels(true) > 0 || p.PortChannels(false) > 0, "info",
         std::to_string(p.PortChannels(true)) + " in, " + std::to_string(p.PortChannels(false)) +
             " out, " + std::to_string(p.ParamCount()) + " parameters");
  CheckProcessing(p, options);
  CheckState(*module.Value(), host, p, options);
  CheckPresets(*module.Value(), p);
  if (options.editor) {
    CheckEditor(p);
  }
  std::printf("summary: %d failed\n", failures);
  return failures;
}

}  // namespace velmora::claphost
