// Host parameter callbacks, the editor-side edit gestures with and without an editor, and
// the instance lock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "tests/frame/fake_editor.h"
#include "tests/frame/fake_host.h"
#include "tests/frame/probe_plugin.h"

namespace velmora::testing {
namespace {

TEST(HostParameters, SetAndGetThroughTheRecord) {
  PluginInstance instance;
  vst::AEffect* effect = instance.effect();
  effect->setParameter(effect, 3, 0.333f);  // Feedback 0..100
  EXPECT_EQ(instance.plugin().Param(3)->Value(), 33.0);
  EXPECT_FLOAT_EQ(effect->getParameter(effect, 3), 0.33f);
  EXPECT_EQ(instance.ParamText(vst::effGetParamDisplay, 3), "33");
  effect->setParameter(effect, 4, 0.5f);  // Freq Left, shape 2
  EXPECT_EQ(instance.plugin().Param(4)->Value(), 5015.0);
  EXPECT_EQ(instance.host().Count(vst::audioMasterAutomate), 0);  // the host is not told back
}

// Values that are not finite are ignored; the rest are cut to 0..1 so an enumeration can
// never hold an index outside its texts.
TEST(HostParameters, BadNormalisedValuesAreRefusedOrClamped) {
  PluginInstance instance;
  vst::AEffect* effect = instance.effect();
  VSTCLASS& plugin = instance.plugin();
  effect->setParameter(effect, 1, NAN);
  effect->setParameter(effect, 1, INFINITY);
  effect->setParameter(effect, 1, -INFINITY);
  EXPECT_EQ(plugin.Param(1)->Value(), 2.0);
  effect->setParameter(effect, 1, -0.5f);
  EXPECT_EQ(plugin.Param(1)->Value(), 0.0);
  EXPECT_EQ(instance.ParamText(vst::effGetParamDisplay, 1), "Triplet");
  effect->setParameter(effect, 2, -3.0f);  // Pan Width -100..100
  EXPECT_EQ(plugin.Param(2)->Value(), -100.0);
  effect->setParameter(effect, 1, 7.0f);
  EXPECT_EQ(plugin.Param(1)->Value(), 4.0);
  plugin.SetParamFromEditor(21, NAN);
  EXPECT_EQ(plugin.Param(21)->Value(), -60.0);
}

TEST(EditorGestures, WithoutAnEditorEverythingGoesToTheHostAtOnce) {
  FakeHost host;
  ProbePlugin plugin(host);  // the effect itself always has an editor
  plugin.BeginParamEdit(0);
  plugin.SetParamFromEditor(0, 0.25);
  plugin.ScheduleEndParamEdit(0);
  EXPECT_EQ(plugin.Param(0)->Value(), 25.0);
  ASSERT_EQ(host.calls.size(), 3u);
  EXPECT_EQ(host.calls[0].opcode, vst::audioMasterBeginEdit);
  EXPECT_EQ(host.calls[1].opcode, vst::audioMasterAutomate);
  EXPECT_EQ(host.calls[1].index, 0);
  EXPECT_EQ(host.calls[1].opt, 0.25f);
  EXPECT_EQ(host.calls[2].opcode, vst::audioMasterEndEdit);
  EXPECT_EQ(plugin.PendingParamEdit(), -1);
  plugin.FlushPendingParamEdit();  // nothing pending: no call
  plugin.RefreshEditorControls();  // no editor: nothing happens
  EXPECT_EQ(host.calls.size(), 3u);
}

TEST(EditorGestures, AttachingShowsEveryValueAndSetsTheEditorFlag) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  auto* editor = new FakeEditor;
  plugin.AttachEditor(nullptr);  // ignored: the editor built by the constructor stays
  EXPECT_EQ(instance.effect()->flags, 0x1019);
  plugin.AttachEditor(editor);
  EXPECT_EQ(instance.effect()->flags, 0x1019);
  EXPECT_EQ(plugin.EditRect().bottom, 486);
  EXPECT_EQ(plugin.EditRect().right, 499);
  EXPECT_EQ(plugin.EditRect().top, 0);
  ASSERT_EQ(editor->shown.size(), 22u);
  EXPECT_EQ(editor->preparedAfter, 22);
  EXPECT_TRUE(editor->shown[4].isNormalised);
  EXPECT_NEAR(editor->shown[4].value, 0.3862, 1e-4);

  editor->shown.clear();
  instance.effect()->setParameter(instance.effect(), 7, 0.5f);
  ASSERT_EQ(editor->shown.size(), 1u);
  EXPECT_EQ(editor->shown[0].index, 7);
  EXPECT_TRUE(editor->shown[0].isNormalised);
  editor->shown.clear();
  plugin.RefreshEditorControls();
  ASSERT_EQ(editor->shown.size(), 22u);
  EXPECT_FALSE(editor->shown[4].isNormalised);
  EXPECT_EQ(editor->shown[4].value, 3000.0);
}

TEST(EditorGestures, WheelNotchesFormOneGesture) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  FakeHost& host = instance.host();
  auto* editor = new FakeEditor;
  plugin.AttachEditor(editor);
  for (double value : {0.5, 0.51, 0.52}) {
    plugin.ContinueParamEdit(5);
    plugin.SetParamFromEditor(5, value);
    plugin.ScheduleEndParamEdit(5);
  }
  EXPECT_EQ(host.Count(vst::audioMasterBeginEdit), 1);
  EXPECT_EQ(host.Count(vst::audioMasterAutomate), 3);
  EXPECT_EQ(host.Count(vst::audioMasterEndEdit), 0);
  EXPECT_EQ(editor->countdown, 12);  // half a second at 24 ticks per second
  EXPECT_EQ(plugin.PendingParamEdit(), 5);

