#include "support/AllocationCounter.h"
#include "support/PassThroughEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace
{
std::vector<float> impulse (size_t length, size_t at, float value = 1.0f)
{
    std::vector<float> v (length, 0.0f);
    v[at] = value;
    return v;
}

size_t argmaxAbs (const std::vector<float>& v)
{
    size_t best = 0;
    for (size_t i = 1; i < v.size(); ++i)
        if (std::fabs (v[i]) > std::fabs (v[best]))
            best = i;
    return best;
}

std::unique_ptr<PassThroughEngine> makeEngine (int in, int out, int quality, double rate = 48000.0)
{
    auto e = std::make_unique<PassThroughEngine>();
    e->configure (in, out, quality);
    e->setSampleRate (rate);
    setUnityGains (*e);
    return e;
}
}

TEST (EngineConfigure, ModesFromChannelCounts)
{
    PassThroughEngine e;
    const int expected[3][3] = { { 0, 0, 0 }, { 0, 1, 2 }, { 2, 1, 3 } };
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
        {
            e.configure (a, b, 2);
            EXPECT_EQ (e.getMode(), expected[a][b]) << a << " in, " << b << " out";
        }
    e.configure (-3, 9, 0);
    EXPECT_EQ (e.getMode(), 0);
    e.configure (7, 7, 0);
    EXPECT_EQ (e.getMode(), 3);
    EXPECT_EQ (e.getOversamplingIndex(), 1) << "quality code 0 is ratio 2";
    e.configure (1, 1, 2);
    EXPECT_EQ (e.getOversamplingIndex(), 2);
    EXPECT_EQ (PassThroughEngine::ratioForIndex (2), 4);
    EXPECT_EQ (PassThroughEngine::ratioForIndex (4), 16);
    EXPECT_EQ (PassThroughEngine::ratioForIndex (9), 1);
}

TEST (EngineFilters, FifteenSampleDelayAtEveryRatio)
{
    for (int index = 1; index <= 4; ++index)
    {
        auto e = makeEngine (1, 1, index);
        const auto out = runMono (*e, impulse (400, 100));
        EXPECT_EQ (argmaxAbs (out), 115u) << "ratio " << PassThroughEngine::ratioForIndex (index);

        // A slow sine comes back delayed by 15 samples.
        auto f = makeEngine (1, 1, index);
        std::vector<float> sine (4000);
        for (size_t i = 0; i < sine.size(); ++i)
            sine[i] = (float) std::sin (2.0 * M_PI * 200.0 * (double) i / 48000.0);
        const auto y = runMono (*f, sine);
        double worst = 0.0;
        for (size_t i = 500; i < sine.size(); ++i)
            worst = std::max (worst, (double) std::fabs (y[i] - sine[i - 15]));
        EXPECT_LT (worst, 0.012) << "ratio " << PassThroughEngine::ratioForIndex (index);
    }
}

TEST (EngineFilters, ImpulsePeaksAndDcGains)
{
    auto e2 = makeEngine (1, 1, 0);
    const auto y2 = runMono (*e2, impulse (64, 0));
    EXPECT_NEAR (y2[15], 0.7716f, 5e-5f);
    for (int k = 1; k <= 15; ++k)
        EXPECT_NEAR (y2[15 - k], y2[15 + k], 1e-6f) << "symmetric about sample 15";

    auto e4 = makeEngine (1, 1, 2);
    const auto y4 = runMono (*e4, impulse (64, 0));
    EXPECT_NEAR (y4[15], 0.8159f, 5e-5f);

    auto d2 = makeEngine (1, 1, 0);
    const auto c2 = runMono (*d2, std::vector<float> (200, 1.0f));
    auto d4 = makeEngine (1, 1, 2);
    const auto c4 = runMono (*d4, std::vector<float> (200, 1.0f));
    for (size_t i = 31; i < 200; ++i)
    {
        EXPECT_NEAR (c2[i], 1.00115f, 2e-5f);
        EXPECT_NEAR (c4[i], 1.000001f, 2e-5f);
    }
}

TEST (EngineRouting, MonoStereoAndMonoToStereo)
{
    std::vector<float> left (300), right (300, 0.0f);
    for (size_t i = 0; i < left.size(); ++i)
        left[i] = (float) std::sin ((double) i * 0.05);

    auto runStereo = [&] (PassThroughEngine& e, std::vector<float> l, std::vector<float> r)
    {
        float* ch[2] = { l.data(), r.data() };
        juce::AudioBuffer<float> buffer (ch, 2, (int) l.size());
        e.holder.process (buffer);
        return std::make_pair (l, r);
    };

    auto mono = makeEngine (1, 1, 2);
    const auto reference = runMono (*mono, left, 300);

    // Mono: only channel 0 is touched.
    auto m = makeEngine (1, 1, 2);
    std::vector<float> marker (300, 0.25f);
    const auto [m0, m1] = runStereo (*m, left, marker);
    EXPECT_EQ (m0, reference);
    EXPECT_EQ (m1, marker);

    // Mono to stereo: both outputs carry the same processed channel 0; channel 1's input is ignored.
    auto ms = makeEngine (1, 2, 2);
    const auto [s0, s1] = runStereo (*ms, left, marker);
    EXPECT_EQ (s0, reference);
    EXPECT_EQ (s1, reference);

    // Stereo: independent channels; silence stays silence.
    auto st = makeEngine (2, 2, 2);
    const auto [t0, t1] = runStereo (*st, left, right);
    EXPECT_EQ (t0, reference);
    for (float v : t1)
        EXPECT_EQ (v, 0.0f);
}

TEST (EngineRouting, NarrowBufferIsNeverOverrun)
{
    std::vector<float> x (256);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = (float) std::cos ((double) i * 0.1);
    auto reference = makeEngine (1, 1, 2);
    const auto expected = runMono (*reference, x);

    for (auto [in, out] : { std::pair { 2, 2 }, std::pair { 1, 2 } })
    {
        auto e = makeEngine (in, out, 2);
        EXPECT_EQ (runMono (*e, x), expected) << "a one-channel buffer in a two-channel mode runs channel 0 only";
    }
}

TEST (EngineRouting, DisabledIsABitExactFifteenSampleDelay)
{
    auto e = makeEngine (0, 0, 2);
    std::vector<float> x (1000);
    juce::Random rng (7);
    for (auto& v : x)
        v = rng.nextFloat() * 2.0f - 1.0f;
    x[10] = std::numeric_limits<float>::denorm_min();
    const auto y = runMono (*e, x, 37);
    for (size_t i = 0; i < 15; ++i)
        EXPECT_EQ (y[i], 0.0f);
    for (size_t i = 15; i < x.size(); ++i)
        ASSERT_EQ (std::memcmp (&y[i], &x[i - 15], sizeof (float)), 0) << i;
    EXPECT_EQ (e->holder.inputGain, 1.0) << "gains do not move while disabled";
}

TEST (EngineRouting, DisabledCopiesMonoInputToTheSecondOutput)
{
    auto e = makeEngine (0, 0, 2);
    e->holder.hostInputChannels.store (1);
    std::vector<float> l (100), r (100, 0.0f);
    for (size_t i = 0; i < l.size(); ++i)
        l[i] = (float) i;
    float* ch[2] = { l.data(), r.data() };
    juce::AudioBuffer<float> buffer (ch, 2, 100);
    e->holder.process (buffer);
    for (size_t i = 15; i < 100; ++i)
    {
        EXPECT_EQ (l[i], (float) (i - 15));
        EXPECT_EQ (r[i], (float) (i - 15));
    }
}

TEST (EngineGains, InputGainJumpTakesOneAndAQuarterSecondsAtAnyRate)
{
    for (double rate : { 44100.0, 48000.0, 96000.0, 192000.0 })
    {
        PassThroughEngine e;
        e.configure (1, 1, 0);
        e.setSampleRate (rate);
        e.setGainTargets (10.0, 0.0);
        const int expected = (int) std::lround (1.25 * rate);
        std::vector<float> x ((size_t) expected - 2, 0.0f);
        runMono (e, x, 512);
        EXPECT_LT (e.holder.inputGain, 10.0) << rate;
        runMono (e, std::vector<float> (4, 0.0f));
        EXPECT_EQ (e.holder.inputGain, 10.0) << rate;
    }
}

TEST (EngineGains, SilenceUntilARateIsKnownAndZeroBlocksAreNoOps)
{
    PassThroughEngine e;
    e.configure (1, 1, 2);
    e.setGainTargets (3.3, 0.35);
    const auto y = runMono (e, std::vector<float> (500, 0.5f));
    for (float v : y)
        EXPECT_EQ (v, 0.0f);
    EXPECT_EQ (e.holder.outputGain, 0.0);

    e.setSampleRate (48000.0);
    juce::AudioBuffer<float> empty (1, 0);
    e.holder.process (empty);
    EXPECT_EQ (e.holder.outputGain, 0.0) << "a zero-sample block does not advance the gains";
    runMono (e, std::vector<float> (1, 0.0f));
    EXPECT_DOUBLE_EQ (e.holder.outputGain, 8.0 / 48000.0);
}

TEST (EngineFilters, HistoryIsKeptAcrossRatioSwitches)
{
    // The ratio-2 pair sees only the samples processed while ratio 2 is selected; an engine
    // that switches away and back must match one that never saw the other ratio's samples.
    juce::Random rng (3);
    std::vector<float> a (200), b (150), c (200);
    for (auto* v : { &a, &b, &c })
        for (auto& s : *v)
            s = rng.nextFloat() - 0.5f;

    // The paths themselves are compared, so without the fade that hides a switch.
    auto switching = makeEngine (1, 1, 0);
    switching->holder.fadesEnabled = false;
    runMono (*switching, a);
    switching->configure (1, 1, 2);
    runMono (*switching, b);
    switching->configure (1, 1, 0);
    const auto out = runMono (*switching, c);

    auto straight = makeEngine (1, 1, 0);
    runMono (*straight, a);
    const auto expected = runMono (*straight, c);
    EXPECT_EQ (out, expected);
    EXPECT_NE (out[0], 0.0f) << "the first output after switching back comes from the old history";
}

