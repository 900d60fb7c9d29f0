// The value list of the X11 pop-up: its keys, clicks, pointer and drawing. The pointer only
// highlights the row under it; a click on a row, the arrow keys, Page Up and Down, Home,
// End and the wheel choose the entry a commit applies, and keep it in view when the list
// scrolls. A click on the scroll bar moves the view a page without choosing anything.
#include <X11/keysym.h>

#include <algorithm>

#include "editor/x11/x11_entry_popup.h"
#include "editor/x11/x11_popup_look.h"
#include "graphics/cached_font.h"

namespace velmora {

using namespace x11_popup_look;

X11EntryPopup::Answer X11EntryPopup::OnListKey(KeySym sym) {
  if (sym == XK_Up || sym == XK_KP_Up || sym == XK_Left || sym == XK_KP_Left) {
    list_.MoveSelection(-1);
  } else if (sym == XK_Down || sym == XK_KP_Down || sym == XK_Right || sym == XK_KP_Right) {
    list_.MoveSelection(1);
  } else if (sym == XK_Prior || sym == XK_KP_Prior) {
    list_.PageUp();
  } else if (sym == XK_Next || sym == XK_KP_Next) {
    list_.PageDown();
  } else if (sym == XK_Home || sym == XK_KP_Home) {
    list_.SelectFirst();
  } else if (sym == XK_End || sym == XK_KP_End) {
    list_.SelectLast();
  }
  return Answer::kEditing;
}

X11EntryPopup::Answer X11EntryPopup::OnListButton(const XButtonEvent& event) {
  if (event.button == Button4 || event.button == Button5) {
    list_.MoveSelection(event.button == Button4 ? -1 : 1);
    OnListPointer(event.x, event.y);  // the rows moved under the pointer
    Redraw();
    return Answer::kEditing;
  }
  if (event.button != Button1) {
    return Answer::kNone;
  }
  if (list_.Scrolls() && event.x >= ListTextRight()) {
    int thumbTop = 0;
    int thumbBottom = 0;
    ThumbSpan(&thumbTop, &thumbBottom);
    if (event.y < thumbTop) {
      list_.Scroll(-list_.VisibleRows());
    } else if (event.y >= thumbBottom) {
      list_.Scroll(list_.VisibleRows());
    }
    OnListPointer(event.x, event.y);
    Redraw();
    return Answer::kEditing;
  }
  const int index = EntryAt(event.x, event.y);
  if (index < 0) {
    return Answer::kNone;
  }
  list_.Select(index);
  Redraw();
  return Answer::kCommit;
}

void X11EntryPopup::OnListPointer(int x, int y) {
  if (list_.Hover(EntryAt(x, y))) {
    Redraw();
  }
}

int X11EntryPopup::EntryAt(int x, int y) const {
  if (x < 1 || x >= ListTextRight() || y < 1) {
    return -1;
  }
  return list_.EntryInRow((y - 1) / kListRowHeight);
}

int X11EntryPopup::ListTextRight() const {
  return area_.Width() - 1 - (list_.Scrolls() ? kScrollBarWidth : 0);
}

// The thumb covers the share of the track that the rows in view are of all entries.
void X11EntryPopup::ThumbSpan(int* top, int* bottom) const {
  const int trackTop = 1;
  const int trackHeight = area_.Height() - 2;
  const int count = std::max(1, list_.Count());
  int thumbTop = trackTop + trackHeight * list_.Top() / count;
  int thumbBottom = trackTop + trackHeight * (list_.Top() + list_.VisibleRows()) / count;
  if (thumbBottom - thumbTop < kMinThumbHeight) {
    thumbBottom = std::min(trackTop + trackHeight, thumbTop + kMinThumbHeight);
    thumbTop = thumbBottom - kMinThumbHeight;
  }
  *top = thumbTop;
  *bottom = std::min(thumbBottom, trackTop + trackHeight);
}

void X11EntryPopup::DrawList() {
  const int lineHeight = style_.cachedFont->LineHeight();
  const int textRight = ListTextRight();
  for (int row = 0; row < list_.VisibleRows(); ++row) {
    const int index = list_.EntryInRow(row);
    if (index < 0) {
      break;
    }
    const int top = 1 + row * kListRowHeight;
    const Rect rowArea{1, top, textRight, top + kListRowHeight};
    TextStyle ink = style_;
    if (index == list_.Selected()) {
      canvas_.FillRectangle(kSelection, rowArea, &kCopyBlend);
      ink.colour = kSelectedInk;
    } else if (index == list_.Hovered()) {
      canvas_.FillRectangle(kHover, rowArea, &kCopyBlend);
    }
    if (index == current_) {
      const int markTop = top + (kListRowHeight - kMarkSize) / 2;
      canvas_.FillRectangle(ink.colour, Rect{5, markTop, 5 + kMarkSize, markTop + kMarkSize},
                            &kCopyBlend);
    }
    const int textTop = top + (kListRowHeight - lineHeight) / 2;
    canvas_.DrawStyledText(ink, list_.Entry(index).c_str(),
                           Rect{kListTextLeft, textTop, textRight, textTop + lineHeight});
  }
  if (list_.Scrolls()) {
    DrawScrollBar();
  }
}

void X11EntryPopup::DrawScrollBar() {
  const int left = ListTextRight();
  const int right = area_.Width() - 1;
  canvas_.FillRectangle(kTrack, Rect{left, 1, right, area_.Height() - 1}, &kCopyBlend);
  int thumbTop = 0;
  int thumbBottom = 0;
  ThumbSpan(&thumbTop, &thumbBottom);
  canvas_.FillRectangle(kThumb, Rect{left + 2, thumbTop + 1, right - 2, thumbBottom - 1},
                        &kCopyBlend);
}

}  // namespace velmora
