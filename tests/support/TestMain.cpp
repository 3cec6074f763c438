#include <gtest/gtest.h>

#include <juce_events/juce_events.h>

// Every test runs with JUCE initialised once: the message manager exists on the main thread,
// as it does in a host.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juceInit;
    return RUN_ALL_TESTS();
}
