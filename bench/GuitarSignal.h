#pragma once

#include <vector>

// A few seconds of guitar-like DI for the benchmarks: plucked strings (single notes, then a
// chord), at a pickup's level of about −18 dBFS RMS.
std::vector<float> makeGuitarSignal (double sampleRate, double seconds);
