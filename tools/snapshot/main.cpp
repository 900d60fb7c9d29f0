// velmora-snapshot: writes the Velmora editor, as a person would see it, to a PNG file.
#include <cstdio>

#include "editor/headless/headless_editor_window.h"
#include "tools/snapshot/editor_snapshot.h"
#include "tools/snapshot/png_writer.h"
#include "tools/snapshot/snapshot_options.h"

using velmora::snapshot::EditorSnapshot;
using velmora::snapshot::SnapshotOptions;

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "velmora-snapshot: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  SnapshotOptions options;
  const std::string problem = velmora::snapshot::ParseSnapshotOptions(argc, argv, &options);
  if (!problem.empty()) {
    std::fprintf(stderr, "velmora-snapshot: %s\n%s", problem.c_str(),
                 velmora::snapshot::SnapshotUsage());
    return 2;
  }
  if (options.help) {
    std::fputs(velmora::snapshot::SnapshotUsage(), stdout);
    return 0;
  }
  EditorSnapshot snapshot;
  std::string error = snapshot.Start(options.sampleRate, options.tempo);
  if (error.empty() && !options.program.empty()) {
    error = snapshot.SelectProgram(options.program);
  }
  if (!error.empty()) {
    return Fail(error);
  }
  snapshot.RunAudio(options.audioSeconds);
  error = snapshot.Paint(options.scale);
  if (error.empty()) {
    error = velmora::snapshot::WriteRgbPng(snapshot.Window()->WindowImage(), options.output);
  }
  return error.empty() ? 0 : Fail(error);
}
