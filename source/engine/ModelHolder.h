#pragma once

#include "BlockKernels.h"
#include "DryDelay.h"
#include "EngineSnapshot.h"
#include "TripleBuffer.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>

// The audio side of the engine: what one host block needs, behind one virtual call.
class ModelHolderBase
{
public:
    virtual void process (juce::AudioBuffer<float>& buffer) noexcept = 0;
    virtual ~ModelHolderBase() = default;

    // The dry path (pedal off, host bypass): output channels beyond the host's inputs get a copy
    // of channel 0, then every channel leaves through the dry delay, which keeps the timing of the
    // processed path.
    void processDry (juce::AudioBuffer<float>& buffer, int numInputs) noexcept
    {
        const int n = buffer.getNumSamples();
        if (numInputs > 0)
            for (int c = numInputs; c < buffer.getNumChannels(); ++c)
                buffer.copyFrom (c, 0, buffer, 0, 0, n);

        const int numChannels = juce::jmin (buffer.getNumChannels(), DryDelay::maxChannels);
        for (int c = 0; c < numChannels; ++c)
            dryDelay.run (c, buffer.getWritePointer (c), n, true);
    }

    // The host's input channel count, for the pedal-off path (set when playback is prepared).
    std::atomic<int> hostInputChannels { 2 };

    // Audio thread only: the gains, and their targets and step from the published settings.
    double inputGain = 0.0;
    double outputGain = 0.0;
    double inputGainTarget = 0.0;
    double outputGainTarget = 0.0;
    double gainStep = 0.0;

protected:
    DryDelay dryDelay;
};

// Runs two channel instances of one model type with the block kernel of the current mode and
// oversampling ratio. Configuration arrives as published snapshots, picked up at block starts.
template <class TS>
class ModelHolder final : public ModelHolderBase
{
public:
    using Model = typename TS::ModelType;
    using Snapshot = EngineSnapshot<typename Model::Matrices>;
    using Kernels = BlockKernels<ModelHolder>;
    using Kernel = typename Kernels::Kernel;

    ModelHolder() = default;
    ~ModelHolder() override = default;

    void process (juce::AudioBuffer<float>& buffer) noexcept override
    {
        if (settings.acquire())
            apply (settings.readSlot());

        const int n = buffer.getNumSamples();
        const int numChannels = juce::jmin (buffer.getNumChannels(), 2);
        if (n <= 0 || numChannels <= 0)
            return;

        auto* const* channels = buffer.getArrayOfWritePointers();

        if (blockKernel == nullptr)
        {
            processDry (buffer, hostInputChannels.load (std::memory_order_relaxed));
            return;
        }

        // The dry line of an output-only channel records channel 0, which is what the dry path
        // plays there; its own content is whatever the host left in the buffer.
        const int hostInputs = hostInputChannels.load (std::memory_order_relaxed);
        for (int c = 0; c < numChannels; ++c)
            dryDelay.run (c, channels[c < hostInputs ? c : 0], n, false);

        // A host may hand a buffer narrower than the layout the mode was chosen for.
        const Kernel kernel = numChannels >= channelsNeeded ? blockKernel : narrowKernel;
        kernel (*this, channels, n);

        recoverIfNonFinite (channels, numChannels, n);
    }

    // Selects the block kernel for a mode (0..3) and oversampling index (0..4); anything else
    // selects the dry path.
    void setMode (int newMode, int newOversamplingIndex) noexcept
    {
        mode = newMode;
        oversamplingIndex = newOversamplingIndex;
        blockKernel = Kernels::select (newMode, newOversamplingIndex);
        narrowKernel = Kernels::select (1, newOversamplingIndex);
        channelsNeeded = newMode == 1 ? 1 : 2;
    }

    // Writer side: the engine fills and publishes settings through this.
    TripleBuffer<Snapshot>& settingsChannel() noexcept { return settings; }

    // Audio side: the snapshot the last block ran with.
    const Snapshot& appliedSnapshot() const noexcept { return settings.readSlot(); }

    TS channel0;
    TS channel1;
    int mode = 0;
    int oversamplingIndex = 0;

private:
    void apply (const Snapshot& s) noexcept
    {
        if (s.mode != mode || s.oversamplingIndex != oversamplingIndex)
            setMode (s.mode, s.oversamplingIndex);
        gainStep = s.gainStep;
        inputGainTarget = s.settings.inputGainTarget;
        outputGainTarget = s.settings.outputGainTarget;
        channel0.record.setMatrices (s.matrices);
        channel1.record.setMatrices (s.matrices);
    }

    void recoverIfNonFinite (float* const* channels, int numChannels, int n) noexcept
    {
        bool recovered = false;
        if (! channel0.record.isFinite()) { channel0.recover(); recovered = true; }
        if (! channel1.record.isFinite()) { channel1.recover(); recovered = true; }

        if (recovered)
            for (int c = 0; c < numChannels; ++c)
                for (int s = 0; s < n; ++s)
                    if (! std::isfinite (channels[c][s]))
                        channels[c][s] = 0.0f;
    }

    TripleBuffer<Snapshot> settings;
    Kernel blockKernel = nullptr;
    Kernel narrowKernel = nullptr;
    int channelsNeeded = 1;
};
