// The client area of a window as it is on the screen, read back for picture comparisons.
#pragma once

#include <windows.h>

#include "graphics/pixel_image.h"

namespace velmora::editorcheck {

// Copies width x height pixels from the window's DC with BitBlt into out, fully opaque.
// False when a GDI object cannot be made or the copy fails.
bool CaptureWindow(HWND window, int width, int height, PixelImage& out);

}  // namespace velmora::editorcheck
