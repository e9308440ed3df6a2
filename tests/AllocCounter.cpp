// Counts heap allocations for HeapAllocations().

#include "AllocCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_allocations{0};
std::atomic<long long> g_bytes{0};
} // namespace

long HeapAllocations() {
    return g_allocations.load();
}

long long HeapBytesAllocated() {
    return g_bytes.load();
}

void* operator new(std::size_t n) {
    ++g_allocations;
    g_bytes += static_cast<long long>(n);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
