#pragma once

#include "EngineSettings.h"
#include "ModelHolder.h"
#include "TupleSolver.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <thread>

// The circuit engine: one model holder with two channel instances of a model, configured from
// any thread while the audio thread runs.
//
// A caller that changed a setting only says so; it hands over no values. Whichever caller then
// holds the builder reads the settings from their source itself (the processor's parameters, or
// the engine's own request record), derives the matrices on a builder model of its own when the
// pots, the variant or the rate moved, and publishes a complete snapshot, which the audio thread
// picks up at the start of its next block. Because the builder reads the values, two callers
// that change different knobs at once cannot overwrite each other with stale copies.
//
// The hand-over: a caller raises `pending` and tries to take the builder; the holder clears
// `pending` before each build, lets the builder go, and looks at `pending` once more. All four
// operations are sequentially consistent, so of a caller that fails to take the builder and a
// holder that lets it go, at least one sees the other: either the caller gets the builder, or the
// holder sees the raised flag and builds again. No request is lost, nothing allocates, and only
// `publishAndWait` (never used on the audio thread) waits.
template <class Model>
class BasicCircuitEngine
{
public:
    using Holder = ModelHolder<TupleSolver<Model>>;
    using Grid = typename Model::Grid;

    BasicCircuitEngine() { publishAndWait(); }

    // Makes `source` the place the builder reads the settings from. It must outlive the engine's
    // use; the engine's own request record is the source until then.
    void readSettingsFrom (const EngineSettingsSource& newSource) noexcept
    {
        source.store (&newSource);
        settingsChanged (true);
    }

    // Tells the engine that a setting in its source changed. `rebuild` asks for new matrices
    // even when the knob positions it reads are the same. Returns at once when another thread
    // holds the builder: that thread builds again with the new values before it lets go.
    void settingsChanged (bool rebuild) noexcept
    {
        if (rebuild)
            rebuildRequested.store (true);
        pending.store (true);
        buildWhilePending (false);
    }

    // As settingsChanged, but returns only once a snapshot with the current settings has been
    // published, building itself when it can take the builder. Not for the audio thread.
    void publishAndWait() noexcept
    {
        pending.store (true);
        buildWhilePending (true);
    }

    void setSampleRate (double rate) noexcept
    {
        sampleRate.store (rate);
        publishAndWait();
    }

    // The engine's own request record, for an engine that is driven without a processor: each
    // call records its values and asks for a build. A processor that installed itself with
    // readSettingsFrom calls settingsChanged instead.
    // configure maps the effective channel counts to the processing mode and the quality code to
    // the oversampling index (0 and 1 both give ratio 2, 2 gives ratio 4).
    void configure (int inputChannels, int outputChannels, int qualityCode) noexcept
    {
        ownRequest.inputChannels.store (inputChannels);
        ownRequest.outputChannels.store (outputChannels);
        ownRequest.qualityCode.store (qualityCode);
        settingsChanged (false);
    }

    // The variant flag takes effect at the next setPots, which rebuilds the matrices.
    void setModel (int value) noexcept { ownRequest.model.store (value); }

    void setPots (int drive, int tone, int level) noexcept
    {
        ownRequest.drive.store (drive);
        ownRequest.tone.store (tone);
        ownRequest.level.store (level);
        settingsChanged (true);
    }

    void setGainTargets (double input, double output) noexcept
    {
        ownRequest.inputGainTarget.store (input);
        ownRequest.outputGainTarget.store (output);
        settingsChanged (false);
    }

    static int ratioForIndex (int index) noexcept
    {
        return index >= 0 && index <= 4 ? 1 << index : 1;
    }

    static int modeFor (int inputChannels, int outputChannels) noexcept
    {
        const int a = juce::jlimit (0, 2, inputChannels);
        const int b = juce::jlimit (0, 2, outputChannels);
        static constexpr int modes[7] = { 0, 0, 0, 1, 2, 1, 3 };
        return modes[2 * a + b];
    }

    static int oversamplingIndexFor (int qualityCode) noexcept
    {
        return qualityCode == 0 ? 1 : qualityCode;
    }

    double getSampleRate() const noexcept { return sampleRate.load(); }

