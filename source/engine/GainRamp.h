#pragma once

// One step of a gain towards its target: at most `step` per base-rate sample, landing exactly on
// the target once it is within reach. All in double precision.
inline double rampTowards (double current, double target, double step) noexcept
{
    if (current == target)
        return current;
    if (target > current + step)
        return current + step;
    if (target < current - step)
        return current - step;
    return target;
}
