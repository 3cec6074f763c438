#pragma once

#include <vector>

namespace Render
{
// A magnitude spectrum on the FFT's bins: bin k is at k * sampleRate / size.
struct Spectrum
{
    double sampleRate = 0.0;
    int size = 0;                  // FFT size
    std::vector<double> db;        // size / 2 + 1 values

    double binFrequency (int k) const { return (double) k * sampleRate / size; }

    // The value at a frequency, interpolated between bins.
    double at (double frequency) const;
};

// Long-term average spectrum (Hann windows, half overlap, power averaged) in dBFS: a full-scale
// sine reads 0 dB.
Spectrum averageSpectrum (const float* samples, int numSamples, double sampleRate, int fftSize = 8192);

// The spectrum of an impulse response, in dB relative to an impulse of the given height.
Spectrum transferFunction (const float* response, int numSamples, double sampleRate, double impulseHeight);

// Smooths over a fraction of an octave (1/24 gives a readable curve that keeps the resonances).
Spectrum smoothOctave (const Spectrum& s, double fraction);
}
