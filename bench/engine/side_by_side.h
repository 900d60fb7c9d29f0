// Ratios of costs measured side by side in one process: every round runs each case once,
// in turn, so that whatever else the machine is doing falls on all of them alike, and each
// case keeps its best run. Costs are the measuring thread's CPU time, so time spent
// waiting for a core while other work runs is not counted; the best of many rounds is the
// run least disturbed by the other thread of a shared core.
#pragma once

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace velmora::bench {

inline double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Case {
  std::string name;
  // Processes frames frames once; the case sets itself up before the first round.
  std::function<void()> run;
  int64_t frames;
  std::vector<double> seconds = {};

  double Best() const { return *std::min_element(seconds.begin(), seconds.end()); }
  double Median() const {
    std::vector<double> sorted = seconds;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
  double BestPerFrame() const { return Best() / static_cast<double>(frames) * 1e9; }
  double MedianPerFrame() const { return Median() / static_cast<double>(frames) * 1e9; }
};

inline void RunRounds(std::vector<Case>& cases, int rounds) {
  for (Case& c : cases) {
    c.run();  // warm caches and branch predictors
  }
  for (int round = 0; round < rounds; ++round) {
    for (Case& c : cases) {
      const double start = ThreadSeconds();
      c.run();
      c.seconds.push_back(ThreadSeconds() - start);
    }
  }
}

inline void PrintCases(const std::vector<Case>& cases, int rounds) {
  std::printf("%d rounds, thread CPU time per stereo frame\n", rounds);
  std::printf("%-40s %10s %10s\n", "case", "best ns", "median ns");
  for (const Case& c : cases) {
    std::printf("%-40s %10.3f %10.3f\n", c.name.c_str(), c.BestPerFrame(), c.MedianPerFrame());
  }
}

// One ratio of best runs against its goal; false when the goal is missed. The ratio of
// the medians follows for comparison: a case whose cost swings from run to run has a best
// far below its median, and the medians show how the two usually compare.
inline bool PrintRatio(const Case& measured, const Case& reference, double goal) {
  const double ratio = measured.BestPerFrame() / reference.BestPerFrame();
  const double medians = measured.MedianPerFrame() / reference.MedianPerFrame();
  const bool met = ratio <= goal;
  std::printf("%-28s / %-28s %6.3f  (goal <= %.2f: %s; medians %.3f)\n", measured.name.c_str(),
              reference.name.c_str(), ratio, goal, met ? "met" : "MISSED", medians);
  return met;
}

}  // namespace velmora::bench
