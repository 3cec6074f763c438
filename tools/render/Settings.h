#pragma once

#include "Failure.h"
#include "Options.h"

#include "processor/Processor.h"

#include <optional>
#include <utility>
#include <vector>

namespace Render
{
// Settings checked against the processor, ready to apply to any number of fresh instances.
struct ResolvedSettings
{
    std::optional<juce::MemoryBlock> state;        // loaded first, as a host restores a project
    int program = -1;                              // slot to select next; -1 keeps the state's
    std::vector<std::pair<int, float>> values;     // parameter index, normalised value, in order
};

// Reads the state file (if any) and resolves program and parameter names on a scratch processor.
// Unknown names and bad values are usage errors; an unreadable or invalid state is an input error.
std::optional<Failure> resolveSettings (const ProcessorSettings& settings, ResolvedSettings& resolved);

// State, then program, then the parameter changes. Cannot fail once resolved.
void applySettings (Processor& processor, const ResolvedSettings& settings);

// A program given as its number (1 to 4, as the names count) or its name, with or without the
// number ("4 Fat", "fat"); letter case is ignored. Nothing when no program matches.
std::optional<int> findProgram (Processor& processor, const juce::String& text);

// A parameter by its name, letter case ignored; -1 when there is none.
int findParameter (const Processor& processor, const juce::String& name);

// A normalised value 0..1, or for a switch one of its two label words ("Modded", "high").
std::optional<float> parseParameterValue (const FloatParameter& parameter, const juce::String& text);

// The two label words of a switch parameter (position 0, position 1); empty for the others.
std::pair<juce::String, juce::String> switchWords (unsigned kind);

// One line describing the current program's settings, e.g. "Drive 32 · Tone 16 · Level 16 ...".
juce::String describeSettings (const Processor& processor, const juce::String& separator = " - ");

// The list printed by --list: programs, parameters with their short forms.
juce::String listProgramsAndParameters (Processor& processor);
}
