// Counts every call of the global allocation functions of the executable it is linked into
// (allocation_counter.cpp replaces them).
#pragma once

namespace velmora::bench {

long AllocationCount();

}  // namespace velmora::bench
