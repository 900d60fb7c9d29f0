// Builds one Velmora instance in this process through its entry point, plays host to it
// (a steady tempo and a running song position), optionally runs audio through it, opens
// its editor and lets one refresh tick paint everything into the editor's window image.
#pragma once

#include <memory>
#include <string>

#include "frame/vst2.h"
#include "tools/snapshot/snapshot_options.h"

namespace velmora {
class HeadlessEditorWindow;
}

namespace velmora::snapshot {

class EditorSnapshot {
 public:
  EditorSnapshot();
  ~EditorSnapshot();
  EditorSnapshot(const EditorSnapshot&) = delete;
  EditorSnapshot& operator=(const EditorSnapshot&) = delete;

  // Creates and starts the instance; an empty text on success.
  std::string Start(double sampleRate, double tempo);
  // Selects a program by 0-based number or by exact name.
  std::string SelectProgram(const std::string& program);
  // Runs the built-in demo signal, repeated, for the given time.
  void RunAudio(double seconds);
  // Opens the editor and paints it; the result stays in Window() until the next call. A
  // scale other than 1 is asked for first, as a host on a high-density screen asks for it.
  std::string Paint(double scale = 1.0);
  const HeadlessEditorWindow* Window() const { return window_; }
  vst::AEffect* Effect() const { return effect_; }

  // The host side, answered for the instance; public for the C callback only.
  struct HostState {
    vst::VstTimeInfo time{};
  };

 private:
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f) const;

  HostState host_;
  vst::AEffect* effect_ = nullptr;
  HeadlessEditorWindow* window_ = nullptr;
  int32_t blockSize_ = 512;
};

}  // namespace velmora::snapshot
