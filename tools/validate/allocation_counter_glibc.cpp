// malloc and friends for the whole process, forwarding to glibc's own entry points. Counting
// is a thread-local pointer: zero cost to other threads, and no allocation of its own.
#include <cerrno>
#include <cstddef>

#include "tools/validate/allocation_counter.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void __libc_free(void* pointer);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace velmora::validate {
namespace {

thread_local AllocationCounts* armed = nullptr;

inline void CountAllocation() {
  if (armed != nullptr) {
    ++armed->allocations;
  }
}

}  // namespace

bool AllocationCountingAvailable() {
  return true;
}

CountAllocations::CountAllocations(AllocationCounts& counts) {
  armed = &counts;
}

CountAllocations::~CountAllocations() {
  armed = nullptr;
}

}  // namespace velmora::validate

using velmora::validate::CountAllocation;

extern "C" {

void* malloc(size_t size) {
  CountAllocation();
  return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
  CountAllocation();
  return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
  CountAllocation();
  return __libc_realloc(pointer, size);
}

void free(void* pointer) {
  if (pointer != nullptr && velmora::validate::armed != nullptr) {
    ++velmora::validate::armed->frees;
  }
  __libc_free(pointer);
}

void* memalign(size_t alignment, size_t size) {
  CountAllocation();
  return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
  CountAllocation();
  return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, size_t alignment, size_t size) {
  CountAllocation();
  if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) {
    return EINVAL;
  }
  void* memory = __libc_memalign(alignment, size);
  if (memory == nullptr && size != 0) {
    return ENOMEM;
  }
  *result = memory;
  return 0;
}

}  // extern "C"
