// Opening and closing the X11 editor many times, also while other threads process audio
// and automate parameters: no X error, no thread, file, shared-memory segment or window
// left behind, and no deadlock between the editor's thread and the host's.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/editor/x11/x11_test_host.h"

namespace velmora::testing {
namespace {

int CountEntries(const char* folder) {
  DIR* dir = opendir(folder);
  if (dir == nullptr) {
    return -1;
  }
  int count = 0;
  while (readdir(dir) != nullptr) {
    ++count;
  }
  closedir(dir);
  return count;
}

// Shared-memory segments this process created (one line each after the heading; the fifth
// column is the creator's pid). Other programs, such as tests running beside this one, come
// and go with segments of their own, so the system-wide count proves nothing.
int CountSharedSegments() {
  std::ifstream list("/proc/sysvipc/shm");
  std::string line;
  std::getline(list, line);
  int count = 0;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    long key = 0, id = 0, perms = 0, size = 0, creator = 0;
    if (fields >> key >> id >> perms >> size >> creator && creator == getpid()) {
      ++count;
    }
  }
  return count;
}

struct Resources {
  int threads = CountEntries("/proc/self/task");
  int files = CountEntries("/proc/self/fd");
  int segments = CountSharedSegments();
};

void ExpectSameResources(const Resources& before) {
  WaitUntil([&] { return CountEntries("/proc/self/task") == before.threads; });
  const Resources after;
  EXPECT_EQ(after.threads, before.threads);
  EXPECT_EQ(after.files, before.files);
  EXPECT_EQ(after.segments, before.segments);
}

TEST(X11EditorLifetime, AHundredOpenCloseCyclesLeaveNothingBehind) {
  X11TestHost host;
  ASSERT_EQ(host.Error(), "");
  ASSERT_TRUE(host.OpenEditor());  // the first open loads what stays for the module's life
  host.CloseEditor();
  const Resources before;
  for (int cycle = 0; cycle < 100; ++cycle) {
    ASSERT_TRUE(host.OpenEditor()) << cycle;
    if (cycle == 0) {
      // The test server offers shared memory, so an open editor holds a segment of ours:
      // the count below can see one left behind.
      EXPECT_GT(CountSharedSegments(), before.segments);
    }
    if (cycle % 10 == 0) {
      host.Click(341, 145, Button1);  // some events for the thread to be busy with
    }
    host.CloseEditor();
    ASSERT_TRUE(host.Children(host.Parent()).empty()) << cycle;
  }
  ExpectSameResources(before);
  // Opened again without a close: one window, still in place.
  ASSERT_TRUE(host.OpenEditor());
  ASSERT_TRUE(host.OpenEditor());
  EXPECT_EQ(host.Children(host.Parent()).size(), 1u);
  host.CloseEditor();
  EXPECT_EQ(X11TestHost::ErrorCount(), 0);
}

TEST(X11EditorLifetime, OpensAndClosesWhileAudioRunsAndParametersMove) {
  X11TestHost host;
  ASSERT_EQ(host.Error(), "");
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    std::vector<float> left(512), right(512), outLeft(512), outRight(512);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    while (!stop) {
      host.Plugin().ProcessReplacing(inputs, outputs, 512);
    }
  });
  std::thread automation([&] {
    for (int round = 0; !stop; ++round) {
      for (int param = 0; param < 22; ++param) {
        host.Plugin().SetParameter(param, static_cast<float>((round + param) % 11) / 10.0f);
      }
    }
  });
  for (int cycle = 0; cycle < 30; ++cycle) {
    ASSERT_TRUE(host.OpenEditor()) << cycle;
    host.MoveTo(271, 145);
    host.Press(Button4);  // a wheel gesture the close must end
    host.Release(Button4);
    host.Click(341, 145, Button1);
    host.CloseEditor();
  }
  stop = true;
  audio.join();
  automation.join();
  EXPECT_EQ(host.CountCalls(vst::audioMasterBeginEdit), host.CountCalls(vst::audioMasterEndEdit));
  EXPECT_EQ(X11TestHost::ErrorCount(), 0);
}

TEST(X11EditorLifetime, TheFocusGoesToTheEditorForTheHostThatNeedsIt) {
  host::HostConfig config;
  config.productString = "Acoustica Mixcraft";
  X11TestHost host(config);
  ASSERT_EQ(host.Error(), "");
  ASSERT_TRUE(host.OpenEditor());
  EXPECT_TRUE(WaitUntil([&] {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(host.Connection(), &focus, &revert);
    return focus == host.EditorWindow();
  }));
  host.CloseEditor();
}

TEST(X11EditorLifetime, AHostThatDestroysItsWindowFirstCanStillCloseTheEditor) {
  X11TestHost host;
  ASSERT_EQ(host.Error(), "");
  ASSERT_TRUE(host.OpenEditor());
  host.DestroyParent();
  // The editor keeps ticking, and painting a changed knob, on a window that is gone.
  host.Plugin().SetParameter(3, 0.2f);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  host.CloseEditor();
  EXPECT_EQ(X11TestHost::ErrorCount(), 0);
}

TEST(X11EditorLifetime, AParentThatIsNoWindowIsRefused) {
  X11TestHost host;
  ASSERT_EQ(host.Error(), "");
  EXPECT_EQ(host.Plugin().Dispatch(vst::effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Plugin().Dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(0x7FFFFF0)), 0);
  EXPECT_TRUE(host.OpenEditor());
  host.CloseEditor();
}

}  // namespace
}  // namespace velmora::testing
