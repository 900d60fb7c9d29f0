// The colours and sizes the X11 pop-ups are drawn with, shared by the box and the list.
#pragma once

#include "graphics/blend.h"
#include "graphics/color.h"

namespace velmora::x11_popup_look {

constexpr int kTextPadding = 2;
constexpr int kListTextLeft = 14;  // room for the mark of the current entry
constexpr int kMarkSize = 4;
constexpr int kMinThumbHeight = 8;
constexpr Color kPaper{255, 255, 255, 255};
constexpr Color kInk{255, 0, 0, 0};
constexpr Color kFrame{255, 96, 96, 96};
constexpr Color kSelection{255, 48, 112, 192};
constexpr Color kSelectedInk{255, 255, 255, 255};
constexpr Color kHover{255, 214, 228, 246};  // the row under the pointer, not yet chosen
constexpr Color kTrack{255, 224, 224, 224};
constexpr Color kThumb{255, 128, 128, 128};
constexpr Blend kCopyBlend{Blend::kCopy, 1.0f};

}  // namespace velmora::x11_popup_look
