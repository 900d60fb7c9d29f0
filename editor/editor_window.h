// The window half of the editor's graphics object, as far as it is the same on every
// platform: the refresh timer's work, the end-of-gesture countdown, the state of the
// text-entry pop-up and the mapping of button, wheel and key messages onto the routing of
// IEditorGraphics. A platform layer (X11, Win32, or the headless one used by tests and
// tools) derives from it and supplies the window itself through the hooks below.
//
// Threads: everything runs on the thread that owns the window, except the countdown
// setters, which the plug-in calls with its instance lock held.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/editor_graphics.h"

namespace velmora {

// What a value entry looks like, worked out before a platform shows it.
struct EntryRequest {
  enum Kind { kValueBox, kValueList, kTextBox };
  Kind kind = kValueBox;
  IControl* control = nullptr;
  IEffectParam* param = nullptr;
  Rect area{};                     // editor pixels; a list's height is its drop-down's
  std::string text;                // the current text
  std::vector<std::string> items;  // a list's entries
  int selected = -1;               // the list entry showing the current text, or -1
};

class IEditorWindow : public IEditorGraphics {
 public:
  enum EntryState { kEntryIdle = 0, kEntryEditing = 1, kEntryCancel = 2, kEntryCommit = 3 };
  static constexpr int kWheelDelta = 120;  // one notch

  using IEditorGraphics::IEditorGraphics;

  void SetEndEditCountdown(int ticks) override;
  void ClearEndEditCountdown() override;
  int EndEditCountdown() const { return countdown_.load(std::memory_order_relaxed); }

  // One tick of the refresh timer: carries out a committed or cancelled entry, repaints
  // the dirty controls and the always-redraw rectangle, and counts the delayed end of a
  // wheel gesture down.
  void TimerTick();

  // Window messages, already in editor pixels. A press is routed only while no other
  // button holds a gesture, and a release only when the editor routed its press, so the
  // host sees every gesture it is told of begin once and end once.
  // Commits an open entry, then presses.
  void LeftButtonDown(int x, int y, const MouseModifiers& modifiers);
  // Cancels an open entry and does nothing else (its release is swallowed too); on the
  // background (where no control is) opens the zoom list; otherwise presses.
  void RightButtonDown(int x, int y, const MouseModifiers& modifiers);
  void LeftButtonUp(int x, int y, const MouseModifiers& modifiers);
  void RightButtonUp(int x, int y, const MouseModifiers& modifiers);
  void LeftDoubleClick(int x, int y, const MouseModifiers& modifiers);
  // The platform took the mouse away (another window captured it): the held gesture ends
  // where the pointer last was, as a release there would.
  void MouseCaptureLost();
  // Drags only while a button is held and the window has the mouse.
  void PointerMoved(int x, int y, const MouseModifiers& modifiers);
  // delta in 1/120 notches; partial notches count as none.
  void WheelTurned(int x, int y, const MouseModifiers& modifiers, int delta);
  // A platform key code (Windows virtual-key numbering); unmapped keys are swallowed.
  void PlatformKeyDown(int x, int y, int platformKey);
  // Space 0, arrows up/down/left/right 1..4, digits 5..14, letters 15..40; -1 otherwise.
  static int MapKeyCode(int platformKey);

  // The value a committed entry stands for is applied to its control inside a gesture.
  void ApplyEnteredText(IControl* control, IEffectParam* param, const char* text);
  // The value entry for a parameter, placed over the control.
  static EntryRequest MakeParamEntry(IControl* control, IEffectParam* param);
  // The zoom list opened at (x, y) on the background control: "Zoom 100%" to "Zoom 200%",
  // the entry of the current scale selected (none when the scale is not one of them).
  static EntryRequest MakeZoomEntry(IControl* background, int x, int y, double scale);
  // The zooms the list offers, in percent.
  static constexpr int kZoomChoices[] = {100, 125, 150, 200};
  // The user chose a zoom (1 = 100 %): it becomes the process's choice and this editor
  // takes it when the host grants the new window size (a closed editor takes it at once);
  // a refused size leaves the editor and the earlier choice as they were.
  void ChooseZoom(double scale);
  bool ZoomEntryOpen() const { return zoomEntry_; }

  EntryState GetEntryState() const { return entryState_; }
  // The button whose press the editor routed and whose release it waits for.
  enum class HeldButton { kNone, kLeft, kRight };
  HeldButton Held() const { return held_; }
  // Called by the platform's pop-up when the user commits, cancels or edits.
  void SetEntryState(EntryState state) { entryState_ = state; }
  IControl* EditedControl() const { return editedControl_; }
  IEffectParam* EditedParam() const { return editedParam_; }

 protected:
  // Platform hooks.
  virtual void InvalidateArea(const Rect& area) = 0;
  // Takes the pop-up's area out of the pending repaint so the paint leaves it alone.
  virtual void KeepEntryPopupArea() = 0;
  // Paints the invalid area now.
  virtual void PaintInvalidArea() = 0;
  virtual bool HasEntryPopup() const = 0;
  virtual std::string ReadEntryText() = 0;
  // Puts the pop-up's own procedure back and destroys it.
  virtual void DestroyEntryPopup() = 0;
  virtual void CaptureMouse(bool capture) = 0;
  virtual bool HasMouseCapture() const = 0;
  // Shows a list pop-up for the request as the platform shows a parameter's value list;
  // false when it could not.
  virtual bool ShowEntryList(const EntryRequest& request) = 0;

  // The pop-up now edits this control (and parameter, or none for its own text).
  void BeginEntry(IControl* control, IEffectParam* param);
  // Forgets the pop-up without telling the control (the window is going away).
  void ForgetEntry();
  // The part of closing the window every platform shares: a held button ends its gesture
  // as if released where the pointer last was, and a pending wheel gesture ends.
  void FlushPendingGesture();

 private:
  // The tick's close step: the committed text is applied, the control told, the pop-up
  // destroyed and forgotten, in that order.
  void CloseEntry(bool commit);
  // Opens the zoom list when (x, y) is on the background; true when it opened.
  bool OpenZoomList(int x, int y);
  void ApplyZoomText(const std::string& text);
  void RepaintArea(const Rect& area);
  void ButtonUp(HeldButton button, int x, int y, const MouseModifiers& modifiers);
  // Whether the press of a button is routed; a press that is not has its release swallowed.
  bool TakePress(HeldButton button);
  bool& SwallowFlag(HeldButton button);
  // The text was committed while a button holds a control bound to the same parameter:
  // that press's gesture already covers the change.
  bool HeldGestureCovers(int paramIndex) const;

  std::atomic<int> countdown_{0};
  EntryState entryState_ = kEntryIdle;
  IControl* editedControl_ = nullptr;
  IEffectParam* editedParam_ = nullptr;
  bool zoomEntry_ = false;  // the open pop-up is the zoom list
  HeldButton held_ = HeldButton::kNone;
  bool swallowLeft_ = false;
  bool swallowRight_ = false;
};

}  // namespace velmora
