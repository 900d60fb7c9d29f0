// Progress of a render on stderr. On a terminal: one bar redrawn in place. Elsewhere (a log
// file, a pipe) only long renders report, one line per tenth, so short runs stay quiet.
#pragma once

#include <cstdint>
#include <cstdio>

namespace velmora::render {

class ProgressBar {
 public:
  // totalFrames at sampleRate; enabled false silences the bar altogether.
  ProgressBar(std::FILE* stream, int64_t totalFrames, double sampleRate, bool enabled);

  void Update(int64_t doneFrames);
  // Completes the bar line (on a terminal) so the next message starts on a fresh line.
  void Finish();

  // Renders at least this long report their progress even when stderr is not a terminal.
  static constexpr double kLongRenderSeconds = 60.0;

 private:
  std::FILE* stream_;
  int64_t totalFrames_;
  bool terminal_;
  bool shown_;
  int lastStep_ = -1;
};

}  // namespace velmora::render
