#pragma once

#include <climits>

// Truncation of a stored float toward zero that is defined for every value: out-of-range values
// saturate and a NaN gives 0.
inline int truncateStep (float v) noexcept
{
    if (v != v)
        return 0;
    if (v >= 2147483520.0f)
        return INT_MAX;
    if (v <= -2147483648.0f)
        return INT_MIN;
    return (int) v;
}

// A pot position the engine's grid knows (0..32), and a switch position (0 or 1).
inline int potPosition (float step) noexcept
{
    const int p = truncateStep (step);
    return p < 0 ? 0 : (p > 32 ? 32 : p);
}

inline int switchPosition (float step) noexcept
{
    const int p = truncateStep (step);
    return p < 0 ? 0 : (p > 1 ? 1 : p);
}
