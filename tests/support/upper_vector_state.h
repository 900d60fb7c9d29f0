// Whether the upper halves of the vector registers are left in use. Code that leaves them so
// (a wide loop that ends without clearing them) makes every later SSE instruction of the
// thread slower on many processors, however correct its own results are.
#pragma once

#include <cpuid.h>

#include <cstdint>

namespace velmora::testing {

enum class UpperState { kClean, kInUse, kUnknown };

// Read with XGETBV's in-use form where the processor has it: bit 2 for the upper halves of
// registers 0-15 as 256-bit registers, bit 6 for them as 512-bit ones. Those are the halves
// SSE instructions share. Registers 16-31 (bit 7) and the mask registers (bit 5) are out of
// SSE's reach, and library code leaves them in use as a matter of course.
inline UpperState UpperVectorState() {
  unsigned eax = 0;
  unsigned ebx = 0;
  unsigned ecx = 0;
  unsigned edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0 || (ecx & (1u << 27)) == 0) {
    return UpperState::kUnknown;
  }
  if (__get_cpuid_count(0xD, 1, &eax, &ebx, &ecx, &edx) == 0 || (eax & (1u << 2)) == 0) {
    return UpperState::kUnknown;
  }
  uint32_t low = 0;
  uint32_t high = 0;
  asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
  return (low & 0x44u) != 0 ? UpperState::kInUse : UpperState::kClean;
}

}  // namespace velmora::testing
