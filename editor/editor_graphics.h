// The editor's graphics object, its platform-independent half: the ordered list of
// controls, the routing of mouse, wheel and key events to them with the plug-in's edit
// gestures around each, dirty tracking and the paint pass into the off-screen surface.
// The window half (IEditorWindow and one layer per platform) supplies the window, the
// refresh timer, the copy to the screen, the text-entry pop-ups and web addresses.
//
// Threads: everything runs on the editor's thread except ShowParamValue, which the host's
// parameter thread may call with the plug-in's instance lock held; it only stores values
// and raises dirty flags. The control list is filled before the window first opens and is
// never changed afterwards.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "editor/mouse_modifiers.h"
#include "frame/editor_link.h"
#include "graphics/editor_canvas.h"
#include "graphics/pixel_image.h"
#include "graphics/rect.h"

namespace velmora {

class IControl;
class IEffectBase;
class IEffectParam;

class IEditorGraphics : public EditorCanvas, public EditorLink {
 public:
  static constexpr int kDefaultFrameRate = 24;

  // A frame rate of 0 or less selects the default of 24 ticks per second.
  IEditorGraphics(IEffectBase* owner, int width, int height, int frameRate);
  ~IEditorGraphics() override;

  // Appends a control; the list owns it from now on. Returns its index.
  int AddControl(std::unique_ptr<IControl> control);
  // Inserts the background picture at index 0: copied unblended over the whole bitmap.
  int AttachBackground(int32_t resourceId, const char* name);
  // The captured control, else the topmost visible, enabled control under the point; -1.
  int FindControlAt(int x, int y) const;

  void MouseDown(int x, int y, const MouseModifiers& modifiers);
  // Reaches the captured control only, and ends its gesture.
  void MouseUp(int x, int y, const MouseModifiers& modifiers);
  void MouseDrag(int x, int y, const MouseModifiers& modifiers);
  // True when a control was hit: it is captured (the window must capture the mouse) until
  // the release ends the gesture the double-click began.
  bool MouseDoubleClick(int x, int y, const MouseModifiers& modifiers);
  void MouseWheel(int x, int y, const MouseModifiers& modifiers, int notches);
  void KeyDown(int x, int y, int keyCode);

  // The union of the drawing rectangles of all controls that need repainting; false when
  // none does.
  bool CollectDirtyArea(Rect* area) const;
  // Paints every visible control overlapping area, marks every control clean and copies
  // the area to the window.
  void PaintDirtyArea(const Rect& area);
  void MarkAllDirty();

  // Repainted on every timer tick whether or not a control in it is dirty.
  void SetAlwaysRedrawRect(const Rect& area) { alwaysRedraw_ = area; }
  const Rect& AlwaysRedrawRect() const { return alwaysRedraw_; }

  // EditorLink.
  void ShowParamValue(int index, double value, bool isNormalised) override;
  void PrepareEditor() override;
  int FrameRate() const override { return frameRate_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  intptr_t EditorWheel(float delta) override;

  // Scale: the editor keeps its layout in editor pixels (Width x Height) and is shown at
  // Scale() device pixels per editor pixel. The scale is the user's zoom choice when one
  // was made in this process, else the host's request, else the screen's density, else 1.
  // Window layers hand in the screen's scale when they open and give every mouse position
  // in editor pixels (ToEditorPixel).
  // The host's request (1 = 100 %); 0, NaN or a negative value withdraws it. True when the
  // editor's size on the screen changed.
  bool SetHostScale(double scale) override;
  void RefreshScale() override { UpdateScale(); }
  // The screen's density as the window layer found it (0 = unknown).
  void SetScreenScale(double scale);
  // The user's zoom choice for every editor of the process; 0 withdraws it.
  static void SetUserZoom(double scale);
  static double UserZoom();
  double Scale() const { return scale_.load(std::memory_order_relaxed); }
  // Size on the screen at the current scale, in device pixels.
  int DeviceWidth() const override;
  int DeviceHeight() const override;
  // The editor pixel under a device pixel's centre.
  int ToEditorPixel(int devicePixel) const;
  // The editor-pixel area that covers a device-pixel area (a window's exposed part).
  Rect EditorAreaCovering(const Rect& device) const;

  // The window half's services.
  virtual void BlitToWindow(const Rect& area) = 0;
  bool WindowIsOpen() const override { return WindowHandle() != 0; }
  // Opens the text entry on an editable text control's own text.
  virtual void PromptTextEntry(IControl* control) = 0;
  // Opens the value entry (a box or a list of the parameter's texts) over the control.
  virtual void PromptParamEntry(IControl* control, IEffectParam* param) = 0;
  // Opens a web address in the user's browser; true when it was handed over.
  virtual bool OpenWebAddress(const char* address, const char* caption, const char* confirmText,
                              const char* failureText) = 0;
  // The platform window as a plain integer; 0 while closed.
  virtual intptr_t WindowHandle() const = 0;

  IEffectBase* Owner() const { return owner_; }
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  IControl* Control(int index) const;
  int CapturedControl() const { return captured_; }
  int LastMouseX() const { return lastMouseX_; }
  int LastMouseY() const { return lastMouseY_; }
  PixelImage* ScratchImage() { return scratch_.get(); }

 protected:
  // The scale has changed (on the thread that changed it). The default applies it at once;
  // a window layer whose window runs on a thread of its own hands it to that thread, and
  // resizes its window after applying it.
  virtual void ScaleChanged() { ApplyScale(); }
  // Makes the surface follow the scale (a new surface at the new size, everything dirty).
  // True when it changed.
  bool ApplyScale();
  // Recomputes the scale from its sources; true when it changed (ScaleChanged was called).
  bool UpdateScale();

  // Where the surface keeps its pixels; a window layer that copies to the screen from a
  // platform bitmap supplies that memory.
  virtual std::unique_ptr<PixelMemory> MakeSurfaceMemory() { return MakeHeapPixelMemory(); }

 private:
  void ForgetCapture();
  // Gestures are reported only for bound controls of an editor that has a plug-in.
  bool HasOwnerParam(const IControl& control) const;

  IEffectBase* owner_;
  std::vector<std::unique_ptr<IControl>> controls_;
  std::unique_ptr<PixelImage> scratch_;
  Rect alwaysRedraw_{};
  int width_;
  int height_;
  int frameRate_;
  int captured_ = -1;
  bool dragsFollow_ = false;  // the captured control also receives the drags
  int lastMouseX_ = 0;
  int lastMouseY_ = 0;
  std::atomic<double> hostScale_{0.0};
  std::atomic<double> screenScale_{0.0};
  std::atomic<double> scale_{1.0};
};

}  // namespace velmora
