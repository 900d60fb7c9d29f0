// A stand-in editor that records what the frame asks of it.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/editor_link.h"
#include "frame/effect_base.h"

namespace velmora::testing {

struct Shown {
  int index;
  double value;
  bool isNormalised;
};

class FakeEditor : public EditorLink {
 public:
  void ShowParamValue(int index, double value, bool isNormalised) override {
    shown.push_back(Shown{index, value, isNormalised});
  }
  void PrepareEditor() override { preparedAfter = static_cast<int>(shown.size()); }
  void SetEndEditCountdown(int ticks) override { countdown = ticks; }
  void ClearEndEditCountdown() override { countdown = 0; }
  int FrameRate() const override { return 24; }
  int Width() const override { return 499; }
  int Height() const override { return 486; }
  bool OpenEditorWindow(intptr_t parent) override {
    openedWith = parent;
    return opens;
  }
  void CloseEditorWindow() override { ++closes; }
  intptr_t EditorWheel(float delta) override {
    wheel = delta;
    return 1;
  }
  ~FakeEditor() override {
    if (owner != nullptr) {
      owner->FlushPendingParamEdit();  // as a window closing mid-gesture does
    }
    if (deleted != nullptr) {
      *deleted = true;
    }
  }

  std::vector<Shown> shown;
  int preparedAfter = -1;
  int countdown = 0;
  bool opens = true;
  intptr_t openedWith = 0;
  int closes = 0;
  float wheel = 0.0f;
  bool* deleted = nullptr;
  IEffectBase* owner = nullptr;
};

}  // namespace velmora::testing
