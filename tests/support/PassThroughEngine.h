#pragma once

#include "engine/CircuitEngineBase.h"
#include "engine/PassThroughModel.h"

#include <vector>

// The engine with a wire for a circuit, gains at unity: what comes out is the filters and the
// routing alone.
using PassThroughEngine = BasicCircuitEngine<PassThroughModel>;

inline void setUnityGains (PassThroughEngine& e)
{
    e.holder.inputGain = 1.0;
    e.holder.outputGain = 1.0;
    e.setGainTargets (1.0, 1.0);
}

// Processes one channel's signal through the engine in blocks, returning the output.
inline std::vector<float> runMono (PassThroughEngine& e, std::vector<float> signal, int blockSize = 64)
{
    for (size_t start = 0; start < signal.size(); start += (size_t) blockSize)
    {
        const int n = (int) std::min ((size_t) blockSize, signal.size() - start);
        float* ch[1] = { signal.data() + start };
        juce::AudioBuffer<float> buffer (ch, 1, n);
        e.holder.process (buffer);
    }
    return signal;
}
