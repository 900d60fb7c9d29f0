// The whole editor, with its real controls and artwork, repainted at 100 % and at each
// high-density scale (the argument, in percent), and the editor's idle tick (nothing dirty
// but the two strips it repaints on every tick) at those scales. A full repaint at 200 %
// should cost at most 4.5 times the one at 100 %; an idle editor at 200 % should take under
// 1 % of a core, that is under 417 microseconds per tick at 24 ticks a second.
//   build/bench/editor/editor_scale_bench --benchmark_repetitions=5
//   --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "editor/headless/headless_editor_window.h"
#include "frame/effect_vst.h"
#include "tools/snapshot/editor_snapshot.h"

namespace velmora {
namespace {

double ScaleOf(const benchmark::State& state) {
  return static_cast<double>(state.range(0)) / 100.0;
}

// An instance whose editor is open and painted once at the scale (images and fonts made).
class OpenEditor {
 public:
  explicit OpenEditor(double scale) {
    ok_ = snapshot_.Start(44100.0, 120.0).empty() && snapshot_.Paint(scale).empty();
    window_ = ok_ ? dynamic_cast<HeadlessEditorWindow*>(
                        IEffectVST::FromEffect(snapshot_.Effect())->Editor())
                  : nullptr;
    ok_ = window_ != nullptr;
  }
  bool Ok() const { return ok_; }
  HeadlessEditorWindow& Window() { return *window_; }

 private:
  snapshot::EditorSnapshot snapshot_;
  HeadlessEditorWindow* window_ = nullptr;
  bool ok_ = false;
};

void BM_FullRepaint(benchmark::State& state) {
  OpenEditor editor(ScaleOf(state));
  if (!editor.Ok()) {
    state.SkipWithError("the editor did not open");
    return;
  }
  HeadlessEditorWindow& window = editor.Window();
  for (auto _ : state) {
    window.MarkAllDirty();
    window.TimerTick();
    window.ClearBlittedAreas();
  }
}
BENCHMARK(BM_FullRepaint)
    ->Arg(100)
    ->Arg(125)
    ->Arg(150)
    ->Arg(175)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);

void BM_IdleTick(benchmark::State& state) {
  OpenEditor editor(ScaleOf(state));
  if (!editor.Ok()) {
    state.SkipWithError("the editor did not open");
    return;
  }
  HeadlessEditorWindow& window = editor.Window();
  for (auto _ : state) {
    window.TimerTick();
    window.ClearBlittedAreas();
  }
  // Share of one core at 24 ticks a second, in percent: seconds per tick x 24 x 100.
  state.counters["core_percent_at_24_ticks"] =
      benchmark::Counter(1.0 / (24.0 * 100.0), benchmark::Counter::kIsIterationInvariantRate |
                                                   benchmark::Counter::kInvert);
}
BENCHMARK(BM_IdleTick)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora
