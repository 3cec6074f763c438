#include "support/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
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

// What differs between the block that just ran and what the parameters say; empty when nothing.
std::string mismatch (Processor& p)
{
    const auto& applied = p.engine.holder.appliedSnapshot();
    const auto e = expectedFrom (p, p.engine.getSampleRate(), 2, 2);
    std::string m;
    const auto check = [&] (bool ok, const char* what) { if (! ok) m += std::string (what) + " "; };
    check (applied.mode == e.mode && p.engine.holder.mode == e.mode, "mode");
    check (applied.oversamplingIndex == e.oversamplingIndex, "oversampling");
    check (applied.settings.drive == e.drive, "drive");
    check (applied.settings.tone == e.tone, "tone");
    check (applied.settings.level == e.level, "level");
    check (applied.settings.model == e.model, "model");
    check (applied.modelSampleRate == e.modelRate, "model rate");
    check (applied.gainStep == 8.0 / p.engine.getSampleRate(), "gain step");
    check (p.engine.holder.inputGainTarget == e.inputGainTarget, "input gain");
    check (p.engine.holder.outputGainTarget == 0.35, "output gain");
    const auto m0 = matricesFor (e);
    check (sameMatrices (p.engine.holder.channel0.record.matrices(), m0)
               && sameMatrices (p.engine.holder.channel1.record.matrices(), m0), "matrices");
    return m;
}
}

// Storms of changes from several threads, the audio thread among them: parameter moves, program
// switches, state loads and new sample rates, while the audio thread keeps processing. After each
// storm, once every caller has returned, the next block must run with exactly what the parameters
// and the last prepared rate say, every field of it, matrices included. A lost request or a stale
// copy leaves some field behind. Run under ThreadSanitizer in CI.
TEST (ProcessorThreads, EveryChangeFromEveryThreadReachesTheEngine)
{
    auto p = ProcessorFixture::makePrepared (2, 2, 48000.0, 256);
    const auto factoryState = ProcessorFixture::stateOf (*p);
    p->parameters[1]->setValueNotifyingHost (0.37f);
    const auto editedState = ProcessorFixture::stateOf (*p);
    constexpr double rates[] = { 44100.0, 48000.0, 96000.0 };

    constexpr int numHammers = 3;
    constexpr long operationsPerStorm = 3000;
    constexpr long targetOperations = 1000000;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (75);

    std::atomic<long> operations { 0 };
    std::atomic<int> storm { 0 };          // the storm the hammers may work on
    std::atomic<int> hammersDone { 0 };    // hammers that finished the current storm
    std::atomic<bool> finished { false };
    long storms = 0, blocks = 0, badStorms = 0;
    std::string firstMismatch;
    bool nonFinite = false;

    // The mix leans on parameter moves, the cheap and frequent changes; every kind is in it.
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

    auto hammer = [&] (int seed)
    {
        juce::Random rng (seed);
        for (int done = 0; ! finished.load(); )
        {
            if (storm.load() == done)
            {
                std::this_thread::yield();
                continue;
            }
            for (long k = 0; k < operationsPerStorm / numHammers; ++k)
                change (rng, false);
            ++done;
            hammersDone.fetch_add (1);
        }
    };
    std::thread hammers[numHammers] = { std::thread (hammer, 1), std::thread (hammer, 2), std::thread (hammer, 3) };

    // This thread is the audio thread: it processes blocks throughout each storm and now and then
    // applies a change itself, as hosts do just before a block. When the hammers are done, the
    // next block must be right.
    juce::AudioBuffer<float> buffer (2, 64);
    juce::MidiBuffer midi;
    juce::Random rng (11);
    while (operations.load() < targetOperations && std::chrono::steady_clock::now() < deadline)
    {
        hammersDone.store (0);
        storm.fetch_add (1);
        while (hammersDone.load() < numHammers)
        {
            for (int c = 0; c < 2; ++c)
                for (int s = 0; s < 64; ++s)
                    buffer.setSample (c, s, 0.5f * std::sin ((float) (blocks * 64 + s) * 0.03f));
            {
                const juce::ScopedLock lock (p->getCallbackLock());
                p->processBlock (buffer, midi);
            }
            ++blocks;
            for (int c = 0; c < 2; ++c)
                for (int s = 0; s < 64; ++s)
                    nonFinite = nonFinite || ! std::isfinite (buffer.getSample (c, s));
            if (rng.nextInt (4) == 0)
                change (rng, true);
        }

        ProcessorFixture::runSilence (*p, 1);
        ++storms;
        const auto m = mismatch (*p);
        if (! m.empty())
        {
            if (badStorms++ == 0)
                firstMismatch = "storm " + std::to_string (storms) + ": " + m;
        }
    }
    finished.store (true);
    for (auto& t : hammers)
        t.join();

    std::printf ("storms: %ld, operations: %ld, blocks: %ld, storms ending wrong: %ld\n",
                 storms, operations.load(), blocks, badStorms);
    EXPECT_EQ (badStorms, 0) << firstMismatch;
    EXPECT_GT (storms, 10);
    EXPECT_FALSE (nonFinite);
}
