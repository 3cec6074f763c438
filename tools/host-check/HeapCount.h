#pragma once

#include <cstddef>

namespace hostcheck
{
// Counts the heap blocks the calling thread requests from the C allocator (malloc, calloc,
// realloc, the aligned forms) while a HeapCount::Scope is alive on it, whoever asks: this
// program, JUCE, or a plug-in it loaded (the host interposes the allocator for the whole
// process). available() is false where it cannot interpose (not glibc, or a sanitizer's
// allocator).
namespace HeapCount
{
bool available() noexcept;

class Scope
{
public:
    Scope() noexcept;
    ~Scope();
    std::size_t blocks() const noexcept;

private:
    std::size_t start;
};
}
}
