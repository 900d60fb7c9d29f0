// What the plug-in frame asks of its editor. The editor's graphics object implements it; the
// plug-in object owns the editor once it is attached and deletes it with itself. The window
// handle crosses this interface as a plain integer so no platform header is needed here.
#pragma once

#include <cstdint>

namespace velmora {

class EditorLink {
 public:
  virtual ~EditorLink() = default;

  // Shows a parameter's value on every control bound to it. A value that is not normalised is
  // a real value the editor converts with the parameter's own mapping. Called with the
  // instance lock held, possibly from a host thread: it only stores values and marks controls.
  virtual void ShowParamValue(int index, double value, bool isNormalised) = 0;
  // Called once when the editor is attached, after every parameter has been shown.
  virtual void PrepareEditor() = 0;
  // The end-of-gesture countdown of a wheel edit, in editor timer ticks; 0 stops it.
  virtual void SetEndEditCountdown(int ticks) = 0;
  virtual void ClearEndEditCountdown() = 0;

  virtual int FrameRate() const = 0;  // timer ticks per second
  virtual int Width() const = 0;      // pixels
  virtual int Height() const = 0;
  // The editor's size on the screen, in device pixels: Width x Height times its scale.
  virtual int DeviceWidth() const { return Width(); }
  virtual int DeviceHeight() const { return Height(); }
  // The host's display scale for the editor (1 = 100 %; 0 withdraws the request). True when
  // the editor's size on the screen changed, so the host's window should follow it.
  virtual bool SetHostScale(double scale) {
    (void)scale;
    return false;
  }
  // Takes up a zoom the user chose in another editor of the process since; called before
  // the size is reported or the window opens.
  virtual void RefreshScale() {}

  // Opens the editor window inside the host's parent window (an HWND or an X11 window id).
  virtual bool OpenEditorWindow(intptr_t parentHandle) = 0;
  virtual void CloseEditorWindow() = 0;
  virtual bool WindowIsOpen() const { return false; }
  // A wheel turn the host forwards; the result goes back to the host unchanged.
  virtual intptr_t EditorWheel(float delta) = 0;
};

}  // namespace velmora
