#include "core/base/ProcessMemory.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace tovarin {
namespace {

// Linux's transparent large pages are 2 MiB; a block of two or more of them
// gets its own, aligned to one, so that every one of its pages can be large.
constexpr size_t kLargePage = size_t{2} << 20;
constexpr size_t kLargeBlock = 2 * kLargePage;

std::atomic<bool> largePages{false};

// Every block comes from malloc or aligned_alloc, so free returns any.
void* Allocate(size_t bytes) {
    if (bytes < kLargeBlock || !largePages.load(std::memory_order_relaxed)) {
        return std::malloc(bytes == 0 ? 1 : bytes);
    }
    const size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    void* block = std::aligned_alloc(kLargePage, rounded);
    if (block != nullptr) {
        // Only advice: a system without large pages gives small ones.
        madvise(block, rounded, MADV_HUGEPAGE);
    }
    return block;
}

}  // namespace

void PrepareProcessMemory() { largePages = true; }

}  // namespace tovarin

// The program's operator new and delete, through Allocate; a failure asks
// the new-handler as the standard one does.
void* operator new(size_t bytes) {
    for (;;) {
        if (void* block = tovarin::Allocate(bytes)) {
            return block;
        }
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) {
            throw std::bad_alloc();
        }
        handler();
    }
}

void* operator new[](size_t bytes) { return operator new(bytes); }
// The nothrow forms too (std::stable_sort's buffer uses them): a sanitizer
// provides its own otherwise, whose blocks the delete above cannot free.
void* operator new(size_t bytes, const std::nothrow_t& /*tag*/) noexcept {
    try {
        return operator new(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](size_t bytes, const std::nothrow_t& tag) noexcept {
    return operator new(bytes, tag);
}
void operator delete(void* block, const std::nothrow_t& /*tag*/) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t& /*tag*/) noexcept { std::free(block); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t /*bytes*/) noexcept { std::free(block); }
void operator delete[](void* block, size_t /*bytes*/) noexcept { std::free(block); }
