// The built bundle loaded through its factory by the project's VST 3 host, for the tests.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tools/vst3host/vst3_plugin.h"

namespace velmora::vst3host::testing {

class BundleRig {
 public:
  explicit BundleRig(const std::string& hostName = "velmora-tests") {
    // A load of our own that is never undone keeps the module mapped between rigs: it keeps
    // its font library for good, and a leak checker can name what leaks inside it.
    static void* const kept =
        dlopen(ModuleBinaryOf(VELMORA_VST3_BUNDLE).c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    (void)kept;
    auto opened = Vst3Module::Open(VELMORA_VST3_BUNDLE);
    if (!opened) {
      ADD_FAILURE() << opened.Error();
      return;
    }
    module_ = std::move(opened.Value());
    auto created = Vst3Plugin::Create(*module_, module_->AudioClass(), hostName);
    if (!created) {
      ADD_FAILURE() << created.Error();
      return;
    }
    plugin_ = std::move(created.Value());
  }
  ~BundleRig() {
    plugin_.reset();
    module_.reset();
  }

  bool Valid() const { return plugin_ != nullptr; }
  Vst3Module& Module() { return *module_; }
  Vst3Plugin& Plugin() { return *plugin_; }
  IEditController& Controller() { return *plugin_->Controller(); }
  IAudioProcessor& Processor() { return *plugin_->Processor(); }
  IComponent& Component() { return *plugin_->Component(); }

  // The normalised value of a plain value of parameter id, as the plug-in maps it.
  double Normalised(ParamID id, double plain) {
    return Controller().plainParamToNormalized(id, plain);
  }

 private:
  std::unique_ptr<Vst3Module> module_;
  std::unique_ptr<Vst3Plugin> plugin_;
};

// A context with a valid tempo at a project position, playing.
inline ProcessContext PlayingContext(double rate, double tempo, int64_t position) {
  ProcessContext context{};
  context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid |
                  ProcessContext::kProjectTimeMusicValid;
  context.sampleRate = rate;
  context.tempo = tempo;
  context.projectTimeSamples = position;
  context.projectTimeMusic = static_cast<double>(position) * tempo / (60.0 * rate);
  return context;
}

}  // namespace velmora::vst3host::testing
