// Counts every heap allocation of the process, operator new's included, by
// standing in for the C allocator's entry points (glibc). Linked into the
// programs that hold a lookup to its promise of no allocation.
#include "tests/support/heap_counting.h"

#include <atomic>
#include <cstddef>

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* __libc_memalign(size_t, size_t);
extern "C" void __libc_free(void*);

namespace {
std::atomic<long> heapAllocations{0};
}

long navo::testing::HeapAllocations() { return heapAllocations.load(); }

// Every allocation of the process, operator new's included, passes here.
extern "C" void* malloc(size_t size) {
  heapAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
  heapAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, size_t size) {
  heapAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(pointer, size);
}
extern "C" void* memalign(size_t alignment, size_t size) {
  heapAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_memalign(alignment, size);
}
extern "C" int posix_memalign(void** pointer, size_t alignment, size_t size) {
  heapAllocations.fetch_add(1, std::memory_order_relaxed);
  *pointer = __libc_memalign(alignment, size);
  return *pointer ? 0 : 12;  // ENOMEM
}
extern "C" void* aligned_alloc(size_t alignment, size_t size) {
  return memalign(alignment, size);
}
extern "C" void free(void* pointer) { __libc_free(pointer); }
