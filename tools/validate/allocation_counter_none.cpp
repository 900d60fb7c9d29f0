// Platforms and builds without malloc interposition: nothing is counted.
#include "tools/validate/allocation_counter.h"

namespace velmora::validate {

bool AllocationCountingAvailable() {
  return false;
}

CountAllocations::CountAllocations(AllocationCounts&) {}

CountAllocations::~CountAllocations() = default;

}  // namespace velmora::validate
