#pragma once

#include "BlockKernels.h"
#include "Crossfade.h"
#include "DryDelay.h"
#include "EngineSnapshot.h"
#include "TripleBuffer.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>

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
        run (buffer, false, hostInputChannels.load (std::memory_order_relaxed));
    }

    // The host's bypass: the dry path, reached and left through a fade like any other change.
    void processBypassed (juce::AudioBuffer<float>& buffer, int numInputs) noexcept
    {
        run (buffer, true, numInputs);
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

    // With fades off every change takes effect at the start of the block that picks it up (for
    // tests and benchmarks, which compare the two).
    std::atomic<bool> fadesEnabled { true };

    // Host samples left in the running fade (0: none).
    int fadeSamplesLeft() const noexcept { return fadeRemaining; }

private:
    using Outgoing = OutgoingPath<TS>;

    void run (juce::AudioBuffer<float>& buffer, bool bypassed, int dryInputs) noexcept
    {
        const bool fresh = settings.acquire();
        if (fresh || bypassed != bypassedNow)
            takeOver (fresh ? &settings.readSlot() : nullptr, bypassed);

        const int n = buffer.getNumSamples();
        const int numChannels = juce::jmin (buffer.getNumChannels(), 2);
        if (fadeRemaining == 0 || n <= 0 || numChannels <= 0)
        {
            playMain (buffer, dryInputs);
            return;
        }

        // The fade runs in stretches: the old path on a copy of the input, the new path in place
        // exactly as without a fade, then the mix. Once the fade is over the rest of the block is
        // the new path alone.
        auto* const* channels = buffer.getArrayOfWritePointers();
        for (int done = 0; done < n;)
        {
            const int len = fadeRemaining > 0 ? juce::jmin (n - done, scratchLength, fadeRemaining) : n - done;
            juce::AudioBuffer<float> view (channels, buffer.getNumChannels(), done, len);
            if (fadeRemaining == 0)
            {
                playMain (view, dryInputs);
                break;
            }

            float* old[2] = { outgoing.scratch[0], outgoing.scratch[1] };
            for (int c = 0; c < numChannels; ++c)
                std::copy (channels[c] + done, channels[c] + done + len, old[c]);
            outgoing.inputGainTarget = inputGainTarget;
            outgoing.outputGainTarget = outputGainTarget;
            outgoing.gainStep = gainStep;
            outgoing.run (old, numChannels, len, dryInputs);

            playMain (view, dryInputs);

            const double perSample = 1.0 / (double) fadeLength;
            for (int c = 0; c < numChannels; ++c)
            {
                float* out = channels[c] + done;
                for (int s = 0; s < len; ++s)
                {
                    const float g = CrossfadeTiming::shape ((float) ((double) (fadePosition + s + 1) * perSample));
                    out[s] = old[c][s] + (out[s] - old[c][s]) * g;
                }
            }

            fadePosition += len;
            fadeRemaining -= len;
            if (! outgoing.isFinite())
            {
                fadeRemaining = 0;
                for (int c = 0; c < numChannels; ++c)
                    for (int s = 0; s < len; ++s)
                        if (! std::isfinite (channels[c][done + s]))
                            channels[c][done + s] = 0.0f;
            }
            done += len;
        }
    }

    // What plays without a fade: the dry path when bypassed or in a mode without a kernel, else
    // the block kernel.
    void playMain (juce::AudioBuffer<float>& buffer, int dryInputs) noexcept
    {
        if (bypassedNow || blockKernel == nullptr)
        {
            processDry (buffer, dryInputs);
            return;
        }

        const int n = buffer.getNumSamples();
        const int numChannels = juce::jmin (buffer.getNumChannels(), 2);
        if (n <= 0 || numChannels <= 0)
            return;

        auto* const* channels = buffer.getArrayOfWritePointers();

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

    // Takes up a new snapshot (when `s` is given) and the bypass state, and starts a fade when
    // what plays changes. A new host rate starts afresh, without a fade.
    void takeOver (const Snapshot* s, bool bypassed) noexcept
    {
        const int newMode = s != nullptr ? s->mode : mode;
        const int newIndex = s != nullptr ? s->oversamplingIndex : oversamplingIndex;
        const bool wasDry = bypassedNow || blockKernel == nullptr;
        const bool willBeDry = bypassed || Kernels::select (newMode, newIndex) == nullptr;
        const bool changes = wasDry != willBeDry
                             || (! willBeDry && s != nullptr
                                 && (s->matricesVersion != appliedVersion || newMode != mode || newIndex != oversamplingIndex));

        if (s != nullptr && s->sampleRate != appliedRate)
            fadeRemaining = 0;
        else if (changes && fadesEnabled.load (std::memory_order_relaxed))
            startFade (wasDry);

        if (s != nullptr)
            apply (*s);
        bypassedNow = bypassed;
    }

    // A change during a fade starts from what is audible then, without queueing anything: while
    // the old path still has the larger share it stays and the fade goes on, now towards the
    // newest path; otherwise the path that was fading in becomes the old one and a whole fade
    // starts. Either way the output moves by at most half the difference between two paths, and
    // the old path never outlives one fade length after it was taken.
    void startFade (bool wasDry) noexcept
    {
        const int length = CrossfadeTiming::lengthFor (appliedRate);
        if (length == 0)
            return;
        if (fadeRemaining > 0 && 2 * fadePosition < fadeLength)
            return;

        outgoing.copyFrom (*this, wasDry, mode, oversamplingIndex, dryDelay);
        fadeLength = length;
        fadePosition = 0;
        fadeRemaining = length;
    }

    void apply (const Snapshot& s) noexcept
    {
        appliedVersion = s.matricesVersion;
        appliedRate = s.sampleRate;
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
    unsigned appliedVersion = 0;
    double appliedRate = 0.0;
    bool bypassedNow = false;

    // The old path and the copy of the input it runs on live apart from the holder, so the
    // holder that runs every block stays as compact as without fades.
    static constexpr int scratchLength = Outgoing::scratchLength;
    std::unique_ptr<Outgoing> fadeStore = std::make_unique<Outgoing>();
    Outgoing& outgoing = *fadeStore;
    int fadeLength = 0, fadePosition = 0, fadeRemaining = 0;

    Kernel blockKernel = nullptr;
    Kernel narrowKernel = nullptr;
    int channelsNeeded = 1;
};
