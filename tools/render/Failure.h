#pragma once

#include <juce_core/juce_core.h>

namespace Render
{
// Process exit codes. A batch exits with the largest code any of its files produced.
enum ExitCode : int
{
    exitOk = 0,
    exitUsage = 2,      // bad command line: unknown option, bad value, unknown parameter or program
    exitInput = 3,      // an input cannot be used: missing, unreadable, corrupt, unsupported, bad state
    exitOutput = 4,     // an output cannot be written: it exists, the folder is not writable, disk full
    exitCancelled = 130 // interrupted by a signal; nothing partial is left behind
};

// One problem, reported as one line.
struct Failure
{
    int exitCode = exitOk;
    juce::String message;

    static Failure usage (const juce::String& m) { return { exitUsage, m }; }
    static Failure input (const juce::String& m) { return { exitInput, m }; }
    static Failure output (const juce::String& m) { return { exitOutput, m }; }
};
}
