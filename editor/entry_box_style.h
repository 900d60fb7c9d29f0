// How the text box of an editable text control shows the control's text style, on every
// platform: aligned left for 0, right for 2 and centred for anything else; bold only for
// style 1 and italic only for style 2 (so no other style value gives a bold italic box).
#pragma once

#include <cstdint>

#include "graphics/text_style.h"

namespace velmora {

inline int32_t EntryBoxAlignment(int32_t alignment) {
  if (alignment == TextStyle::kAlignLeft || alignment == TextStyle::kAlignRight) {
    return alignment;
  }
  return TextStyle::kAlignCentre;
}

inline bool EntryBoxBold(int32_t style) {
  return style == TextStyle::kBold;
}

inline bool EntryBoxItalic(int32_t style) {
  return style == TextStyle::kItalic;
}

// The font style (bit 0 bold, bit 1 italic) the box's font is made with.
inline int32_t EntryBoxFontStyle(int32_t style) {
  return EntryBoxBold(style) ? TextStyle::kBold : EntryBoxItalic(style) ? TextStyle::kItalic : 0;
}

}  // namespace velmora
