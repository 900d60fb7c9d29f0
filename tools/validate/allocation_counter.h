// Counts heap calls made on the calling thread while counting is armed. The Linux build
// interposes malloc and its relatives in the validator executable, which also sees every
// operator new and delete of a plug-in (they end in malloc and free); elsewhere, and in
// sanitizer builds that bring their own allocator, counting is not available.
#pragma once

#include <cstdint>

namespace velmora::validate {

struct AllocationCounts {
  int64_t allocations = 0;  // malloc, calloc, realloc, the aligned allocators
  int64_t frees = 0;
};

bool AllocationCountingAvailable();

// Counts this thread's heap calls for the lifetime of the scope.
class CountAllocations {
 public:
  explicit CountAllocations(AllocationCounts& counts);
  ~CountAllocations();
  CountAllocations(const CountAllocations&) = delete;
  CountAllocations& operator=(const CountAllocations&) = delete;
};

}  // namespace velmora::validate
