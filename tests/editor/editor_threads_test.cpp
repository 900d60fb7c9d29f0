// The host changes parameters on its own thread while the editor thread ticks and paints;
// under the thread sanitizer this shows any unsynchronised access between the two.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/editor/editor_session.h"

namespace velmora::testing {
namespace {

TEST(EditorThreads, HostChangesWhileTheEditorPaints) {
  EditorSession session;
  session.OpenAndPaint();
  vst::AEffect* effect = session.Effect();
  std::atomic<bool> stop{false};
  std::thread host([&] {
    for (int round = 0; !stop.load(); ++round) {
      for (int param = 0; param < 22; ++param) {
        effect->setParameter(effect, param, static_cast<float>((round + param) % 11) / 10.0f);
      }
      if (round % 7 == 0) {
        effect->dispatcher(effect, vst::effSetProgram, 0, round % 32, nullptr, 0.0f);
      }
    }
  });
  for (int tick = 0; tick < 60; ++tick) {
    session.Editor().TimerTick();
    session.Editor().MouseWheel(341, 145, MouseModifiers{}, 1);
  }
  stop = true;
  host.join();
  session.Editor().TimerTick();
  for (int i = 0; i < session.Editor().ControlCount(); ++i) {
    const double value = session.Editor().Control(i)->Value();
    EXPECT_TRUE(value >= 0.0 && value <= 1.0) << "control " << i;
  }
  effect->setParameter(effect, 19, 0.25f);
  EXPECT_EQ(session.ControlFor(19).Value(), 0.25);
}

}  // namespace
}  // namespace velmora::testing
