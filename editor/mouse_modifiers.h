#pragma once

namespace velmora {

// Buttons and keys held during a mouse event, one byte each in this order.
struct MouseModifiers {
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};

}  // namespace velmora
