// Replaces the global allocation functions with counting ones over malloc. Kept in a file
// of its own, so the compiler never sees a replaced function inlined beside its caller.
#include "tests/support/counting_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocationCount{0};
std::atomic<size_t> refuseAbove{0};

void* CountedAllocation(size_t size) {
  allocationCount.fetch_add(1, std::memory_order_relaxed);
  const size_t limit = refuseAbove.load(std::memory_order_relaxed);
  if (limit != 0 && size > limit) {
    return nullptr;
  }
  return std::malloc(size == 0 ? 1 : size);
}

void* CountedAllocationOrThrow(size_t size) {
  if (void* memory = CountedAllocation(size)) {
    return memory;
  }
  throw std::bad_alloc();
}

}  // namespace

namespace velmora::testing {

long AllocationCount() {
  return allocationCount.load();
}

void RefuseAllocationsAbove(size_t bytes) {
  refuseAbove.store(bytes);
}

}  // namespace velmora::testing

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
