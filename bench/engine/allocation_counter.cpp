// Replaces the global allocation functions with counting ones over malloc. Kept in a file
// of its own, so the compiler never sees a replaced function inlined beside its caller.
#include "allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocationCount{0};

void* CountedAllocation(size_t size) {
  allocationCount.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size == 0 ? 1 : size);
}

void* CountedAllocationOrThrow(size_t size) {
  if (void* memory = CountedAllocation(size)) {
    return memory;
  }
  throw std::bad_alloc();
}

}  // namespace

namespace velmora::bench {

long AllocationCount() {
  return allocationCount.load();
}

}  // namespace velmora::bench

void* operator new(size_t size) {
  return CountedAllocationOrThrow(size);
}
void* operator new[](size_t size) {
  return CountedAllocationOrThrow(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return CountedAllocation(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return CountedAllocation(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, size_t) noexcept {
  std::free(memory);
}
