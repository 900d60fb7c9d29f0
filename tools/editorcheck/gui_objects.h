// How many GDI and USER objects this process holds.
#pragma once

#include <string>

namespace velmora::editorcheck {

struct GuiObjects {
  int gdi = 0;
  int user = 0;
  // Windows answers GetGuiResources; Wine only has a stub that answers 0, so there the
  // objects are counted by probing every handle slot instead.
  bool probed = false;
};

GuiObjects CountGuiObjects();
std::string Describe(const GuiObjects& objects);

}  // namespace velmora::editorcheck
