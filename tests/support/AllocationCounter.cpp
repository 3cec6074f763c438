#include "AllocationCounter.h"

#include <cerrno>
#ifdef _WIN32
 #include <malloc.h>
#endif
#include <cstdlib>
#include <new>

#if defined(__has_feature)
 #if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
  #define VESK_SANITIZED_HEAP 1
 #endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
 #define VESK_SANITIZED_HEAP 1
#endif

#if defined(__GLIBC__) && ! defined(VESK_SANITIZED_HEAP)
 #define VESK_COUNT_HEAP 1
#endif

namespace
{
thread_local std::size_t threadAllocations = 0;
thread_local std::size_t threadHeapBlocks = 0;

void* allocate (std::size_t size)
{
    ++threadAllocations;
    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void* allocateAligned (std::size_t size, std::size_t alignment)
{
    ++threadAllocations;
    void* p = nullptr;
#ifdef _WIN32
    // The Windows C library has no posix_memalign; its aligned blocks need their own free.
    if ((p = _aligned_malloc (size == 0 ? 1 : size, alignment < sizeof (void*) ? sizeof (void*) : alignment)) == nullptr)
#else
    if (posix_memalign (&p, alignment < sizeof (void*) ? sizeof (void*) : alignment, size == 0 ? 1 : size) != 0)
#endif
        throw std::bad_alloc();
    return p;
}

void freeAligned (void* p) noexcept
{
#ifdef _WIN32
    _aligned_free (p);
#else
    std::free (p);
#endif
}
}

std::size_t AllocationCounter::count() noexcept { return threadAllocations; }
std::size_t AllocationCounter::heapCount() noexcept { return threadHeapBlocks; }

bool AllocationCounter::heapCountAvailable() noexcept
{
#if VESK_COUNT_HEAP
    return true;
#else
    return false;
#endif
}

#if VESK_COUNT_HEAP
// glibc's allocator under its own names. The definitions below interpose the public entry points
// for the whole process; they only count and forward.
extern "C"
{
void* __libc_malloc (std::size_t);
void* __libc_calloc (std::size_t, std::size_t);
void* __libc_realloc (void*, std::size_t);
void* __libc_memalign (std::size_t, std::size_t);

void* malloc (std::size_t size) noexcept
{
    ++threadHeapBlocks;
    return __libc_malloc (size);
}

void* calloc (std::size_t n, std::size_t size) noexcept
{
    ++threadHeapBlocks;
    return __libc_calloc (n, size);
}

void* realloc (void* block, std::size_t size) noexcept
{
    ++threadHeapBlocks;
    return __libc_realloc (block, size);
}

void* memalign (std::size_t alignment, std::size_t size) noexcept
{
    ++threadHeapBlocks;
    return __libc_memalign (alignment, size);
}

void* aligned_alloc (std::size_t alignment, std::size_t size) noexcept
{
    ++threadHeapBlocks;
    return __libc_memalign (alignment, size);
}

int posix_memalign (void** result, std::size_t alignment, std::size_t size) noexcept
{
    if (alignment % sizeof (void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;

    ++threadHeapBlocks;
    void* block = __libc_memalign (alignment, size);
    if (block == nullptr)
        return ENOMEM;

    *result = block;
    return 0;
}
}
#endif

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    ++threadAllocations;
    return std::malloc (size == 0 ? 1 : size);
}
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    ++threadAllocations;
    return std::malloc (size == 0 ? 1 : size);
}
void* operator new (std::size_t size, std::align_val_t a) { return allocateAligned (size, (std::size_t) a); }
void* operator new[] (std::size_t size, std::align_val_t a) { return allocateAligned (size, (std::size_t) a); }

void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
void operator delete (void* p, std::align_val_t) noexcept { freeAligned (p); }
void operator delete[] (void* p, std::align_val_t) noexcept { freeAligned (p); }
void operator delete (void* p, std::size_t, std::align_val_t) noexcept { freeAligned (p); }
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept { freeAligned (p); }
