// Texts between the plug-in's 8-bit strings and the 16-bit strings of VST 3 records.
#pragma once

#include <cstddef>

#include "vst3/abi/vst3_base.h"

namespace velmora::vst3 {

// Copies UTF-8 text into a 16-bit field of capacity units, always terminated; characters
// beyond the field are cut. Null text gives the empty text.
void CopyToUtf16(const char* text, char16* field, size_t capacity);

// Copies a zero-terminated 16-bit text (read at most capacity units) into UTF-8, always
// terminated and cut to size bytes. Null text gives the empty text.
void CopyToUtf8(const char16* text, size_t capacity, char* out, size_t size);

}  // namespace velmora::vst3
