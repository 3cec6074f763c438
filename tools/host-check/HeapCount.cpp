#include "HeapCount.h"

#include <cerrno>

#if defined(__has_feature)
 #if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
  #define VESK_HOST_SANITIZED_HEAP 1
 #endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
 #define VESK_HOST_SANITIZED_HEAP 1
#endif
#if defined(__linux__) && defined(__GLIBC__) && ! defined(VESK_HOST_SANITIZED_HEAP)
 #define VESK_HOST_COUNT_HEAP 1
#endif

namespace
{
thread_local std::size_t blocksRequested = 0;
thread_local int countingScopes = 0;

inline void note() noexcept
{
    if (countingScopes > 0)
        ++blocksRequested;
}
}

namespace hostcheck::HeapCount
{
bool available() noexcept
{
#if VESK_HOST_COUNT_HEAP
    return true;
#else
    return false;
#endif
}

Scope::Scope() noexcept : start (blocksRequested) { ++countingScopes; }
Scope::~Scope() { --countingScopes; }
std::size_t Scope::blocks() const noexcept { return blocksRequested - start; }
}

#if VESK_HOST_COUNT_HEAP
// glibc's allocator under its own names. These definitions are exported from the executable
// (see CMakeLists.txt), so the plug-ins' calls land here too; they count and forward.
extern "C"
{
void* __libc_malloc (std::size_t);
void* __libc_calloc (std::size_t, std::size_t);
void* __libc_realloc (void*, std::size_t);
void* __libc_memalign (std::size_t, std::size_t);

void* malloc (std::size_t size) noexcept
{
    note();
    return __libc_malloc (size);
}

void* calloc (std::size_t n, std::size_t size) noexcept
{
    note();
    return __libc_calloc (n, size);
}

void* realloc (void* block, std::size_t size) noexcept
{
    note();
    return __libc_realloc (block, size);
}

void* memalign (std::size_t alignment, std::size_t size) noexcept
{
    note();
    return __libc_memalign (alignment, size);
}

void* aligned_alloc (std::size_t alignment, std::size_t size) noexcept
{
    note();
    return __libc_memalign (alignment, size);
}

int posix_memalign (void** result, std::size_t alignment, std::size_t size) noexcept
{
    if (alignment % sizeof (void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    note();
    void* block = __libc_memalign (alignment, size);
    if (block == nullptr)
        return ENOMEM;
    *result = block;
    return 0;
}
}
#endif
