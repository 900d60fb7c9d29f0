#include "engine/note_length.h"

#include <cmath>

namespace velmora::dsp {

float NoteLength(int index, double base) {
  if (index < 0) {
    index = 0;
  }
  const int q = index / 3;
  const int r = index % 3;
  double length;
  if (r == 0) {
    length = base * std::ldexp(1.0, q);
  } else if (r == 1) {
    length = base * std::ldexp(1.0, q + 1) * 2.0 / 3.0;
  } else {
    length = base * std::ldexp(1.0, q) * 3.0 / 2.0;
  }
  return static_cast<float>(length);
}

}  // namespace velmora::dsp
