#pragma once

#include "JunctionExp.h"

// Junction diode of the clipping stage. `evaluate` gives the current and its derivative for one
// junction voltage; the Newton solve reads `i` and `g` straight after the call.
//
// Law: i = Is·(e^(k·v) − 1) with k = 1/(n·Vt). Above k·v = 40 the exponential is replaced by its
// tangent at 40, which keeps the Newton iteration from overflowing on large steps. The diode
// conducts forwards only: a negative (or NaN) voltage gives no current and no conductance.
//
// The two diode types of the pedal differ only in their emission coefficient.
struct ClippingDiode
{
    static constexpr float tangentLimit = 40.0f;

    float Vt = 0.0258f;  // thermal voltage, V
    float n;             // emission coefficient
    float Is = 2.52e-9f; // saturation current, A
    float k;             // 1/(n·Vt), from the two above (declared before it)
    float i = 0.0f;      // current of the last evaluation
    float g = 0.0f;      // conductance di/dv of the last evaluation

    explicit ClippingDiode (float emission) noexcept
        : n (emission), k (1.0f / (n * Vt))
    {
    }

    void evaluate (float v) noexcept
    {
        if (! (v >= 0.0f))
        {
            i = 0.0f;
            g = 0.0f;
            return;
        }

        const float a = k * v;
        if (a > tangentLimit)
        {
            tangent (a, i, g);
        }
        else
        {
            const float e = junctionExp (a);
            i = (e - 1.0f) * Is;
            g = (Is * k) * e;
        }
    }

    // Current and conductance on the tangent, for a = k·v above the limit (formed in double).
    void tangent (float a, float& current, float& conductance) const noexcept
    {
        constexpr double e40 = 0x1.a220d397972ebp+57; // e^40, the double nearest to it
        current = ((float) ((double) (a - 39.0f) * e40) - 1.0f) * Is;
        conductance = (float) ((double) (Is * k) * e40);
    }
};

struct DiodeTS : ClippingDiode
{
    DiodeTS() noexcept : ClippingDiode (1.7423f) {}
};

struct DiodeTS_A : ClippingDiode
{
    DiodeTS_A() noexcept : ClippingDiode (1.79f) {}
};
