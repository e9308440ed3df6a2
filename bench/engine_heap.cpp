// Heap bytes in use and their peak, counted by replacing the global operator new and delete,
// so that a benchmark can report the peak memory of what it measures.

#include <atomic>
#include <cstdlib>
#include <new>

#include <malloc.h>

#include "engine_heap.h"

namespace {
std::atomic<long long> inUse{0};
std::atomic<long long> peak{0};

void* Take(std::size_t n) {
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) throw std::bad_alloc();
    const long long now =
        inUse.fetch_add(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed) +
        static_cast<long long>(malloc_usable_size(p));
    long long old = peak.load(std::memory_order_relaxed);
    while (now > old && !peak.compare_exchange_weak(old, now, std::memory_order_relaxed)) {
    }
    return p;
}

void Give(void* p) noexcept {
    if (p == nullptr) return;
    inUse.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
    std::free(p);
}
} // namespace

void* operator new(std::size_t n) {
    return Take(n);
}
void* operator new[](std::size_t n) {
    return Take(n);
}
void operator delete(void* p) noexcept {
    Give(p);
}
void operator delete[](void* p) noexcept {
    Give(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Give(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Give(p);
}

void HeapPeakReset() {
    peak.store(inUse.load());
}
long long HeapInUse() {
    return inUse.load();
}
long long HeapPeak() {
    return peak.load();
}
