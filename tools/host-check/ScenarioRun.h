#pragma once

#include "Scenario.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <algorithm>

namespace hostcheck
{
// Plays a scenario's test signal through a prepared processor in the scenario's block sizes and
// returns what comes out of each output channel. The host and the in-process reference both use
// it, so they process exactly the same buffers; `width` is the buffer's channel count.
// `setParameter (index, value)` makes the scenario's moves the way the caller's host does.
template <class SetParameter>
std::vector<std::vector<float>> playScenario (juce::AudioProcessor& p, const Scenario& s, int width, SetParameter&& setParameter)
{
    std::vector<std::vector<float>> inputs;
    for (int c = 0; c < s.inputs; ++c)
        inputs.push_back (testSignal (s, c));

    std::vector<std::vector<float>> out ((size_t) s.outputs, std::vector<float> ((size_t) s.totalSamples));
    int maxBlock = 0;
    for (int b : s.blocks)
        maxBlock = juce::jmax (maxBlock, b);
    juce::AudioBuffer<float> buffer (width, maxBlock);
    juce::MidiBuffer midi;

    size_t blockIndex = 0;
    for (int start = 0; start < s.totalSamples; ++blockIndex)
    {
        const int n = juce::jmin (s.blockSize (blockIndex), s.totalSamples - start);
        buffer.setSize (width, n, false, false, true);
        buffer.clear();
        for (int c = 0; c < s.inputs; ++c)
            buffer.copyFrom (c, 0, inputs[(size_t) c].data() + start, n);
        midi.clear();
        for (auto& m : s.moves)
            if (m.block == (int) blockIndex)
                setParameter (m.parameter, m.value);
        if (s.bypass)
            p.processBlockBypassed (buffer, midi);
        else
            p.processBlock (buffer, midi);
        for (int c = 0; c < s.outputs; ++c)
            std::copy (buffer.getReadPointer (c), buffer.getReadPointer (c) + n, out[(size_t) c].data() + start);
        start += n;
    }
    return out;
}
}
