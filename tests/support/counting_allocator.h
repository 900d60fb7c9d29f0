// Counts every call of the global allocation functions of the executable it is linked into
// (counting_allocator.cpp replaces them), and can refuse large requests, so tests and
// benchmarks can show what a path allocates and how it copes when memory runs out. Link the
// source into the executable itself, never through a static library: the replacement must
// win over the standard library's.
#pragma once

#include <cstddef>

namespace velmora::testing {

long AllocationCount();

// Requests of more than this many bytes fail (nothrow forms return null, the others throw);
// 0 refuses nothing.
void RefuseAllocationsAbove(size_t bytes);

}  // namespace velmora::testing
