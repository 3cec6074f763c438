#pragma once

#include <cstddef>
#include <cstring>
#include <new>

// Heap storage and the inner product shared by the oversampling filters.
namespace filter_detail
{
constexpr std::size_t tableAlignment = 64;

// A fixed-size float table, 64-byte aligned, allocated once at construction and zero-filled.
template <int Size>
class AlignedTable
{
public:
    AlignedTable()
        : data (static_cast<float*> (::operator new (bytes, std::align_val_t { tableAlignment })))
    {
        std::memset (data, 0, bytes);
    }

    AlignedTable (const AlignedTable& other) : AlignedTable() { std::memcpy (data, other.data, bytes); }

    AlignedTable& operator= (const AlignedTable& other) noexcept
    {
        if (this != &other)
            std::memcpy (data, other.data, bytes);
        return *this;
    }

    ~AlignedTable() { ::operator delete (data, std::align_val_t { tableAlignment }); }

    float* get() noexcept { return data; }
    const float* get() const noexcept { return data; }

private:
    static constexpr std::size_t bytes = sizeof (float) * (std::size_t) Size;
    float* data;
};

// Σ a[i]·b[i] for i < Length (a multiple of 16), a 64-byte aligned and b 16-byte aligned. Sixteen
// independent partial sums (four SSE registers) are accumulated and then folded pairwise, so the
// compiler vectorises the loop without having to reassociate a serial sum. Always inlined: as a
// call inside the per-sample loop it costs more than its work.
template <int Length>
[[gnu::always_inline]] inline float dotProduct (const float* __restrict a, const float* __restrict b) noexcept
{
    static_assert (Length > 0 && Length % 16 == 0, "length must be a multiple of 16");
    const float* x = static_cast<const float*> (__builtin_assume_aligned (a, 64));
    const float* y = static_cast<const float*> (__builtin_assume_aligned (b, 16));

    float acc[16] = {};
    for (int i = 0; i < Length; i += 16)
#if defined(__GNUC__)
#pragma GCC unroll 16
#endif
        for (int lane = 0; lane < 16; ++lane)
            acc[lane] += x[i + lane] * y[i + lane];

    for (int lane = 0; lane < 8; ++lane) acc[lane] += acc[lane + 8];
    for (int lane = 0; lane < 4; ++lane) acc[lane] += acc[lane + 4];
    return (acc[0] + acc[2]) + (acc[1] + acc[3]);
}
} // namespace filter_detail
