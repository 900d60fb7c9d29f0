#include "tools/render/render_app.h"

#include <sys/stat.h>

#include <cmath>
#include <memory>

#include "tools/render/audio_output.h"
#include "tools/render/audio_source.h"
#include "tools/render/default_plugin.h"
#include "tools/render/demo_signal.h"
#include "tools/render/parameter_values.h"
#include "tools/render/plugin_state.h"
#include "tools/render/render_options.h"
#include "tools/render/renderer.h"
#include "tools/render/wav_header.h"

namespace velmora::render {
namespace {

constexpr double kDemoSampleRate = 44100.0;

// Something that went wrong, already phrased for the user.
struct Failure {
  std::string message;
};

void PrintParams(host::PluginHost& host, std::FILE* out) {
  for (int32_t i = 0; i < host.NumParams(); ++i) {
    std::fprintf(out, "%3d  %-24s %-12s %s\n", i, host.ParamName(i).c_str(),
                 host.ParamDisplay(i).c_str(), host.ParamLabel(i).c_str());
  }
}

void PrintPrograms(host::PluginHost& host, std::FILE* out) {
  int32_t current = host.CurrentProgram();
  for (int32_t i = 0; i < host.NumPrograms(); ++i) {
    std::fprintf(out, "%3d%s %s\n", i, i == current ? "*" : " ",
                 host.ProgramNameIndexed(i).c_str());
  }
}

// The plug-in opened at the render's rate and block size, with the requested programs,
// state and settings applied; processing is not switched on yet.
host::Result<std::unique_ptr<host::PluginHost>> PreparePlugin(const RenderOptions& options,
                                                              double sampleRate) {
  using HostResult = host::Result<std::unique_ptr<host::PluginHost>>;
  std::string path = options.pluginPath.empty() ? DefaultPlugin() : options.pluginPath;
  if (path.empty()) {
    return HostResult::Failure("no plug-in: pass --plugin PATH");
  }
  host::HostConfig config;
  config.sampleRate = sampleRate;
  config.blockSize = options.blockSize;
  config.tempo = options.tempo;
  config.tempoValid = !options.noTempo;
  auto loaded = host::PluginHost::Load(path, config);
  if (!loaded) {
    return loaded;
  }
  host::PluginHost& plugin = *loaded.Value();
  plugin.Open();
  plugin.SetSampleRate(sampleRate);
  plugin.SetBlockSize(options.blockSize);
  host::Status status;
  if (!options.loadState.empty()) {
    status = LoadStateFile(plugin, options.loadState);
  }
  if (status && !options.program.empty()) {
    status = SelectProgram(plugin, options.program);
  }
  for (size_t i = 0; status && i < options.settings.size(); ++i) {
    status = ApplySetting(plugin, options.settings[i]);
  }
  if (status && !options.saveState.empty()) {
    status = SaveStateFile(plugin, options.saveState);
  }
  return status ? std::move(loaded) : HostResult::Failure(status.Error());
}

host::Result<std::unique_ptr<AudioSource>> OpenSource(const RenderOptions& options) {
  if (options.inputPath.empty()) {
    double rate = options.sampleRate.value_or(kDemoSampleRate);
    return host::Result<std::unique_ptr<AudioSource>>::Success(
        MemorySource(MakeDemoSignal(rate), rate));
  }
  auto source = OpenAudioFile(options.inputPath);
  if (source && options.sampleRate && *options.sampleRate != source.Value()->SampleRate()) {
    return host::Result<std::unique_ptr<AudioSource>>::Failure(
        options.inputPath + " is at " + std::to_string(int(source.Value()->SampleRate())) +
        " Hz; velmora-render does not resample (leave out --rate)");
  }
  return source;
}

// A damaged file renders what it holds, but the user hears about the missing part.
void WarnIfTruncated(const RenderOptions& options, const AudioSource& input, std::FILE* err) {
  if (options.inputPath.empty()) {
    return;
  }
  std::optional<int64_t> announced = AnnouncedWavFrames(options.inputPath);
  if (announced && *announced > input.Frames()) {
    std::fprintf(err,
                 "velmora-render: warning: %s is truncated: its header announces %lld frames, "
                 "only %lld are there; rendering those\n",
                 options.inputPath.c_str(), static_cast<long long>(*announced),
                 static_cast<long long>(input.Frames()));
  }
}

TailLength TailFor(const RenderOptions& options, double sampleRate) {
  TailLength tail;
  tail.untilQuiet = options.tailAuto;
  double seconds = options.tailAuto ? kLongestAutoTail : options.tailSeconds;
  tail.frames = static_cast<int64_t>(std::llround(seconds * sampleRate));
  tail.quietFrames = static_cast<int64_t>(std::llround(kQuietSeconds * sampleRate));
  tail.quietLevel = kQuietLevel;
  return tail;
}

// The default output folder is created on demand; a folder the user names must exist.
void EnsureDefaultOutputFolder(const RenderOptions& options) {
  if (options.outputPath.empty()) {
    mkdir("out", 0777);
  }
}

host::Status RenderToFile(const RenderOptions& options, std::FILE* err) {
  auto source = OpenSource(options);
  if (!source) {
    return host::Status::Failure(source.Error());
  }
  AudioSource& input = *source.Value();
  WarnIfTruncated(options, input, err);
  if (input.Frames() == 0 && !options.tailGiven) {
    return host::Status::Failure(
        options.inputPath + " holds no audio frames (--tail renders the plug-in's tail alone)");
  }
  std::string outputPath =
      options.outputPath.empty() ? DefaultOutputPath(options.inputPath) : options.outputPath;
  if (OutputFormatFor(outputPath) == 0) {
    return host::Status::Failure("cannot write " + outputPath + ": use a .wav or .flac file name");
  }
  auto plugin = PreparePlugin(options, input.SampleRate());
  if (!plugin) {
    return host::Status::Failure(plugin.Error());
  }
  host::PluginHost& host = *plugin.Value();
  host::Status channels = CheckChannels(input.Channels(), host.NumInputs(), host.NumOutputs());
  if (!channels) {
    return channels;
  }
  EnsureDefaultOutputFolder(options);
  auto output = AudioOutput::Create(outputPath, host.NumOutputs(), input.SampleRate());
  if (!output) {
    return host::Status::Failure(output.Error());
  }
  host.SetMains(true);
  TailLength tail = TailFor(options, input.SampleRate());
  // An automatic tail usually ends long before its limit: the bar counts on the quiet second.
  int64_t expected = input.Frames() + (tail.untilQuiet ? tail.quietFrames : tail.frames);
  ProgressBar progress(err, expected, input.SampleRate(), !options.quiet);
  host::Status rendered = Render(host, input, *output.Value(), tail, progress);
  return rendered ? output.Value()->Commit() : rendered;
}

host::Status List(const RenderOptions& options, std::FILE* out) {
  auto plugin = PreparePlugin(options, options.sampleRate.value_or(kDemoSampleRate));
  if (!plugin) {
    return host::Status::Failure(plugin.Error());
  }
  if (options.listPrograms) {
    PrintPrograms(*plugin.Value(), out);
  }
  if (options.listParams) {
    PrintParams(*plugin.Value(), out);
  }
  return host::Status();
}

}  // namespace

int RunRender(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
  auto options = ParseRenderOptions(arguments);
  if (!options) {
    std::fprintf(err, "velmora-render: %s\n", options.Error().c_str());
    return 2;
  }
  if (options.Value().help) {
    std::fputs(kRenderUsage, out);
    return 0;
  }
  host::Status status = options.Value().listParams || options.Value().listPrograms
                            ? List(options.Value(), out)
                            : RenderToFile(options.Value(), err);
  if (!status) {
    std::fprintf(err, "velmora-render: %s\n", status.Error().c_str());
    return 1;
  }
  return 0;
}

}  // namespace velmora::render
