#pragma once

#include <atomic>
#include <cstddef>

// Counts heap allocations made through the global operator new of the test binary, per thread,
// so a test can assert that a piece of code allocates nothing.
namespace AllocationCounter
{
// Allocations made by the calling thread so far.
std::size_t count() noexcept;

// Counts the calling thread's allocations during its lifetime.
class Scope
{
public:
    Scope() noexcept : start (count()) {}
    std::size_t allocations() const noexcept { return count() - start; }

private:
    std::size_t start;
};
}
