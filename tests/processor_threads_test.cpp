#include "support/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

namespace
{
// What the engine must run with, worked out from what the parameters report and the rate last
// prepared: the pedal's rules written out once more, independently of the processor's code.
struct Expected
{
    int mode, oversamplingIndex, drive, tone, level, model;
    double modelRate, inputGainTarget;
};

Expected expectedFrom (Processor& p, double rate, int hostInputs, int hostOutputs)
{
    const auto value = [&] (int k) { return p.parameters[(size_t) k]->getValue(); };
    const bool on = value (0) >= 0.5f, stereo = value (5) >= 0.5f, high = value (6) >= 0.5f;
    const int ins = on ? (hostInputs <= 1 ? hostInputs : (stereo ? 2 : 1)) : 0;
    const int outs = on ? hostOutputs : 0;
    const int mode = ins == 0 || outs == 0 ? 0 : (ins == 1 ? (outs == 1 ? 1 : 2) : (outs == 1 ? 1 : 3));
    const auto pot = [&] (int k) { return (int) (value (k) * 32.0f); };
    return { mode, high ? 2 : 1, pot (1), pot (2), pot (3), value (7) >= 0.5f ? 1 : 0,
             (double) (float) (rate * (high ? 4 : 2)), (double) value (4) * 10.0 };
}

Ts9Model::Matrices matricesFor (const Expected& e)
{
    Ts9Model m;
    m.modFlag = e.model;
    m.applyPotKey (Ts9Model::Grid::potKey (e.drive, e.tone, e.level));
    m.sampleRate = e.modelRate;
    m.rebuildCoefficients();
    return m.matrices();
}

bool sameMatrices (const Ts9Model::Matrices& a, const Ts9Model::Matrices& b)
{
    return a.A == b.A && a.B == b.B && a.C == b.C && a.G == b.G && a.H == b.H && a.K == b.K
        && a.D == b.D && a.E == b.E && a.F == b.F;
}
}

// A storm of changes from several threads, the audio thread among them: parameter moves, program
// switches, state loads and new sample rates, while the audio thread keeps processing. Once every
// caller has returned, the next block must run with exactly what the parameters and the last
// prepared rate say, every field of it, matrices included. A lost request or a stale copy leaves
// some field behind. Run under ThreadSanitizer in CI.
TEST (ProcessorThreads, EveryChangeFromEveryThreadReachesTheEngine)
{
    auto p = ProcessorFixture::makePrepared (2, 2, 48000.0, 256);
    const auto factoryState = ProcessorFixture::stateOf (*p);
    p->parameters[1]->setValueNotifyingHost (0.37f);
    const auto editedState = ProcessorFixture::stateOf (*p);
    constexpr double rates[] = { 44100.0, 48000.0, 96000.0 };

    constexpr long targetOperations = 1000000;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (30);
    std::atomic<long> operations { 0 };
    std::atomic<bool> stop { false };
    std::atomic<long> blocks { 0 };
    std::atomic<bool> nonFinite { false };

    // The mix leans on parameter moves, which are the cheap and frequent changes; every kind of
    // change is in it.
    auto change = [&] (juce::Random& rng, bool audioThread)
    {
        const int what = rng.nextInt (100);
        if (what < 90)
            p->parameters[(size_t) rng.nextInt (8)]->setValueNotifyingHost (rng.nextFloat());
        else if (what < 95)
            p->setCurrentProgram (rng.nextInt (4));
        else if (what < 98 || audioThread)
        {
            const auto& state = rng.nextBool() ? factoryState : editedState;
            p->setStateInformation (state.getData(), (int) state.getSize());
        }
        else
            p->prepareToPlay (rates[rng.nextInt (3)], 256);
        operations.fetch_add (1, std::memory_order_relaxed);
    };

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (2, 64);
        juce::MidiBuffer midi;
        juce::Random rng (11);
        long n = 0;
        while (! stop.load())
        {
            for (int c = 0; c < 2; ++c)
                for (int s = 0; s < 64; ++s)
                    buffer.setSample (c, s, 0.5f * std::sin ((float) (n * 64 + s) * 0.03f));

            {
                const juce::ScopedLock lock (p->getCallbackLock());
                p->processBlock (buffer, midi);
            }
            // A host may apply a parameter change on the audio thread, just before a block.
            if (rng.nextInt (4) == 0)
                change (rng, true);

            for (int c = 0; c < 2; ++c)
                for (int s = 0; s < 64; ++s)
                    if (! std::isfinite (buffer.getSample (c, s)))
                        nonFinite.store (true);
            blocks.store (++n);
        }
    });

    auto hammer = [&] (int seed)
    {
        juce::Random rng (seed);
        while (! stop.load())
        {
            change (rng, false);
            if (operations.load (std::memory_order_relaxed) >= targetOperations
                || std::chrono::steady_clock::now() > deadline)
                stop.store (true);
        }
    };

    std::thread t1 (hammer, 1), t2 (hammer, 2), t3 (hammer, 3);
    t1.join();
    t2.join();
    t3.join();
    audio.join();

    std::printf ("storm: %ld operations, %ld blocks\n", operations.load(), blocks.load());
    EXPECT_GT (blocks.load(), 10);
    EXPECT_FALSE (nonFinite.load());

    // Every caller has returned; the next block starts.
    ProcessorFixture::runSilence (*p, 1);
    const auto& applied = p->engine.holder.appliedSnapshot();
    const auto expected = expectedFrom (*p, p->engine.getSampleRate(), 2, 2);

    EXPECT_EQ (applied.mode, expected.mode);
    EXPECT_EQ (p->engine.holder.mode, expected.mode);
    EXPECT_EQ (applied.oversamplingIndex, expected.oversamplingIndex);
    EXPECT_EQ (applied.settings.drive, expected.drive);
    EXPECT_EQ (applied.settings.tone, expected.tone);
    EXPECT_EQ (applied.settings.level, expected.level);
    EXPECT_EQ (applied.settings.model, expected.model);
    EXPECT_EQ (applied.modelSampleRate, expected.modelRate);
    EXPECT_EQ (applied.gainStep, 8.0 / p->engine.getSampleRate());
    EXPECT_EQ (p->engine.holder.inputGainTarget, expected.inputGainTarget);
    EXPECT_EQ (p->engine.holder.outputGainTarget, 0.35);
    EXPECT_TRUE (sameMatrices (p->engine.holder.channel0.record.matrices(), matricesFor (expected)));
    EXPECT_TRUE (sameMatrices (p->engine.holder.channel1.record.matrices(), matricesFor (expected)));
}
