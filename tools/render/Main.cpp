#include "App.h"

#include <juce_events/juce_events.h>

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace
{
// The first interrupt during a batch stops it cleanly (temporary files removed); otherwise, or
// at the second one, the default action ends the program.
extern "C" void onSignal (int sig)
{
    std::signal (sig, SIG_DFL);
    if (Render::cancellable().load())
        Render::cancelRequested().store (true);
    else
        std::raise (sig);
}
}

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;

    std::signal (SIGINT, onSignal);
    std::signal (SIGTERM, onSignal);

    std::vector<juce::String> args;
    for (int i = 1; i < argc; ++i)
        args.push_back (juce::String::fromUTF8 (argv[i]));

    Render::Console console { std::cout, std::cerr, ::isatty (STDERR_FILENO) != 0 };
    return Render::runCommandLine (args, console);
}
