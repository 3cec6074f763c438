#pragma once

#include "ModelHolder.h"
#include "TupleSolver.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>

// The circuit engine: one model holder with two channel instances of a model, configured by the
// processor from any thread while the audio thread runs.
//
// Configuration calls never touch what the audio thread reads. They record the request, then
// whichever caller gets the builder first derives the matrices on a builder model of its own and
// publishes a complete snapshot; the audio thread picks it up at the start of its next block. A
// caller that finds the builder busy (another thread, or the audio thread itself setting a
// parameter) leaves its request for the busy caller, which builds again before it lets go.
// Nothing here allocates or waits.
template <class Model>
class BasicCircuitEngine
{
public:
    using Holder = ModelHolder<TupleSolver<Model>>;

    BasicCircuitEngine() { publishPending(); }

    // Maps the effective channel counts to the processing mode and the quality code to the
    // oversampling index (0 and 1 both give ratio 2, 2 gives ratio 4).
    void configure (int inputChannels, int outputChannels, int qualityCode) noexcept
    {
        const int a = juce::jlimit (0, 2, inputChannels);
        const int b = juce::jlimit (0, 2, outputChannels);
        static constexpr int modes[7] = { 0, 0, 0, 1, 2, 1, 3 };
        mode.store (modes[2 * a + b]);
        oversamplingIndex.store (qualityCode == 0 ? 1 : qualityCode);
        publishPending();
    }

    void setSampleRate (double rate) noexcept
    {
        sampleRate.store (rate);
        publishPending();
    }

    // The variant flag takes effect at the next setPots, which rebuilds the matrices.
    void setModel (int value) noexcept { modFlag.store (value); }

    void setPots (int drive, int tone, int level) noexcept
    {
        potKey.store ((unsigned) ((drive * 33 + tone) * 33 + level));
        potsRequested.store (true);
        publishPending();
    }

    static int ratioForIndex (int index) noexcept
    {
        return index >= 0 && index <= 4 ? 1 << index : 1;
    }

    double getSampleRate() const noexcept { return sampleRate.load(); }
    int getMode() const noexcept { return mode.load(); }
    int getOversamplingIndex() const noexcept { return oversamplingIndex.load(); }

    // How many times the builder derived the matrices (for tests and benchmarks).
    unsigned getRebuildCount() const noexcept { return rebuildCount.load(); }

    Holder holder;

private:
    void publishPending() noexcept
    {
        pending.store (true);

        while (pending.load())
        {
            bool expected = false;
            if (! builderBusy.compare_exchange_strong (expected, true, std::memory_order_acquire))
                return;   // the thread holding the builder sees `pending` and builds again

            pending.store (false);
            build();
            builderBusy.store (false, std::memory_order_release);
        }
    }

    void build() noexcept
    {
        juce::ScopedNoDenormals noDenormals;

        bool rebuild = false;

        if (potsRequested.exchange (false))
        {
            builder.modFlag = modFlag.load();
            builder.applyPotKey (potKey.load());
            rebuild = true;
        }

        const double rate = sampleRate.load();
        const int index = oversamplingIndex.load();

        if (rate != 0.0)
        {
            const double modelRate = (double) (float) (rate * ratioForIndex (index));
            if (builder.sampleRate != modelRate)
            {
                builder.sampleRate = modelRate;
                rebuild = true;
            }
        }

        if (rebuild)
        {
            builder.rebuildCoefficients();
            rebuildCount.fetch_add (1);
        }

        auto& slot = holder.settingsChannel().writeSlot();
        slot.mode = mode.load();
        slot.oversamplingIndex = index;
        slot.gainStep = rate != 0.0 ? 8.0 / rate : 0.0;
        slot.matrices = builder.matrices();
        holder.settingsChannel().publish();
    }

    Model builder;

    std::atomic<double> sampleRate { 0.0 };
    std::atomic<int> oversamplingIndex { 0 };
    std::atomic<int> mode { 0 };
    std::atomic<int> modFlag { 0 };
    std::atomic<unsigned> potKey { 0 };
    std::atomic<bool> potsRequested { false };

    std::atomic<bool> pending { false };
    std::atomic<bool> builderBusy { false };
    std::atomic<unsigned> rebuildCount { 0 };
};