TEST (EngineSafety, NonFiniteInputNeverReachesTheOutput)
{
    auto e = makeEngine (1, 1, 2);
    std::vector<float> x (256, 0.1f);
    x[20] = std::numeric_limits<float>::quiet_NaN();
    x[40] = std::numeric_limits<float>::infinity();
    x[41] = -std::numeric_limits<float>::infinity();
    x[60] = 1.0e30f;
    const auto y = runMono (*e, x);
    for (float v : y)
        EXPECT_TRUE (std::isfinite (v));
}

TEST (EngineSafety, ProcessingAndReconfigurationAllocateNothing)
{
    auto e = makeEngine (2, 2, 2);
    std::vector<float> l (512, 0.2f), r (512, -0.2f);
    float* ch[2] = { l.data(), r.data() };
    juce::AudioBuffer<float> buffer (ch, 2, 512);

    AllocationCounter::Scope scope;
    for (int i = 0; i < 20; ++i)
    {
        e->holder.process (buffer);
        e->setPots (i % 33, 16, 3);
        e->configure (1 + i % 2, 2, (i % 2) * 2);
        e->setSampleRate (i % 2 ? 44100.0 : 48000.0);
    }
    EXPECT_EQ (scope.allocations(), 0u);
}

TEST (EngineThreads, ConcurrentConfigurationNeverTearsASnapshot)
{
    // Two writers and the audio thread: every block must see a mode that is one of the modes
    // some writer asked for, and processing must go on without waiting.
    auto e = makeEngine (1, 1, 2);
    std::atomic<bool> stop { false };
    auto writer = [&] (int seed)
    {
        juce::Random rng (seed);
        while (! stop.load())
        {
            e->configure (1 + rng.nextInt (2), 1 + rng.nextInt (2), rng.nextInt (3));
            e->setPots (rng.nextInt (33), rng.nextInt (33), rng.nextInt (33));
            e->setSampleRate (rng.nextBool() ? 44100.0 : 96000.0);
        }
    };
    std::thread w1 (writer, 1), w2 (writer, 2);
    std::vector<float> l (128, 0.3f), r (128, 0.3f);
    for (int block = 0; block < 3000; ++block)
    {
        float* ch[2] = { l.data(), r.data() };
        juce::AudioBuffer<float> buffer (ch, 2, 128);
        e->holder.process (buffer);
        ASSERT_GE (e->holder.mode, 1);
        ASSERT_LE (e->holder.mode, 3);
        for (float v : l)
            ASSERT_TRUE (std::isfinite (v));
    }
    stop.store (true);
    w1.join();
    w2.join();

    // Once the writers are done, the last request is what the audio thread ends up with.
    e->configure (2, 2, 2);
    float* ch[2] = { l.data(), r.data() };
    juce::AudioBuffer<float> buffer (ch, 2, 16);
    e->holder.process (buffer);
    EXPECT_EQ (e->holder.mode, 3);
    EXPECT_EQ (e->holder.oversamplingIndex, 2);
}

TEST (EngineRouting, SwitchingOffReplaysNothingAnOutputOnlyChannelHeld)
{
    // Mono in, stereo out: channel 1 arrives holding whatever the host left there. After the
    // pedal is switched off, its first dry samples must be channel 0's input, not that content.
    // The dry line itself is checked, so without the fade that hides the switch.
    auto e = makeEngine (1, 2, 2);
    e->holder.fadesEnabled = false;
    e->holder.hostInputChannels.store (1);
    std::vector<float> l (64), r (64);
    for (size_t i = 0; i < l.size(); ++i)
    {
        l[i] = 0.001f * (float) (i + 1);
        r[i] = std::numeric_limits<float>::denorm_min();
    }
    float* ch[2] = { l.data(), r.data() };
    juce::AudioBuffer<float> buffer (ch, 2, 64);
    e->holder.process (buffer);

    e->configure (0, 0, 2);
    std::vector<float> l2 (64, 0.5f), r2 (64, std::numeric_limits<float>::denorm_min());
    float* ch2[2] = { l2.data(), r2.data() };
    juce::AudioBuffer<float> off (ch2, 2, 64);
    e->holder.process (off);
    for (size_t i = 0; i < 15; ++i)
    {
        EXPECT_EQ (r2[i], 0.001f * (float) (64 - 15 + i + 1)) << i;
        EXPECT_EQ (r2[i], l2[i]);
    }
}
