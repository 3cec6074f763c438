#pragma once

#include "models/PotGrid.h"

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

// A pot position on the knob grid, and a switch position (0 or 1).
inline int potPosition (float step) noexcept
{
    return PotGrid::clampPosition (truncateStep (step));
}

inline int switchPosition (float step) noexcept
{
    const int p = truncateStep (step);
    return p < 0 ? 0 : (p > 1 ? 1 : p);
}
