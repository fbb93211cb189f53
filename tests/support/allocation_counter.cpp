// Global operator new and delete, the over-aligned forms too, replaced by counting wrappers
// around malloc, aligned_alloc and free.
#include "tests/support/allocation_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> allocations{0};
std::atomic<std::size_t> largest{0};
// Bytes held (as malloc_usable_size counts them) and the most held since the last reset.
std::atomic<std::size_t> held{0};
std::atomic<std::size_t> peakHeld{0};

void raiseTo(std::atomic<std::size_t>& mark, std::size_t value) {
    std::size_t seen = mark.load(std::memory_order_relaxed);
    while (value > seen && !mark.compare_exchange_weak(seen, value, std::memory_order_relaxed)) {
    }
}

// An alignment of 0 asks for malloc's own.
void* countedAllocation(std::size_t size, std::size_t alignment = 0) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    raiseTo(largest, size);
    void* memory = nullptr;
    if (alignment == 0) {
        memory = std::malloc(size == 0 ? 1 : size);
    } else if (size <= SIZE_MAX - alignment) {
        // aligned_alloc wants a size that is a whole, non-zero number of alignments.
        const std::size_t alignments = size == 0 ? 1 : (size + alignment - 1) / alignment;
        memory = std::aligned_alloc(alignment, alignments * alignment);
    }
    if (memory != nullptr) {
        raiseTo(peakHeld, held.fetch_add(malloc_usable_size(memory), std::memory_order_relaxed) +
                              malloc_usable_size(memory));
    }
    return memory;
}

void countedFree(void* memory) noexcept {
    if (memory != nullptr) held.fetch_sub(malloc_usable_size(memory), std::memory_order_relaxed);
    std::free(memory);
}

void* countedOrThrow(std::size_t size, std::size_t alignment = 0) {
    if (void* memory = countedAllocation(size, alignment)) return memory;
    throw std::bad_alloc();
}

std::size_t bytesOf(std::align_val_t alignment) {
    return static_cast<std::size_t>(alignment);
}

}  // namespace

namespace vorel::test_support {

std::size_t allocationCount() {
    return allocations.load(std::memory_order_relaxed);
}

std::size_t largestAllocation() {
    return largest.load(std::memory_order_relaxed);
}

void resetLargestAllocation() {
    largest.store(0, std::memory_order_relaxed);
}

std::size_t heldBytes() {
    return held.load(std::memory_order_relaxed);
}

std::size_t peakHeldBytes() {
    return peakHeld.load(std::memory_order_relaxed);
}

void resetPeakHeldBytes() {
    peakHeld.store(held.load(std::memory_order_relaxed), std::memory_order_relaxed);
}

}  // namespace vorel::test_support

void* operator new(std::size_t size) {
    return countedOrThrow(size);
}
void* operator new[](std::size_t size) {
    return countedOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocation(size);
}
void operator delete(void* memory) noexcept {
    countedFree(memory);
}
void operator delete[](void* memory) noexcept {
    countedFree(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    countedFree(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    countedFree(memory);
}

void* operator new(std::size_t size, std::align_val_t alignment) {
    return countedOrThrow(size, bytesOf(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return countedOrThrow(size, bytesOf(alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return countedAllocation(size, bytesOf(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return countedAllocation(size, bytesOf(alignment));
}
void operator delete(void* memory, std::align_val_t) noexcept {
    countedFree(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    countedFree(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    countedFree(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    countedFree(memory);
}
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    countedFree(memory);
}
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    countedFree(memory);
}
