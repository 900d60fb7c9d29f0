// Translates X key symbols into the platform key numbers the editor's key table is written
// for (the Windows virtual-key numbering): the key a user presses gets the number it has
// on Windows, so the same keys reach the controls on both systems.
#pragma once

#include <X11/X.h>

namespace velmora {

// The virtual-key number of the key, or -1 for a key without one the table could map.
int PlatformKeyForKeySym(KeySym sym);

}  // namespace velmora
