#pragma once

#include "FilterStorage.h"
#include "PrototypeFilters.h"

#include <cstdint>

// Polyphase FIR interpolator by R built from the 16 R-tap prototype. push() stores one host-rate
// sample; next(), called exactly R times after each push, returns the R model-rate samples that
// belong to it: the j-th is R·Σ_{m<16} h[j + R·m]·x[n − m] (zero stuffing followed by the
// prototype, gain R to keep unity pass-band gain).
//
// The history is a circular buffer of the last 16 inputs. Row j + R·m of the coefficient table
// holds phase j's taps rotated to line up with the buffer when the newest sample sits at index
// (m + 15) mod 16, so every output is one contiguous dot product of the buffer in storage order.
template <int R>
class Interpolator
{
public:
    static_assert (R == 2 || R == 4 || R == 8 || R == 16, "supported ratios are 2, 4, 8 and 16");

    static constexpr int ratio = R;
    static constexpr int taps = 16;          // per phase
    static constexpr int rows = 16 * R;

    Interpolator()
    {
        const float* h = prototypeFilter (R);
        float* table = coefficients.get();
        for (int j = 0; j < R; ++j)
        {
            float t[taps];
            for (int m = 0; m < taps; ++m)
                t[m] = (float) R * h[j + R * m];
            for (int m = 0; m < taps; ++m)
                for (int c = 0; c < taps; ++c)
                    table[(j + R * m) * taps + c] = t[(m + taps - 1 - c) % taps];
        }
    }

    [[gnu::always_inline]] void push (float x) noexcept
    {
        history[writeIndex] = x;
        writeIndex = (std::uint16_t) ((writeIndex + 1) & (taps - 1));
    }

    [[gnu::always_inline]] float next() noexcept
    {
        row = (std::uint16_t) ((row + 1) & (rows - 1));
        return filter_detail::dotProduct<taps> (coefficients.get() + row * taps, history);
    }

    // Forgets the stored input (used to recover after non-finite samples); the counters keep
    // their phase.
    void clear() noexcept
    {
        for (auto& v : history)
            v = 0.0f;
    }

    // Takes over another interpolator's history and phase (not its table, which is the same).
    void copyStateFrom (const Interpolator& o) noexcept
    {
        writeIndex = o.writeIndex;
        row = o.row;
        for (int k = 0; k < taps; ++k)
            history[k] = o.history[k];
    }

    const float* coefficientRow (int r) const noexcept { return coefficients.get() + r * taps; }

    std::uint16_t writeIndex = taps - 1;     // modulo 16
    std::uint16_t row = rows - 1;            // modulo 16 R
    alignas (16) float history[taps] = {};
    filter_detail::AlignedTable<rows * taps> coefficients;
};
