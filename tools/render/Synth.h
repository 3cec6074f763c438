#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

namespace Render
{
// One plucked string.
struct Pluck
{
    double start;          // seconds
    double frequency;      // Hz
    double velocity;       // 0..1
    double duration;       // seconds until the string is damped
    double pickPosition;   // fraction of the string length from the bridge
};

// The phrase of the demo DI: a short single-note line, then an open E major chord strummed down
// and left to ring.
std::vector<Pluck> demoPhrase();

// Length of the demo DI, in seconds.
constexpr double demoSeconds = 6.0;

// The RMS level the demo DI is scaled to, a typical passive pickup into a DI box.
constexpr double demoRmsDb = -18.0;

// Plucked strings (a string loop with a fractional-delay tuning, frequency-dependent losses and
// a triangular pluck), heard through a magnetic pickup (position comb, velocity sensing, the
// resonance of coil and cable). Deterministic: the same rate gives the same samples.
juce::AudioBuffer<float> synthesiseGuitar (const std::vector<Pluck>& plucks, double sampleRate, double seconds);

// The demo DI: the phrase scaled to the demo RMS level.
juce::AudioBuffer<float> synthesiseDemoDI (double sampleRate);
}
