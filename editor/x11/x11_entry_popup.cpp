#include "editor/x11/x11_entry_popup.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

#include "editor/entry_box_style.h"
#include "editor/x11/x11_popup_look.h"
#include "graphics/cached_font.h"
#include "graphics/device_scale.h"
#include "graphics/font_cache.h"

namespace velmora {
namespace {

constexpr int kValueTextSize = 14;
constexpr int kListRowHeight = X11EntryPopup::kListRowHeight;
using namespace x11_popup_look;

constexpr long kPopupEvents = ExposureMask | KeyPressMask | ButtonPressMask | PointerMotionMask |
                              LeaveWindowMask | FocusChangeMask;

// As many rows as the editor's height holds inside the list's frame.
int VisibleListRows(const EntryRequest& request, int editorHeight) {
  const int rows = static_cast<int>(request.items.size());
  return std::max(1, std::min(rows, (editorHeight - 2) / kListRowHeight));
}

// The list as tall as its rows in view, widened by the scroll bar when not all fit, and
// moved up (then left) to stay inside the editor rather than cut.
Rect ListArea(const EntryRequest& request, int editorWidth, int editorHeight) {
  const int rows = static_cast<int>(request.items.size());
  const int visible = VisibleListRows(request, editorHeight);
  const int height = visible * kListRowHeight + 2;
  const int width = request.area.Width() + (rows > visible ? X11EntryPopup::kScrollBarWidth : 0);
  Rect area = request.area;
  area.top = std::max(0, std::min(area.top, editorHeight - height));
  area.left = std::max(0, std::min(area.left, editorWidth - width));
  area.bottom = area.top + height;
  area.right = std::min(editorWidth, area.left + width);
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
      list_(request.items, request.selected, VisibleListRows(request, host.height)),
      current_(request.selected),
      boxAlignment_(request.kind == EntryRequest::kTextBox ? EntryBoxAlignment(style.alignment)
                                                           : TextStyle::kAlignCentre) {
  style_.colour = kInk;
  // A value box is centred; a text box follows its control's alignment and style. The text
  // itself is drawn from the left edge that TextX works out.
  style_.alignment = TextStyle::kAlignLeft;
  style_.style = request.kind == EntryRequest::kTextBox ? EntryBoxFontStyle(style.style) : 0;
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
  canvas_.SetDrawScale(host_.scale);
  const Rect device = canvas_.ToDevice(Rect{0, 0, area_.Width(), area_.Height()});
  if (style_.cachedFont == nullptr || !canvas_.CreateSurface(device.Width(), device.Height()) ||
      !image_.Create(host_.display, host_.visual, device.Width(), device.Height(), false)) {
    return false;
  }
  XSetWindowAttributes attributes{};
  attributes.colormap = host_.colormap;
  attributes.border_pixel = 0;
  attributes.background_pixmap = None;
  attributes.event_mask = kPopupEvents;
  window_ = XCreateWindow(host_.display, host_.window, canvas_.ToDevice(area_.left),
                          canvas_.ToDevice(area_.top), static_cast<unsigned>(device.Width()),
                          static_cast<unsigned>(device.Height()), 0, 24, InputOutput, host_.visual,
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
  return list_.SelectedText();
}

X11EntryPopup::Answer X11EntryPopup::HandleEvent(XEvent& event) {
  // Pointer positions arrive in device pixels; the pop-up works in editor pixels.
  if (event.type == ButtonPress) {
    event.xbutton.x = device_scale::ToEditor(event.xbutton.x, host_.scale);
    event.xbutton.y = device_scale::ToEditor(event.xbutton.y, host_.scale);
  } else if (event.type == MotionNotify) {
    event.xmotion.x = device_scale::ToEditor(event.xmotion.x, host_.scale);
    event.xmotion.y = device_scale::ToEditor(event.xmotion.y, host_.scale);
  }
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
        OnListPointer(event.xmotion.x, event.xmotion.y);
      }
      return Answer::kNone;
    case LeaveNotify:
      if (IsList() && list_.Hover(-1)) {
        Redraw();
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

X11EntryPopup::Answer X11EntryPopup::OnButton(const XButtonEvent& event) {
  if (event.button == Button3) {
    return Answer::kCancel;  // a right click cancels wherever it lands
  }
  if (IsList()) {
    return OnListButton(event);
  }
  if (event.button == Button1) {
    PlaceCaret(event.x);
    Redraw();
    return Answer::kEditing;
  }
  return Answer::kNone;
}

void X11EntryPopup::Redraw() {
  canvas_.FillRectangle(kFrame, Rect{0, 0, area_.Width(), area_.Height()}, &kCopyBlend);
  canvas_.FillRectangle(kPaper, Rect{1, 1, area_.Width() - 1, area_.Height() - 1}, &kCopyBlend);
  if (IsList()) {
    DrawList();
  } else {
    DrawBox();
  }
  image_.Put(window_, gc_, *canvas_.Surface(),
             canvas_.ToDevice(Rect{0, 0, area_.Width(), area_.Height()}));
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
    if (boxAlignment_ == TextStyle::kAlignCentre) {
      start += (inner - width) / 2;
    } else if (boxAlignment_ == TextStyle::kAlignRight) {
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

}  // namespace velmora
