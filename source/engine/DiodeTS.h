#pragma once

#include <cmath>

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
        const float a = k * v;

        if (a > 40.0f)
        {
            const double e40 = std::exp (40.0);
            i = ((float) ((double) (a - 39.0f) * e40) - 1.0f) * Is;
            g = (float) ((double) (Is * k) * e40);
        }
        else
        {
            const float e = std::exp (a);
            i = (e - 1.0f) * Is;
            g = (Is * k) * e;
        }

        if (! (v >= 0.0f))
        {
            i = 0.0f;
            g = 0.0f;
        }
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
