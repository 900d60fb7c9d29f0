// What an open editor costs while audio plays: the X11 test host loads the plug-in module,
// opens its editor, and an audio thread plays a noisy signal through processReplacing in
// real time (256-frame blocks at 48 kHz, host tempo 120), so the sweep strips move on every
// block. Over 10 s the editor's own thread (the one that opening the editor starts) may use
// under 1 % of one core; the program prints its CPU time, the share of a core and the
// cost of each refresh tick, and exits 1 when the goal is missed. Needs an X server:
//   xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" build/bench/editor/editor_tick_bench
#include <dirent.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tools/host/audio_buffers.h"

// Last: it brings Xlib's macros.
#include "tests/editor/x11/x11_test_host.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kSeconds = 10.0;
constexpr double kGoalShare = 0.01;
constexpr int kBlock = 256;
constexpr double kRate = 48000.0;

std::set<int> Threads() {
  std::set<int> ids;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(tasks)) {
      if (entry->d_name[0] != '.') {
        ids.insert(std::stoi(entry->d_name));
      }
    }
    closedir(tasks);
  }
  return ids;
}

// Nanoseconds a thread of this process has run, from the scheduler's own account; -1 when
// it cannot be read.
long long ThreadNanoseconds(int id) {
  std::ifstream stats("/proc/self/task/" + std::to_string(id) + "/schedstat");
  long long running = -1;
  stats >> running;
  return stats ? running : -1;
}

// Plays blocks at the pace of the audio they hold until stop is set.
void PlayInRealTime(velmora::host::PluginHost& plugin, const std::atomic<bool>& stop) {
  velmora::host::AudioBuffers<float> in(2, kBlock);
  velmora::host::AudioBuffers<float> out(2, kBlock);
  unsigned seed = 12345;
  long long frame = 0;
  const auto start = Clock::now();
  while (!stop.load()) {
    for (int i = 0; i < kBlock; ++i, ++frame) {
      seed = seed * 1664525u + 1013904223u;
      const double noise = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
      in.Channel(0)[i] = static_cast<float>(0.3 * std::sin(0.013 * frame) + 0.1 * noise);
      in.Channel(1)[i] = static_cast<float>(0.3 * std::cos(0.007 * frame) - 0.1 * noise);
    }
    plugin.ProcessReplacing(in.Pointers(), out.Pointers(), kBlock);
    plugin.Calls().Clear();
    std::this_thread::sleep_until(start + std::chrono::duration<double>(frame / kRate));
  }
}

}  // namespace

int main() {
  velmora::host::HostConfig config;
  config.sampleRate = kRate;
  config.blockSize = kBlock;
  config.tempo = 120.0;
  velmora::testing::X11TestHost host(config);
  if (!host.Error().empty()) {
    std::fprintf(stderr, "%s\n", host.Error().c_str());
    return 2;
  }
  std::atomic<bool> stop{false};
  std::thread audio([&] { PlayInRealTime(host.Plugin(), stop); });
  const std::set<int> before = Threads();
  if (!host.OpenEditor()) {
    stop = true;
    audio.join();
    std::fprintf(stderr, "the editor did not open\n");
    return 2;
  }
  std::vector<int> editor;
  for (int id : Threads()) {
    if (before.count(id) == 0) {
      editor.push_back(id);
    }
  }
  // The first ticks paint the whole window; what counts is the steady state after them.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  std::vector<long long> start;
  for (int id : editor) {
    start.push_back(ThreadNanoseconds(id));
  }
  const auto begin = Clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds));
  const double elapsed = std::chrono::duration<double>(Clock::now() - begin).count();
  long long used = 0;
  for (size_t i = 0; i < editor.size(); ++i) {
    used += ThreadNanoseconds(editor[i]) - start[i];
  }
  stop = true;
  audio.join();
  host.CloseEditor();
  if (editor.empty()) {
    std::fprintf(stderr, "no editor thread found\n");
    return 2;
  }
  const double share = static_cast<double>(used) * 1e-9 / elapsed;
  const double ticks = elapsed * 24.0;
  std::printf("editor threads: %zu, measured over %.2f s\n", editor.size(), elapsed);
  std::printf("editor CPU time: %.3f ms = %.3f %% of one core (goal < %.1f %%: %s)\n",
              static_cast<double>(used) * 1e-6, share * 100.0, kGoalShare * 100.0,
              share < kGoalShare ? "met" : "MISSED");
  std::printf("per refresh tick (24 per second): %.1f us\n",
              static_cast<double>(used) * 1e-3 / ticks);
  return share < kGoalShare ? 0 : 1;
}
