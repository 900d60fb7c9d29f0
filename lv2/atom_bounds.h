// Bounds of atoms another party wrote: a property whose stated size runs past its object
// would have a reader walk beyond the message.
#pragma once

#include <lv2/atom/atom.h>

#include <cstddef>
#include <cstdint>

namespace velmora::lv2 {

// Whether a property's value lies wholly inside its object.
inline bool PropertyInsideObject(const LV2_Atom_Object* object,
                                 const LV2_Atom_Property_Body* property) {
  const auto* end =
      static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&object->atom)) + object->atom.size;
  const auto* value = reinterpret_cast<const uint8_t*>(&property->value);
  return value + sizeof(LV2_Atom) <= end &&
         property->value.size <= static_cast<size_t>(end - value - sizeof(LV2_Atom));
}

}  // namespace velmora::lv2
