#include "editor/x11/x11_key_table.h"

#include <X11/keysym.h>

namespace velmora {
namespace {

struct KeyPair {
  KeySym sym;
  int key;
};

// Keys outside the letter and digit ranges. The keypad's digits and operators and the
// function keys F1..F11 have the numbers 0x61..0x7A on Windows, which the editor's table
// maps like lower-case letters, so they are listed too.
constexpr KeyPair kKeys[] = {
    {XK_space, 0x20},        {XK_Left, 0x25},        {XK_Up, 0x26},          {XK_Right, 0x27},
    {XK_Down, 0x28},         {XK_KP_Left, 0x25},     {XK_KP_Up, 0x26},       {XK_KP_Right, 0x27},
    {XK_KP_Down, 0x28},      {XK_KP_0, 0x60},        {XK_KP_Multiply, 0x6A}, {XK_KP_Add, 0x6B},
    {XK_KP_Separator, 0x6C}, {XK_KP_Subtract, 0x6D}, {XK_KP_Decimal, 0x6E},  {XK_KP_Divide, 0x6F},
};

}  // namespace

int PlatformKeyForKeySym(KeySym sym) {
  if (sym >= XK_a && sym <= XK_z) {
    return static_cast<int>(sym - XK_a) + 'A';
  }
  if (sym >= XK_A && sym <= XK_Z) {
    return static_cast<int>(sym - XK_A) + 'A';
  }
  if (sym >= XK_0 && sym <= XK_9) {
    return static_cast<int>(sym - XK_0) + '0';
  }
  if (sym >= XK_KP_1 && sym <= XK_KP_9) {
    return static_cast<int>(sym - XK_KP_1) + 0x61;
  }
  if (sym >= XK_F1 && sym <= XK_F11) {
    return static_cast<int>(sym - XK_F1) + 0x70;
  }
  for (const KeyPair& pair : kKeys) {
    if (pair.sym == sym) {
      return pair.key;
    }
  }
  return -1;
}

}  // namespace velmora
