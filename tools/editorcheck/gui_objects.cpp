#include "tools/editorcheck/gui_objects.h"

#include <windows.h>

namespace velmora::editorcheck {
namespace {

constexpr int kHandleSlots = 0x10000;
// Wine numbers window handles from 0x20 in steps of two.
constexpr int kFirstWindowSlot = 0x20;

// Wine accepts a handle's slot number alone (a zero upper word) for any live object, so
// every slot can be asked whether it holds one.
int ProbeGdiObjects() {
  int count = 0;
  for (int slot = 1; slot < kHandleSlots; ++slot) {
    count += GetObjectType(reinterpret_cast<HGDIOBJ>(static_cast<INT_PTR>(slot))) != 0 ? 1 : 0;
  }
  return count;
}

int ProbeOwnWindows() {
  int count = 0;
  const DWORD self = GetCurrentProcessId();
  for (int slot = kFirstWindowSlot; slot < kHandleSlots; slot += 2) {
    HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(slot));
    DWORD process = 0;
    if (IsWindow(window) && GetWindowThreadProcessId(window, &process) != 0 && process == self) {
      ++count;
    }
  }
  return count;
}

}  // namespace

GuiObjects CountGuiObjects() {
  GuiObjects objects;
  objects.gdi = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  objects.user = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (objects.gdi == 0 && objects.user == 0) {
    objects.probed = true;
    objects.gdi = ProbeGdiObjects();
    objects.user = ProbeOwnWindows();
  }
  return objects;
}

std::string Describe(const GuiObjects& objects) {
  return std::to_string(objects.gdi) + " GDI, " + std::to_string(objects.user) +
         (objects.probed ? " windows (counted by probing handles: GetGuiResources is a stub)"
                         : " USER (GetGuiResources)");
}

}  // namespace velmora::editorcheck
