#pragma once

#include "FilterStorage.h"
#include "PrototypeFilters.h"

#include <cstdint>

// FIR decimator by R with the full 16 R-tap prototype. push() stores one model-rate sample;
// output(), called after every R-th push, returns Σ_{k<N} h[k]·y[t − k] at the newest sample t.
//
// The history is a circular buffer of the last N = 16 R samples. Row r of the N × N coefficient
// table holds the taps rotated to line up with the buffer when the newest sample sits at index
// (r + N − 1) mod N, so the output is one contiguous dot product of the buffer in storage order.
template <int R>
class Decimator
{
public:
    static_assert (R == 2 || R == 4 || R == 8 || R == 16, "supported ratios are 2, 4, 8 and 16");

    static constexpr int ratio = R;
    static constexpr int length = 16 * R;

    Decimator()
    {
        const float* h = prototypeFilter (R);
        float* table = coefficients.get();
        for (int r = 0; r < length; ++r)
            for (int c = 0; c < length; ++c)
                table[r * length + c] = h[(r + length - 1 - c) % length];
    }

    [[gnu::always_inline]] void push (float y) noexcept
    {
        history[writeIndex] = y;
        writeIndex = (std::uint16_t) ((writeIndex + 1) & (length - 1));
        row = (std::uint16_t) ((row + 1) & (length - 1));
    }

    [[gnu::always_inline]] float output() const noexcept
    {
        return filter_detail::dotProduct<length> (coefficients.get() + row * length, history);
    }

    // Forgets the stored input (used to recover after non-finite samples); the counters keep
    // their phase.
    void clear() noexcept
    {
        for (auto& v : history)
            v = 0.0f;
    }

    // Takes over another decimator's history and phase (not its table, which is the same).
    void copyStateFrom (const Decimator& o) noexcept
    {
        writeIndex = o.writeIndex;
        row = o.row;
        for (int k = 0; k < length; ++k)
            history[k] = o.history[k];
    }

    const float* coefficientRow (int r) const noexcept { return coefficients.get() + r * length; }

    std::uint16_t writeIndex = length - 1;   // modulo N
    std::uint16_t row = length - 1;          // modulo N
    alignas (16) float history[length] = {};
    filter_detail::AlignedTable<length * length> coefficients;
};
