#include "editor/x11/x11_entry_popup.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

#include "graphics/cached_font.h"
#include "graphics/font_cache.h"

namespace velmora {
namespace {

constexpr int kValueTextSize = 14;
constexpr int kListRowHeight = 18;
constexpr int kTextPadding = 2;
constexpr int kListTextLeft = 14;  // room for the mark of the current entry
constexpr int kMarkSize = 4;
const Color kPaper{255, 255, 255, 255};
const Color kInk{255, 0, 0, 0};
const Color kFrame{255, 96, 96, 96};
const Color kSelection{255, 48, 112, 192};
const Color kSelectedInk{255, 255, 255, 255};
const Blend kCopyBlend{Blend::kCopy, 1.0f};

constexpr long kPopupEvents =
    ExposureMask | KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask;

Rect ListArea(const EntryRequest& request, int editorWidth, int editorHeight) {
  Rect area = request.area;
  const int rows = static_cast<int>(request.items.size());
  const int wanted = rows * kListRowHeight + 2;
  area.bottom = area.top + std::min(wanted, std::max(area.Height(), kListRowHeight + 2));
  // Kept inside the editor: moved up (then left) rather than cut.
  const int down = std::max(0, area.bottom - editorHeight);
  area.top = std::max(0, area.top - down);
  area.bottom = std::min(editorHeight, area.top + wanted);
  const int right = std::max(0, area.right - editorWidth);
  area.left = std::max(0, area.left - right);
  area.right = std::min(editorWidth, area.left + request.area.Width());
  return area;
}

}  // namespace

TextStyle X11EntryPopup::ValueStyle() {
  TextStyle style;
  style.size = kValueTextSize;
  style.colour = kInk;
  return style;
}

X11EntryPopup::X11EntryPopup(const X11PopupHost& host, const EntryRequest& request,
                             const TextStyle& style, bool readOnly, bool masked)
    : host_(host),
      kind_(request.kind),
      area_(request.kind == EntryRequest::kValueList ? ListArea(request, host.width, host.height)
                                                     : request.area),
      style_(style),
      readOnly_(readOnly),
      masked_(masked),
      field_(request.text),
      items_(request.items),
      current_(request.selected),
      highlighted_(request.selected) {
  style_.colour = kInk;
  style_.alignment = TextStyle::kAlignLeft;
  style_.orientation = 0;
  style_.cachedFont = nullptr;
}

std::unique_ptr<X11EntryPopup> X11EntryPopup::Open(const X11PopupHost& host,
                                                   const EntryRequest& request,
                                                   const TextStyle& style, bool readOnly,
                                                   bool masked) {
  std::unique_ptr<X11EntryPopup> popup(new X11EntryPopup(host, request, style, readOnly, masked));
  if (!popup->Create()) {
    return nullptr;
  }
  return popup;
}

bool X11EntryPopup::Create() {
  if (area_.Width() <= 0 || area_.Height() <= 0) {
    return false;
  }
  style_.cachedFont = FontCache::Instance().Acquire(style_);
  if (style_.cachedFont == nullptr || !canvas_.CreateSurface(area_.Width(), area_.Height()) ||
      !image_.Create(host_.display, host_.visual, area_.Width(), area_.Height(), false)) {
    return false;
  }
  XSetWindowAttributes attributes{};
  attributes.colormap = host_.colormap;
  attributes.border_pixel = 0;
  attributes.background_pixmap = None;
  attributes.event_mask = kPopupEvents;
  window_ = XCreateWindow(host_.display, host_.window, area_.left, area_.top,
                          static_cast<unsigned>(area_.Width()),
                          static_cast<unsigned>(area_.Height()), 0, 24, InputOutput, host_.visual,
                          CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attributes);
  if (window_ == 0) {
    return false;
  }
  gc_ = XCreateGC(host_.display, window_, 0, nullptr);
  XMapRaised(host_.display, window_);
  XSetInputFocus(host_.display, window_, RevertToParent, CurrentTime);
  Redraw();
  return true;
}

X11EntryPopup::~X11EntryPopup() {
  image_.Destroy();
  if (gc_ != nullptr) {
    XFreeGC(host_.display, gc_);
  }
  if (window_ != 0) {
    XDestroyWindow(host_.display, window_);
  }
}

std::string X11EntryPopup::Text() const {
  if (kind_ != EntryRequest::kValueList) {
    return field_.Text();
  }
  return highlighted_ >= 0 ? items_[static_cast<size_t>(highlighted_)] : std::string();
}

X11EntryPopup::Answer X11EntryPopup::HandleEvent(XEvent& event) {
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) {
        Redraw();
      }
      return Answer::kNone;
    case FocusIn:
      return event.xfocus.detail == NotifyPointer ? Answer::kNone : Answer::kEditing;
    case FocusOut:
      // Focus moving into the pop-up's own children or following the pointer is no loss.
      return event.xfocus.detail == NotifyInferior || event.xfocus.detail == NotifyPointer ||
                     event.xfocus.mode != NotifyNormal
                 ? Answer::kNone
                 : Answer::kIdle;
    case KeyPress:
      return OnKey(event.xkey);
    case ButtonPress:
      return OnButton(event.xbutton);
    case MotionNotify:
      if (IsList()) {
        const int row = RowAt(event.xmotion.y);
        if (row >= 0 && row != highlighted_) {
          highlighted_ = row;
          Redraw();
        }
      }
      return Answer::kNone;
    default:
      return Answer::kNone;
  }
}

