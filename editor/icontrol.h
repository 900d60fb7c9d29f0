// The base of every element of the editor that draws or reacts to the mouse. The editor's
// graphics object owns its controls, paints them in list order and routes mouse, wheel and
// key events to the one under the pointer. A control may be bound to one plug-in parameter:
// values come in from the parameter store through ApplyHostValue and go out to it through
// MarkDirty(true), which the frame turns into automation for the host.
//
// Threads: events and painting run on the editor's thread. ApplyHostValue may also arrive
// from a host thread while the plug-in holds its instance lock; it only stores the value and
// raises flags, so the value and the flags are atomics that the next tick reads.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor/mouse_modifiers.h"
#include "graphics/bitmap_ref.h"
#include "graphics/blend.h"
#include "graphics/rect.h"

namespace velmora {

class IEditorGraphics;
class IEffectBase;
class IEffectParam;

class IControl {
 public:
  IControl(IEffectBase* owner, const Rect& rect, int paramIndex = -1, const Blend& blend = Blend{});
  virtual ~IControl() = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Event handlers; coordinates are editor pixels. The base versions are documented where
  // they do something.
  // Right button: opens the value entry for the bound parameter.
  virtual void HandleMouseDown(int x, int y, const MouseModifiers& modifiers);
  virtual void HandleMouseUp(int x, int y, const MouseModifiers& modifiers);
  virtual void HandleFileDrop(int x, int y, const char* path);
  virtual void HandleMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& modifiers);
  // Restores the default value (the first value the parameter side showed), if there is one.
  virtual void HandleDoubleClick(int x, int y, const MouseModifiers& modifiers);
  // One notch moves the value by 0.01, or 0.001 with shift or control held.
  virtual void HandleWheel(int x, int y, const MouseModifiers& modifiers, int notches);
  virtual void HandleKeyDown(int x, int y, int keyCode);
  virtual void HandleMouseOver(int x, int y, const MouseModifiers& modifiers);
  virtual void HandleMouseOut();
  // Draws the control during a paint pass; true when done.
  virtual bool Paint(IEditorGraphics& graphics) = 0;
  // A normalised value from the parameter side. The first one also becomes the default.
  virtual void ApplyHostValue(double value);
  // A normalised value the user typed; pushed to the parameter.
  virtual void ApplyUserValue(double value);
  virtual void SetHidden(bool hidden);
  virtual void SetGrayed(bool grayed);
  // Inside the target rectangle, all four edges included.
  virtual bool HitTest(int x, int y) const;
  // Clamps the value, marks the control for repainting and, with push, hands the value to
  // the bound parameter.
  virtual void MarkDirty(bool push);
  // After a paint pass: dirty takes over the pending redraw (a second pass when asked).
  virtual void MarkClean();
  virtual bool NeedsRepaint() const { return dirty_.load(std::memory_order_relaxed); }

  // Opens the text entry for the bound parameter (nothing when unbound or disabled).
  void PromptForValue();
  // The entry opened for this control was closed, answered or not.
  void EntryClosed();

  // Called by the graphics object when it takes the control into its list.
  void AttachTo(IEditorGraphics* graphics) { graphics_ = graphics; }

  IEffectBase* Owner() const { return owner_; }
  IEditorGraphics* Graphics() const { return graphics_; }
  const Rect& DrawRect() const { return rect_; }
  const Rect& TargetRect() const { return targetRect_; }
  void SetTargetRect(const Rect& target) { targetRect_ = target; }
  int ParamIndex() const { return paramIndex_; }
  // The bound parameter record, or null.
  IEffectParam* Param() const;
  double Value() const { return value_.load(std::memory_order_relaxed); }
  void SetValue(double value) { value_.store(value, std::memory_order_relaxed); }
  double DefaultValue() const { return defaultValue_.load(std::memory_order_relaxed); }
  void SetClamp(double lower, double upper);
  bool IsHidden() const { return hidden_; }
  bool IsGrayed() const { return grayed_; }
  bool PromptDisabled() const { return promptDisabled_; }
  void SetPromptDisabled(bool disabled) { promptDisabled_ = disabled; }
  bool EntryPending() const { return entryPending_.load(std::memory_order_relaxed); }
  void SetEntryPending(bool pending) { entryPending_.store(pending, std::memory_order_relaxed); }
  bool DoubleClickAsPress() const { return doubleClickAsPress_; }
  void SetDoubleClickAsPress(bool asPress) { doubleClickAsPress_ = asPress; }
  void SetRedrawPending() { redrawPending_.store(true, std::memory_order_relaxed); }
  const Blend& ControlBlend() const { return blend_; }
  const char* Tooltip() const { return tooltip_; }

 protected:
  BitmapRef& SpareBitmap() { return spareBitmap_; }
  // Asks for a repaint from any thread: the redraw request first, then the dirty flag, so a
  // paint pass that clears the request in between still finds the control dirty.
  void RequestRepaint() {
    SetRedrawPending();
    MarkDirty(false);
  }

 private:
  IEffectBase* owner_;
  IEditorGraphics* graphics_ = nullptr;
  Rect rect_;
  Rect targetRect_;
  BitmapRef spareBitmap_{};
  int paramIndex_;
  std::atomic<double> value_{0.0};
  std::atomic<double> defaultValue_{-1.0};
  double lowerClamp_ = 0.0;
  double upperClamp_ = 1.0;
  std::atomic<bool> dirty_{true};
  bool hidden_ = false;
  bool grayed_ = false;
  std::atomic<bool> redrawPending_{false};
  bool promptDisabled_ = false;
  std::atomic<bool> entryPending_{false};
  bool doubleClickAsPress_ = false;
  Blend blend_;
  const char* tooltip_ = nullptr;
};

}  // namespace velmora
