#pragma once

namespace velmora {

// True when the plug-in runs under the Wine compatibility layer, recognised by the key
// "Software\Wine" under HKEY_LOCAL_MACHINE. Wine's text renderer draws into memory device
// contexts differently from Windows, so text takes the glyph path there. The registry is
// read once per process; the answer is remembered.
bool RunningUnderWine();

}  // namespace velmora
