#include "allocationCount.h"

#include <atomic>
#include <cstddef>

namespace {
std::atomic<unsigned long> allocations{0};
}

#if !defined(__SANITIZE_ADDRESS__)
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* old, size_t size);
extern "C" void* malloc(size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* old, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(old, size);
}
#endif

namespace allocation_count {

bool counting() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#else
    return true;
#endif
}

unsigned long now() { return allocations.load(std::memory_order_relaxed); }

}  // namespace allocation_count
