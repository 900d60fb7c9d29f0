#pragma once

#include <X11/Xlib.h>

#include <string>

namespace velmora {

// The density the user's desktop set for this screen, as a scale (1 = 100 %): the Xft.dpi
// resource of the X server's resource database (96 dots per inch is 100 %), else the
// GDK_SCALE environment variable (a whole factor), else 0 (unknown).
double ReadScreenScale(Display* display);

// The Xft.dpi value of a resource database text, as XResourceManagerString returns it; 0
// when it holds none or an unusable one.
double XftDpiOf(const std::string& resources);

}  // namespace velmora
