#include "Spectrum.h"

#include <juce_dsp/juce_dsp.h>

#include <algorithm>
#include <cmath>

namespace Render
{
namespace
{
// The framework's real FFT of `size` samples (a power of two), with its working buffer.
class RealFft
{
public:
    explicit RealFft (int size) : fft (juce::roundToInt (std::log2 (size))), data ((size_t) size * 2) {}

    float* input() { return data.data(); }

    // Transforms the input in place; bin k is then (re, im) = (data[2k], data[2k + 1]).
    void forward()
    {
        std::fill (data.begin() + fft.getSize(), data.end(), 0.0f);
        fft.performRealOnlyForwardTransform (data.data(), true);
    }

    double power (size_t k) const { return (double) data[2 * k] * data[2 * k] + (double) data[2 * k + 1] * data[2 * k + 1]; }

private:
    juce::dsp::FFT fft;
    std::vector<float> data;
};
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

    RealFft fft (fftSize);
    int frames = 0;
    for (int start = 0; start + fftSize <= std::max (numSamples, fftSize); start += fftSize / 2)
    {
        auto* frame = fft.input();
        for (int i = 0; i < fftSize; ++i)
        {
            const int n = start + i;
            frame[i] = n < numSamples ? (float) (samples[n] * window[(size_t) i]) : 0.0f;
        }
        fft.forward();
        for (size_t k = 0; k < power.size(); ++k)
            power[k] += fft.power (k);
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

    RealFft fft (size);
    auto* data = fft.input();
    for (int i = 0; i < size; ++i)
        data[i] = i < numSamples ? (float) (response[i] / impulseHeight) : 0.0f;
    fft.forward();

    Spectrum s;
    s.sampleRate = sampleRate;
    s.size = size;
    s.db.resize ((size_t) size / 2 + 1);
    for (size_t k = 0; k < s.db.size(); ++k)
        s.db[k] = 20.0 * std::log10 (std::sqrt (fft.power (k)) + 1e-12);
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