X11EntryPopup::Answer X11EntryPopup::OnKey(XKeyEvent& event) {
  char typed[8] = {};
  KeySym sym = NoSymbol;
  const int length = XLookupString(&event, typed, sizeof(typed), &sym, nullptr);
  if (sym == XK_Return || sym == XK_KP_Enter) {
    if (!IsList()) {
      field_.ClearSelection();
      Redraw();
    }
    return Answer::kCommit;
  }
  const Answer answer =
      IsList() ? OnListKey(sym) : OnBoxKey(sym, typed, length, (event.state & ShiftMask) != 0);
  Redraw();
  return answer;
}

X11EntryPopup::Answer X11EntryPopup::OnBoxKey(KeySym sym, const char* typed, int typedLength,
                                              bool shift) {
  switch (sym) {
    case XK_BackSpace:
      if (!readOnly_) {
        field_.Press(EntryField::Key::kBackspace, false);
      }
      break;
    case XK_Delete:
    case XK_KP_Delete:
      if (!readOnly_) {
        field_.Press(EntryField::Key::kDelete, false);
      }
      break;
    case XK_Home:
    case XK_KP_Home:
      field_.Press(EntryField::Key::kHome, shift);
      break;
    case XK_End:
    case XK_KP_End:
      field_.Press(EntryField::Key::kEnd, shift);
      break;
    case XK_Left:
    case XK_KP_Left:
      field_.Press(EntryField::Key::kLeft, shift);
      break;
    case XK_Right:
    case XK_KP_Right:
      field_.Press(EntryField::Key::kRight, shift);
      break;
    default:
      if (!readOnly_ && typedLength == 1) {
        field_.Type(typed[0]);
      }
      break;
  }
  return Answer::kEditing;
}

X11EntryPopup::Answer X11EntryPopup::OnListKey(KeySym sym) {
  if (sym == XK_Up || sym == XK_KP_Up || sym == XK_Left || sym == XK_KP_Left) {
    MoveHighlight(-1);
  } else if (sym == XK_Down || sym == XK_KP_Down || sym == XK_Right || sym == XK_KP_Right) {
    MoveHighlight(1);
  } else if (sym == XK_Home || sym == XK_KP_Home) {
    highlighted_ = items_.empty() ? -1 : 0;
  } else if (sym == XK_End || sym == XK_KP_End) {
    highlighted_ = static_cast<int>(items_.size()) - 1;
  }
  return Answer::kEditing;
}

X11EntryPopup::Answer X11EntryPopup::OnButton(const XButtonEvent& event) {
  if (IsList()) {
    if (event.button == Button4 || event.button == Button5) {
      MoveHighlight(event.button == Button4 ? -1 : 1);
      Redraw();
      return Answer::kEditing;
    }
    const int row = event.button == Button1 ? RowAt(event.y) : -1;
    if (row < 0) {
      return Answer::kNone;
    }
    highlighted_ = row;
    Redraw();
    return Answer::kCommit;
  }
  if (event.button == Button1) {
    PlaceCaret(event.x);
    Redraw();
    return Answer::kEditing;
  }
  return Answer::kNone;
}

void X11EntryPopup::MoveHighlight(int step) {
  const int count = static_cast<int>(items_.size());
  if (count == 0) {
    return;
  }
  const int from = highlighted_ < 0 ? (step > 0 ? -1 : count) : highlighted_;
  highlighted_ = std::clamp(from + step, 0, count - 1);
}

int X11EntryPopup::RowAt(int y) const {
  const int row = (y - 1) / kListRowHeight;
  return y >= 1 && row < static_cast<int>(items_.size()) ? row : -1;
}

void X11EntryPopup::Redraw() {
  canvas_.FillRectangle(kFrame, Rect{0, 0, area_.Width(), area_.Height()}, &kCopyBlend);
  canvas_.FillRectangle(kPaper, Rect{1, 1, area_.Width() - 1, area_.Height() - 1}, &kCopyBlend);
  if (IsList()) {
    DrawList();
  } else {
    DrawBox();
  }
  image_.Put(window_, gc_, *canvas_.Surface(), Rect{0, 0, area_.Width(), area_.Height()});
}

