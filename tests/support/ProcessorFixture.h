#pragma once

#include "processor/Processor.h"

#include <memory>
#include <vector>

// Helpers for tests that drive a Processor as a host would.
namespace ProcessorFixture
{
inline std::unique_ptr<Processor> makePrepared (int inputs, int outputs, double rate, int blockSize = 512)
{
    auto p = std::make_unique<Processor>();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (inputs));
    layout.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (outputs));
    p->setBusesLayout (layout);
    p->prepareToPlay (rate, blockSize);
    return p;
}

inline juce::MemoryBlock stateOf (Processor& p)
{
    juce::MemoryBlock block;
    p.getStateInformation (block);
    return block;
}

inline std::string textOf (const juce::MemoryBlock& block)
{
    if (block.getSize() < 9)
        return {};
    return std::string (static_cast<const char*> (block.getData()) + 8, block.getSize() - 9);
}

// Runs `blocks` blocks of silence, so that the audio side takes up the newest settings.
inline void runSilence (Processor& p, int blocks, int blockSize = 16)
{
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    for (int b = 0; b < blocks; ++b)
    {
        buffer.clear();
        p.processBlock (buffer, midi);
    }
}

// Runs a whole signal through the processor in blocks of `blockSize`, in place.
inline void run (Processor& p, juce::AudioBuffer<float>& signal, int blockSize)
{
    juce::MidiBuffer midi;
    for (int start = 0; start < signal.getNumSamples(); start += blockSize)
    {
        const int n = juce::jmin (blockSize, signal.getNumSamples() - start);
        juce::AudioBuffer<float> view (signal.getArrayOfWritePointers(), signal.getNumChannels(), start, n);
        p.processBlock (view, midi);
    }
}
}
