#include "Spectrum.h"

#include <algorithm>
#include <cmath>

namespace Render
{
void fft (std::vector<std::complex<double>>& a)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i)
    {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap (a[i], a[j]);
    }

    for (size_t len = 2; len <= n; len <<= 1)
    {
        const double angle = -2.0 * M_PI / (double) len;
        const std::complex<double> w (std::cos (angle), std::sin (angle));
        for (size_t i = 0; i < n; i += len)
        {
            std::complex<double> t (1.0, 0.0);
            for (size_t k = 0; k < len / 2; ++k)
            {
                const auto u = a[i + k];
                const auto v = a[i + k + len / 2] * t;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                t *= w;
            }
        }
    }
}

double Spectrum::at (double frequency) const
{
    if (db.empty())
        return -200.0;
    const double x = frequency * size / sampleRate;
    const int k = (int) std::floor (x);
    if (k < 0)
        return db.front();
    if (k + 1 >= (int) db.size())
        return db.back();
    const double f = x - k;
    return db[(size_t) k] * (1.0 - f) + db[(size_t) k + 1] * f;
}

Spectrum averageSpectrum (const float* samples, int numSamples, double sampleRate, int fftSize)
{
    Spectrum s;
    s.sampleRate = sampleRate;
    s.size = fftSize;
    std::vector<double> power ((size_t) fftSize / 2 + 1, 0.0);

    std::vector<double> window ((size_t) fftSize);
    double windowSum = 0.0;
    for (int i = 0; i < fftSize; ++i)
    {
        window[(size_t) i] = 0.5 - 0.5 * std::cos (2.0 * M_PI * i / fftSize);
        windowSum += window[(size_t) i];
    }

    std::vector<std::complex<double>> frame ((size_t) fftSize);
    int frames = 0;
    for (int start = 0; start + fftSize <= std::max (numSamples, fftSize); start += fftSize / 2)
    {
        for (int i = 0; i < fftSize; ++i)
        {
            const int n = start + i;
            frame[(size_t) i] = n < numSamples ? samples[n] * window[(size_t) i] : 0.0;
        }
        fft (frame);
        for (size_t k = 0; k < power.size(); ++k)
            power[k] += std::norm (frame[k]);
        ++frames;
    }

    // A sine of amplitude A gives a peak of A * windowSum / 2.
    const double scale = 2.0 / windowSum;
    s.db.resize (power.size());
    for (size_t k = 0; k < power.size(); ++k)
    {
        const double magnitude = std::sqrt (power[k] / std::max (1, frames)) * scale;
        s.db[k] = 20.0 * std::log10 (magnitude + 1e-12);
    }
    return s;
}

Spectrum transferFunction (const float* response, int numSamples, double sampleRate, double impulseHeight)
{
    int size = 1;
    while (size < numSamples)
        size <<= 1;

    std::vector<std::complex<double>> data ((size_t) size);
    for (int i = 0; i < numSamples; ++i)
        data[(size_t) i] = response[i] / impulseHeight;
    fft (data);

    Spectrum s;
    s.sampleRate = sampleRate;
    s.size = size;
    s.db.resize ((size_t) size / 2 + 1);
    for (size_t k = 0; k < s.db.size(); ++k)
        s.db[k] = 20.0 * std::log10 (std::abs (data[k]) + 1e-12);
    return s;
}

Spectrum smoothOctave (const Spectrum& s, double fraction)
{
    Spectrum out = s;
    const int n = (int) s.db.size();
    std::vector<double> powerPrefix ((size_t) n + 1, 0.0);
    for (int k = 0; k < n; ++k)
        powerPrefix[(size_t) k + 1] = powerPrefix[(size_t) k] + std::pow (10.0, s.db[(size_t) k] / 10.0);

    const double half = std::pow (2.0, fraction / 2.0);
    for (int k = 1; k < n; ++k)
    {
        const int lo = std::max (1, (int) std::floor (k / half));
        const int hi = std::min (n - 1, (int) std::ceil (k * half));
        const double mean = (powerPrefix[(size_t) hi + 1] - powerPrefix[(size_t) lo]) / (hi - lo + 1);
        out.db[(size_t) k] = 10.0 * std::log10 (mean + 1e-24);
    }
    return out;
}
}
