#pragma once

#include "Console.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <vector>

namespace Render
{
// The whole program: parses the arguments, runs the mode they ask for and returns the exit
// code. Every error is one line on the console's error stream.
int runCommandLine (const std::vector<juce::String>& args, Console& console);

// Set from a signal handler to stop a batch; the files in progress are discarded.
std::atomic<bool>& cancelRequested();

// True while a batch runs and can honour cancelRequested.
std::atomic<bool>& cancellable();
}
