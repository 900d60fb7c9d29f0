#include "graphics/win32/wine_detection.h"

#include <windows.h>

namespace velmora {
namespace {

bool WineKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

}  // namespace

bool RunningUnderWine() {
  // A function-local static is initialised once, thread-safely.
  static const bool underWine = WineKeyExists();
  return underWine;
}

}  // namespace velmora
