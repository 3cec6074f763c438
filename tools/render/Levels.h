#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace Render
{
// Peak and RMS over every channel of a signal, gathered block by block.
struct Levels
{
    float peak = 0.0f;
    double sumOfSquares = 0.0;
    juce::int64 count = 0;       // samples seen, all channels together
    juce::int64 overFullScale = 0;

    void add (const float* const* channels, int numChannels, int numSamples);
    void add (const juce::AudioBuffer<float>& buffer);

    double rms() const { return count > 0 ? std::sqrt (sumOfSquares / (double) count) : 0.0; }
    double peakDb() const { return toDb (peak); }
    double rmsDb() const { return toDb (rms()); }

    static double toDb (double gain) { return gain > 0.0 ? 20.0 * std::log10 (gain) : -999.0; }
};

// "-18.0 dBFS", or "-inf dBFS" for silence.
juce::String formatDbfs (double db);
}
