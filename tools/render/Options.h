#pragma once

#include "Failure.h"

#include <juce_core/juce_core.h>

#include <optional>
#include <vector>

namespace Render
{
// One parameter change asked for on the command line, not yet checked against the processor.
struct ParameterChange
{
    juce::String name;     // a parameter name ("TS Drive") as given
    juce::String value;    // the value text as given ("0.75", "Modded")
    juce::String option;   // the option it came from, for messages ("--set", "--drive")
};

// Everything that decides how the processor is set up: state, then program, then changes.
struct ProcessorSettings
{
    juce::String stateFile;                  // a saved state block to load first
    juce::String program;                    // number or name; empty keeps the loaded one
    std::vector<ParameterChange> changes;    // applied in command-line order
};

struct Options
{
    enum class Mode
    {
        render,     // process the input files
        demo,       // no input: synthesise a DI and render it through the factory programs
        response,   // measure and plot the small-signal frequency response
        list,       // print the programs and parameters
        help,
        version
    };

    Mode mode = Mode::demo;
    std::vector<juce::String> inputs;
    juce::String output;                // file or folder; empty for the default
    ProcessorSettings settings;
    juce::String saveStateFile;

    int blockSize = 512;
    int bitsPerSample = 32;             // 32 (float), 24 or 16 (integer)
    bool bitsGiven = false;             // without --bits each format has its own default
    juce::String outputExtension = "wav";   // of the output names made up for the inputs: wav or flac
    int jobs = 0;                       // 0: one per core
    double sampleRate = 48000.0;        // for the demo and the response only
    bool sampleRateGiven = false;
    bool monoToStereo = false;
    bool keepLatency = false;
    bool force = false;
    bool quiet = false;
};

struct ParseResult
{
    Options options;
    std::optional<Failure> failure;
};

// Reads the arguments (without the program name). Only the syntax is checked here; parameter
// and program names are resolved against the processor later.
ParseResult parseArguments (const std::vector<juce::String>& args);

// Reads a decimal number that fills the whole text; nothing for anything else.
std::optional<double> parseNumber (const juce::String& text);
}
