#pragma once

#include <vector>

// Guitar-like test signals for the tools and the benchmarks. Plain C++: nothing here depends on
// the framework, the engine or the plug-in.
namespace Signal
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

// Plucked strings (a string loop with a fractional-delay tuning, frequency-dependent losses and
// a triangular pluck), heard through a magnetic pickup (position comb, velocity sensing, the
// resonance of coil and cable). Deterministic: the same rate gives the same samples.
std::vector<float> synthesiseGuitar (const std::vector<Pluck>& plucks, double sampleRate, double seconds);

// Scales a signal to an RMS level in dBFS (a silent signal stays silent).
void scaleToRms (std::vector<float>& signal, double rmsDb);

// The RMS level of a DI from a typical passive pickup into a DI box.
constexpr double pickupRmsDb = -18.0;

// The phrase of the renderer's demo: a short single-note line, then an open E major chord
// strummed down and left to ring.
std::vector<Pluck> demoPhrase();

// The benchmarks' signal: four open strings plucked hard near the bridge a quarter second apart,
// then an E major chord, at the pickup level.
std::vector<float> makeGuitarSignal (double sampleRate, double seconds);
}
