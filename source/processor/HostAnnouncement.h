#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Tells the host binding that every parameter may hold a new value: called after a program
// switch and after a state load, on the thread that made the change.
//
// The framework's layers learn of values in different ways. The VST3 layer keeps the values its
// edit controller reports to the host in a cache that only the parameters' value notices update
// (a program-change notice alone makes the host re-read that stale cache); the LV2 layer sends
// the host a patch:Set message for each value notice; the VST 2 layer asks the host to re-read
// every value (audioMasterUpdateDisplay) on a program-change notice, and would pass value notices
// on as automation (audioMasterAutomate), so it gets the program-change notice only.
void announceNewValues (juce::AudioProcessor& processor);
