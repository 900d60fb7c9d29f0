// The text-entry pop-up of the X11 editor, drawn by the editor itself: a one-line value or
// text box, or a list of a parameter's value names. It is a child window of the editor
// window (so the editor's own painting never covers it) that takes the keyboard focus; its
// keys, clicks and focus changes are turned into the entry requests the editor's tick
// carries out (commit, editing, idle), never into parameter changes of its own.
//
// Threads: only the editor's thread uses it.
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "editor/editor_window.h"
#include "editor/x11/entry_field.h"
#include "editor/x11/value_list_view.h"
#include "editor/x11/x11_screen_image.h"
#include "graphics/editor_canvas.h"
#include "graphics/text_style.h"

namespace velmora {

// Where pop-ups appear: the editor's connection, window and visual.
struct X11PopupHost {
  Display* display = nullptr;
  Window window = 0;
  Visual* visual = nullptr;
  Colormap colormap = 0;
  int width = 0;  // the editor's size in editor pixels, which a list is kept inside
  int height = 0;
  double scale = 1.0;  // device pixels per editor pixel
};

class X11EntryPopup {
 public:
  // What the user asked for with an event.
  enum class Answer { kNone, kEditing, kIdle, kCommit, kCancel };
  static constexpr int kListRowHeight = 18;
  static constexpr int kScrollBarWidth = 10;
  // The box's text style for value entries: 14-pixel Arial.
  static TextStyle ValueStyle();

  // Shows the pop-up over request.area with the focus. A list keeps inside the editor:
  // moved up or left rather than cut, and scrolled when its entries need more rows than
  // the editor is high.
  // A text box uses style's face and size; readOnly and masked as the control says.
  static std::unique_ptr<X11EntryPopup> Open(const X11PopupHost& host, const EntryRequest& request,
                                             const TextStyle& style, bool readOnly, bool masked);
  ~X11EntryPopup();
  X11EntryPopup(const X11EntryPopup&) = delete;
  X11EntryPopup& operator=(const X11EntryPopup&) = delete;

  Window Handle() const { return window_; }
  // The pop-up's rectangle in editor pixels. It works in editor pixels throughout and is
  // drawn, and placed on the screen, at the editor's scale.
  const Rect& Area() const { return area_; }
  Answer HandleEvent(XEvent& event);
  // What a commit applies: the box's text, or the selected list entry.
  std::string Text() const;
  bool IsList() const { return kind_ == EntryRequest::kValueList; }
  const ValueListView& List() const { return list_; }

 private:
  X11EntryPopup(const X11PopupHost& host, const EntryRequest& request, const TextStyle& style,
                bool readOnly, bool masked);
  bool Create();
  void Redraw();
  void DrawBox();
  void DrawList();
  Answer OnKey(XKeyEvent& event);
  Answer OnBoxKey(KeySym sym, const char* typed, int typedLength, bool shift);
  Answer OnListKey(KeySym sym);
  Answer OnButton(const XButtonEvent& event);
  Answer OnListButton(const XButtonEvent& event);
  void OnListPointer(int x, int y);
  // The list entry under a point of the pop-up, or -1 (the frame, the scroll bar).
  int EntryAt(int x, int y) const;
  int ListTextRight() const;
  // The scroll bar's thumb, top and bottom in pop-up pixels.
  void ThumbSpan(int* top, int* bottom) const;
  void DrawScrollBar();
  int TextX(size_t position);
  void PlaceCaret(int x);
  int TextWidth(const std::string& text);

  X11PopupHost host_;
  EntryRequest::Kind kind_;
  Rect area_{};
  TextStyle style_;
  bool readOnly_;
  bool masked_;
  EntryField field_;
  ValueListView list_;
  int current_ = -1;
  int32_t boxAlignment_;  // where a box's text sits when it fits
  int scroll_ = 0;        // pixels the box's text is moved left to keep the caret in view
  Window window_ = 0;
  GC gc_ = nullptr;
  EditorCanvas canvas_;
  X11ScreenImage image_;
};

}  // namespace velmora
