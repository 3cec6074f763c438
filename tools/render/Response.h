#pragma once

#include "Settings.h"
#include "Spectrum.h"

#include <juce_graphics/juce_graphics.h>

#include <vector>

namespace Render
{
// The small-signal frequency response for one tone position, measured through the processor.
struct ResponseCurve
{
    float tone = 0.0f;           // normalised
    juce::String toneLabel;      // the parameter's step label, e.g. "[16]"
    Spectrum response;           // dB, output over input
    double peakDb = 0.0, peakHz = 0.0;
};

// Height of the measuring impulse: far below the level where the diodes conduct.
constexpr double responseImpulse = 1.0e-4;

// The tone positions of the sweep.
std::vector<float> toneSweep();

// Runs an impulse through a fresh processor per tone position, with the given settings and the
// tone set last, and takes the spectrum of what comes out.
std::vector<ResponseCurve> measureResponse (const ResolvedSettings& settings, double sampleRate, int blockSize,
                                            const std::vector<float>& tones);

// The response picture: one curve per tone position on a log-frequency axis.
juce::Image drawResponsePicture (const std::vector<ResponseCurve>& curves, const juce::String& title, const juce::String& subtitle);
}
