#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_graphics/juce_graphics.h>

#include <vector>

namespace Render
{
// One rendered program, as the demo picture shows it.
struct DemoTrace
{
    int slot = 0;                     // selects the colour
    juce::String programName;
    juce::String settings;            // one line, e.g. "Drive 32 · Tone 16 · Level 16 ..."
    juce::AudioBuffer<float> output;  // channel 0 is drawn
};

// The demo picture: a header describing the input, then one row per program with the input and
// output waveforms, a close-up of a few cycles (of `zoomWhat`, e.g. "the held A3"), and both spectra on a log-frequency
// axis.
juce::Image drawDemoPicture (const juce::AudioBuffer<float>& input, double sampleRate, const std::vector<DemoTrace>& traces,
                             double zoomStartSeconds, const juce::String& zoomWhat);
}