int X11EntryPopup::TextWidth(const std::string& text) {
  return style_.cachedFont->MeasureWidth(text.c_str(), CachedFont::kSingleLine);
}

// The left edge of the character at position, in pop-up pixels, with the text aligned as
// the box asks and scrolled so that the caret stays inside.
int X11EntryPopup::TextX(size_t position) {
  const std::string shown = field_.Shown(masked_);
  const int inner = area_.Width() - 2 * kTextPadding;
  const int width = TextWidth(shown);
  int start = kTextPadding;
  if (width <= inner) {
    scroll_ = 0;
    if (kind_ == EntryRequest::kValueBox || style_.alignment == TextStyle::kAlignCentre) {
      start += (inner - width) / 2;
    } else if (kind_ == EntryRequest::kTextBox && style_.alignment == TextStyle::kAlignRight) {
      start += inner - width;
    }
  } else {
    const int caret = TextWidth(shown.substr(0, field_.Caret()));
    scroll_ = std::clamp(scroll_, std::max(0, caret - inner + 1), std::min(caret, width - inner));
    start -= scroll_;
  }
  return start + TextWidth(shown.substr(0, position));
}

void X11EntryPopup::PlaceCaret(int x) {
  const size_t length = field_.Text().size();
  size_t best = 0;
  for (size_t position = 0; position <= length; ++position) {
    if (std::abs(TextX(position) - x) < std::abs(TextX(best) - x)) {
      best = position;
    }
  }
  field_.Press(EntryField::Key::kHome, false);
  for (size_t i = 0; i < best; ++i) {
    field_.Press(EntryField::Key::kRight, false);
  }
}

void X11EntryPopup::DrawBox() {
  const std::string shown = field_.Shown(masked_);
  const int lineHeight = style_.cachedFont->LineHeight();
  const int top = (area_.Height() - lineHeight) / 2;
  const int left = TextX(0);
  TextStyle ink = style_;
  canvas_.DrawStyledText(ink, shown.c_str(),
                         Rect{left, top, left + area_.Width(), top + lineHeight});
  if (field_.HasSelection()) {
    const int from = TextX(field_.SelectionStart());
    const int to = TextX(field_.SelectionEnd());
    canvas_.FillRectangle(kSelection, Rect{from, 1, to, area_.Height() - 1}, &kCopyBlend);
    TextStyle selected = style_;
    selected.colour = kSelectedInk;
    const std::string part =
        shown.substr(field_.SelectionStart(), field_.SelectionEnd() - field_.SelectionStart());
    canvas_.DrawStyledText(selected, part.c_str(),
                           Rect{from, top, to + area_.Width(), top + lineHeight});
  } else {
    const int caret = TextX(field_.Caret());
    canvas_.FillRectangle(kInk, Rect{caret, 2, caret + 1, area_.Height() - 2}, &kCopyBlend);
  }
  // The frame again, over text that ran past the edges.
  const int width = area_.Width();
  const int height = area_.Height();
  canvas_.FillRectangle(kFrame, Rect{0, 0, width, 1}, &kCopyBlend);
  canvas_.FillRectangle(kFrame, Rect{0, height - 1, width, height}, &kCopyBlend);
  canvas_.FillRectangle(kFrame, Rect{0, 0, 1, height}, &kCopyBlend);
  canvas_.FillRectangle(kFrame, Rect{width - 1, 0, width, height}, &kCopyBlend);
}

void X11EntryPopup::DrawList() {
  const int lineHeight = style_.cachedFont->LineHeight();
  for (int row = 0; row < static_cast<int>(items_.size()); ++row) {
    const int top = 1 + row * kListRowHeight;
    const Rect rowArea{1, top, area_.Width() - 1, top + kListRowHeight};
    TextStyle ink = style_;
    if (row == highlighted_) {
      canvas_.FillRectangle(kSelection, rowArea, &kCopyBlend);
      ink.colour = kSelectedInk;
    }
    if (row == current_) {
      const int markTop = top + (kListRowHeight - kMarkSize) / 2;
      canvas_.FillRectangle(ink.colour, Rect{5, markTop, 5 + kMarkSize, markTop + kMarkSize},
                            &kCopyBlend);
    }
    const int textTop = top + (kListRowHeight - lineHeight) / 2;
    canvas_.DrawStyledText(ink, items_[static_cast<size_t>(row)].c_str(),
                           Rect{kListTextLeft, textTop, area_.Width() - 1, textTop + lineHeight});
  }
}

}  // namespace velmora
