#pragma once

#include <cmath>
#include <vector>

// Small measurements on rendered audio.
namespace Spectrum
{
// Power of one frequency over a signal (Goertzel), with a Hann window.
inline double powerAt (const std::vector<float>& x, double frequency, double rate)
{
    const double w = 2.0 * M_PI * frequency / rate;
    const double coeff = 2.0 * std::cos (w);
    double s1 = 0.0, s2 = 0.0;
    const size_t n = x.size();
    for (size_t i = 0; i < n; ++i)
    {
        const double window = 0.5 - 0.5 * std::cos (2.0 * M_PI * (double) i / (double) (n - 1));
        const double s0 = window * x[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - coeff * s1 * s2;
}

// Total harmonic distortion of a sine of frequency f: harmonics 2..10 against the fundamental.
inline double thd (const std::vector<float>& x, double f, double rate)
{
    const double fundamental = powerAt (x, f, rate);
    double harmonics = 0.0;
    for (int k = 2; k <= 10 && k * f < rate / 2; ++k)
        harmonics += powerAt (x, k * f, rate);
    return std::sqrt (harmonics / fundamental);
}

inline double rms (const std::vector<float>& x)
{
    double sum = 0.0;
    for (float v : x)
        sum += (double) v * v;
    return std::sqrt (sum / (double) x.size());
}
}