    // What the builder last published (any thread may ask; the values are a copy).
    int getMode() const noexcept { return lastMode.load(); }
    int getOversamplingIndex() const noexcept { return lastOversamplingIndex.load(); }

    // How many times the builder derived the matrices (for tests and benchmarks).
    unsigned getRebuildCount() const noexcept { return rebuildCount.load(); }

    Holder holder;

private:
    // The settings an engine without a processor was asked for, field by field.
    struct RequestRecord final : EngineSettingsSource
    {
        EngineSettings currentEngineSettings() const noexcept override
        {
            EngineSettings s;
            s.inputChannels = inputChannels.load();
            s.outputChannels = outputChannels.load();
            s.qualityCode = qualityCode.load();
            s.model = model.load();
            s.drive = drive.load();
            s.tone = tone.load();
            s.level = level.load();
            s.inputGainTarget = inputGainTarget.load();
            s.outputGainTarget = outputGainTarget.load();
            return s;
        }

        std::atomic<int> inputChannels { 0 }, outputChannels { 0 }, qualityCode { 0 };
        std::atomic<int> model { 0 }, drive { 0 }, tone { 0 }, level { 0 };
        std::atomic<double> inputGainTarget { 0.0 }, outputGainTarget { 0.0 };
    };

    void buildWhilePending (bool waitForBuilder) noexcept
    {
        for (;;)
        {
            bool expected = false;
            if (! builderBusy.compare_exchange_strong (expected, true))
            {
                if (! waitForBuilder)
                    return;   // the holder sees `pending` when it lets go, and builds again
                std::this_thread::yield();
                continue;
            }

            // The exchange also makes every setting written before the flag was raised visible.
            while (pending.exchange (false))
                build();

            builderBusy.store (false);

            if (! pending.load())
                return;
        }
    }

    void build() noexcept
    {
        juce::ScopedNoDenormals noDenormals;

        const EngineSettings s = source.load()->currentEngineSettings();
        const int drive = clampPosition (s.drive);
        const int tone = clampPosition (s.tone);
        const int level = clampPosition (s.level);
        const int model = s.model != 0 ? 1 : 0;
        const double rate = sampleRate.load();
        const int index = oversamplingIndexFor (s.qualityCode);

        bool rebuild = rebuildRequested.exchange (false);
        const unsigned key = Grid::potKey (drive, tone, level);
        if (key != builtKey || model != builder.modFlag)
        {
            builder.modFlag = model;
            builder.applyPotKey (key);
            builtKey = key;
            rebuild = true;
        }

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
            ++matricesVersion;
            rebuildCount.fetch_add (1);
        }

        auto& slot = holder.settingsChannel().writeSlot();
        slot.settings = s;
        slot.settings.drive = drive;
        slot.settings.tone = tone;
        slot.settings.level = level;
        slot.settings.model = model;
        slot.mode = modeFor (s.inputChannels, s.outputChannels);
        slot.oversamplingIndex = index;
        slot.sampleRate = rate;
        slot.modelSampleRate = rate != 0.0 ? builder.sampleRate : 0.0;
        slot.gainStep = rate != 0.0 ? 8.0 / rate : 0.0;
        slot.matrices = builder.matrices();
        slot.matricesVersion = matricesVersion;
        lastMode.store (slot.mode);
        lastOversamplingIndex.store (slot.oversamplingIndex);
        holder.settingsChannel().publish();
    }

    static int clampPosition (int position) noexcept
    {
        return juce::jlimit (0, Grid::gridSize - 1, position);
    }

    Model builder;             // the builder's own; only the thread holding the builder touches it
    unsigned builtKey = ~0u;   // the pot key the builder model holds
    unsigned matricesVersion = 0;   // counts the builder's derivations

    RequestRecord ownRequest;
    std::atomic<const EngineSettingsSource*> source { &ownRequest };
    std::atomic<double> sampleRate { 0.0 };
    std::atomic<bool> rebuildRequested { false };

    std::atomic<bool> pending { false };
    std::atomic<bool> builderBusy { false };
    std::atomic<unsigned> rebuildCount { 0 };
    std::atomic<int> lastMode { 0 };
    std::atomic<int> lastOversamplingIndex { 1 };
};