  // A notch on another parameter ends the first gesture at once and begins the second.
  plugin.ContinueParamEdit(6);
  ASSERT_EQ(host.Count(vst::audioMasterEndEdit), 1);
  EXPECT_EQ(host.CallsOf(vst::audioMasterEndEdit)[0].index, 5);
  EXPECT_EQ(host.CallsOf(vst::audioMasterBeginEdit)[1].index, 6);
  EXPECT_EQ(editor->countdown, 0);
  plugin.ScheduleEndParamEdit(6);
  plugin.FlushPendingParamEdit();  // the countdown ran out
  EXPECT_EQ(host.Count(vst::audioMasterEndEdit), 2);
  EXPECT_EQ(plugin.PendingParamEdit(), -1);
  // A mouse press flushes a pending wheel gesture before it begins its own.
  plugin.ScheduleEndParamEdit(8);
  plugin.BeginParamEdit(9);
  const std::vector<HostCall>& calls = host.calls;
  EXPECT_EQ(calls[calls.size() - 2].opcode, vst::audioMasterEndEdit);
  EXPECT_EQ(calls[calls.size() - 2].index, 8);
  EXPECT_EQ(calls.back().opcode, vst::audioMasterBeginEdit);
}

TEST(EditorGestures, ClosingMidGestureEndsIt) {
  FakeHost* host = nullptr;
  {
    PluginInstance instance;
    host = &instance.host();
    auto* editor = new FakeEditor;
    editor->owner = &instance.plugin();
    instance.plugin().AttachEditor(editor);
    instance.plugin().ContinueParamEdit(2);
    instance.plugin().ScheduleEndParamEdit(2);
    EXPECT_EQ(host->Count(vst::audioMasterEndEdit), 0);
    // The instance closes here; its editor ends the pending gesture on the way out.
    instance.Dispatch(vst::effClose);
    EXPECT_EQ(host->Count(vst::audioMasterEndEdit), 1);
    instance.Forget();
  }
}

// The editor's strips and lamp read the engine's display records while they paint, and a
// window thread may still paint until the editor is gone: closing an instance with its
// editor open must remove the editor while the plug-in, engine included, is still whole.
TEST(EditorGestures, ClosingRemovesTheEditorBeforeTheEngine) {
  struct WatchingEditor : FakeEditor {
    ~WatchingEditor() override {
      if (pluginWhole != nullptr) {
        *pluginWhole = dynamic_cast<VSTCLASS*>(watched) != nullptr;
      }
    }
    IEffectBase* watched = nullptr;
    bool* pluginWhole = nullptr;
  };
  bool pluginWhole = false;
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  auto* editor = new WatchingEditor;
  editor->watched = &plugin;
  editor->pluginWhole = &pluginWhole;
  plugin.AttachEditor(editor);
  plugin.Engine().SetLampListener(nullptr);  // the built editor's lamp went with it
  ASSERT_EQ(instance.Dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(0x10)), 1);
  instance.Dispatch(vst::effClose);
  instance.Forget();
  EXPECT_TRUE(pluginWhole);
}

TEST(InstanceLock, IsRecursiveAndExcludesOtherThreads) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  vst::AEffect* effect = instance.effect();
  RecursiveLock& lock = plugin.InstanceLock();
  lock.Lock();
  lock.Lock();  // the same thread may take it again
  std::atomic<bool> done{false};
  std::thread other([&] {
    effect->setParameter(effect, 3, 1.0f);
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done.load());
  lock.Unlock();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(done.load());  // still held once
  lock.Unlock();
  other.join();
  EXPECT_TRUE(done.load());
  EXPECT_EQ(plugin.Param(3)->Value(), 100.0);
}

// Audio blocks on one thread, automation, program changes and chunks on another: every
// entry holds the lock, so the blocks always see whole values (checked under ThreadSanitizer).
TEST(InstanceLock, AudioAndHostThreadsExcludeEachOther) {
  PluginInstance instance;
  vst::AEffect* effect = instance.effect();
  std::thread audio([effect] {
    std::vector<float> in(256, 0.5f), out(256);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out.data(), out.data()};
    for (int block = 0; block < 200; ++block) {
      effect->processReplacing(effect, ins, outs, 256);
    }
  });
  for (int i = 0; i < 200; ++i) {
    effect->setParameter(effect, i % 22, (i % 10) / 10.0f);
    effect->dispatcher(effect, vst::effSetProgram, 0, i % 40, nullptr, 0.0f);
    void* chunk = nullptr;
    effect->dispatcher(effect, vst::effGetChunk, 0, 0, &chunk, 0.0f);
    EXPECT_GE(effect->getParameter(effect, i % 22), 0.0f);
  }
  audio.join();
}

TEST(InstanceLock, InstancesAreCreatedConcurrentlyWithoutSharing) {
  std::vector<std::thread> threads;
  std::atomic<int> created{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 5; ++i) {
        PluginInstance instance;
        if (instance.effect() != nullptr && instance.effect()->numParams == 22) {
          ++created;
        }
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(created.load(), 20);
}

}  // namespace
}  // namespace velmora::testing
