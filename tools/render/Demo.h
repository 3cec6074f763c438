#pragma once

#include "Console.h"
#include "Options.h"
#include "Settings.h"

#include <juce_audio_basics/juce_audio_basics.h>

namespace Render
{
// File names of the demo, inside its folder.
constexpr const char* demoInputName = "di.wav";
constexpr const char* demoPictureName = "vesk-demo.png";

// Length of the demo DI, in seconds.
constexpr double demoSeconds = 6.0;

// The RMS level the demo DI is scaled to.
constexpr double demoRmsDb = -18.0;

// The demo DI: the demo phrase of plucked strings, scaled to the demo RMS level. The same rate
// gives the same samples.
juce::AudioBuffer<float> synthesiseDemoDI (double sampleRate);

// "4 Fat" -> "4-fat.wav".
juce::String demoFileName (const juce::String& programName);

// The embedded demo: synthesises the DI, renders it through every factory program (or only the
// one chosen with --program) in parallel, writes the WAVs and the picture, and says where.
int runDemo (const Options& options, const ResolvedSettings& settings, Console& console);

// --response: measures the tone sweep for the settings and writes the picture.
int runResponse (const Options& options, const ResolvedSettings& settings, Console& console);
}
