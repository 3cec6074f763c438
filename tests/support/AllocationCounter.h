#pragma once

#include <atomic>
#include <cstddef>

// Counts heap allocations made through the global operator new of the test binary, per thread,
// so a test can assert that a piece of code allocates nothing.
namespace AllocationCounter
{
// Allocations made by the calling thread so far.
std::size_t count() noexcept;

// Heap blocks the calling thread has requested from the C allocator so far (malloc, calloc,
// realloc and the aligned forms), whoever asked: operator new and Eigen's matrix storage alike.
// Counted only where the test binary can interpose the allocator (glibc, no sanitizer);
// heapCountAvailable() tells.
std::size_t heapCount() noexcept;
bool heapCountAvailable() noexcept;

// Counts the calling thread's allocations during its lifetime.
class Scope
{
public:
    Scope() noexcept : start (count()), heapStart (heapCount()) {}
    std::size_t allocations() const noexcept { return count() - start; }
    std::size_t heapAllocations() const noexcept { return heapCount() - heapStart; }

private:
    std::size_t start;
    std::size_t heapStart;
};
}
