#include "engine/Decimator.h"
#include "engine/Interpolator.h"
#include "engine/PrototypeFilters.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <random>
#include <vector>

namespace
{
constexpr double pi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------------------
// Frequency response of a prototype, f in units of the host rate (the prototype runs at R × fs).

double gainDb (int ratio, double f)
{
    const float* h = prototypeFilter (ratio);
    const int n = prototypeLength (ratio);
    const double centre = 0.5 * (n - 1);
    double sum = 0.0;
    for (int k = 0; k < n; ++k)
        sum += (double) h[k] * std::cos (2.0 * pi * f / ratio * (k - centre));
    return 20.0 * std::log10 (std::fabs (sum) + 1.0e-300);
}

struct Extremum
{
    double minDb = 1e9, maxDb = -1e9, maxAt = 0.0;
};

Extremum scan (int ratio, double from, double to, double step)
{
    Extremum e;
    for (double f = from; f <= to + 1e-12; f += step)
    {
        const double g = gainDb (ratio, f);
        e.minDb = std::fmin (e.minDb, g);
        if (g > e.maxDb)
        {
            e.maxDb = g;
            e.maxAt = f;
        }
    }
    return e;
}

// Highest level anywhere from `from` up to the prototype's Nyquist frequency (R / 2).
double stopBandMaxDb (int ratio, double from)
{
    return scan (ratio, from, 0.5 * ratio, 2.5e-4).maxDb;
}

// First frequency above 0.2 where the gain falls through `levelDb`.
double crossing (int ratio, double levelDb)
{
    double f = 0.2;
    while (gainDb (ratio, f + 1e-3) > levelDb)
        f += 1e-3;
    double lo = f, hi = f + 1e-3;
    for (int i = 0; i < 40; ++i)
    {
        const double mid = 0.5 * (lo + hi);
        (gainDb (ratio, mid) > levelDb ? lo : hi) = mid;
    }
    return lo;
}

double dcGain (int ratio)
{
    double sum = 0.0;
    for (int k = 0; k < prototypeLength (ratio); ++k)
        sum += prototypeFilter (ratio)[k];
    return sum;
}

// ---------------------------------------------------------------------------------------------
// Interpolator → identity model → decimator, as the engine runs one host sample.

template <int R>
struct Chain
{
    Interpolator<R> up;
    Decimator<R> down;

    float run (float x) noexcept
    {
        up.push (x);
        for (int j = 0; j < R; ++j)
            down.push (up.next());
        return down.output();
    }
};

template <int R>
std::vector<float> runChain (Chain<R>& chain, const std::vector<float>& input)
{
    std::vector<float> out;
    out.reserve (input.size());
    for (float x : input)
        out.push_back (chain.run (x));
    return out;
}

template <int R>
std::vector<float> impulseResponse (int length)
{
    Chain<R> chain;
    std::vector<float> in ((size_t) length, 0.0f);
    in[0] = 1.0f;
    return runChain (chain, in);
}

template <int R>
std::vector<float> stepResponse (int length)
{
    Chain<R> chain;
    return runChain (chain, std::vector<float> ((size_t) length, 1.0f));
}

std::vector<float> randomSignal (int length, unsigned seed)
{
    std::mt19937 rng (seed);
    std::uniform_real_distribution<float> dist (-1.0f, 1.0f);
    std::vector<float> v ((size_t) length);
    for (auto& x : v)
        x = dist (rng);
    return v;
}
} // namespace

// =============================================================================================
// Prototype tables

TEST (PrototypeFilters, LengthsAndUnknownRatios)
{
    EXPECT_EQ (prototypeLength (2), 32);
    EXPECT_EQ (prototypeLength (4), 64);
    EXPECT_EQ (prototypeLength (8), 128);
    EXPECT_EQ (prototypeLength (16), 256);
    for (int bad : { -2, 0, 1, 3, 6, 32 })
    {
        EXPECT_EQ (prototypeFilter (bad), nullptr) << bad;
        EXPECT_EQ (prototypeLength (bad), 0) << bad;
    }
}

TEST (PrototypeFilters, SymmetricAlignedWithUnityDcGain)
{
    for (int ratio : { 2, 4, 8, 16 })
    {
        const float* h = prototypeFilter (ratio);
        const int n = prototypeLength (ratio);
        ASSERT_NE (h, nullptr);
        EXPECT_EQ (reinterpret_cast<std::uintptr_t> (h) % 64, 0u) << ratio;
        for (int k = 0; k < n / 2; ++k)
            ASSERT_EQ (h[k], h[n - 1 - k]) << "ratio " << ratio << " tap " << k;
        EXPECT_NEAR (dcGain (ratio), 1.0, 6.0e-4) << ratio;
    }
    // The two short prototypes as listed; the long ones designed to unity.
    EXPECT_NEAR (dcGain (2), 1.000576, 1.0e-6);
    EXPECT_NEAR (dcGain (4), 1.0, 1.0e-6);
    EXPECT_NEAR (dcGain (8), 1.0, 1.0e-6);
    EXPECT_NEAR (dcGain (16), 1.0, 1.0e-6);
}

TEST (PrototypeFilters, ShortTablesHoldTheListedTaps)
{
    const float* h2 = prototypeFilter (2);
    EXPECT_EQ (h2[0], -0.00032448888f);
    EXPECT_EQ (h2[7], -0.0068119387f);
    EXPECT_EQ (h2[11], -0.05684182f);
    EXPECT_EQ (h2[15], 0.370763f);
    EXPECT_EQ (h2[31], -0.00032448888f);

    const float* h4 = prototypeFilter (4);
    EXPECT_EQ (h4[0], 0.00055654446f);
    EXPECT_EQ (h4[13], -0.00041702378f);
    EXPECT_EQ (h4[24], -0.035869785f);
    EXPECT_EQ (h4[31], 0.21089174f);
    EXPECT_EQ (h4[63], 0.00055654446f);
}

TEST (PrototypeFilters, Ratio2Response)
{
    const Extremum pass = scan (2, 0.0, 0.3, 1e-4);
    EXPECT_NEAR (pass.maxDb, 0.88, 0.01);
    EXPECT_NEAR (pass.maxAt, 0.26, 0.01);
    EXPECT_GT (pass.minDb, 0.0);  // the pass band only rises
    EXPECT_NEAR (crossing (2, -3.0), 0.354, 0.001);
    EXPECT_NEAR (crossing (2, -6.0), 0.378, 0.001);
    EXPECT_NEAR (gainDb (2, 0.5), -52.0, 0.5);
    EXPECT_LE (stopBandMaxDb (2, 0.52), -81.7);
    EXPECT_LE (stopBandMaxDb (2, 0.55), -84.99);
}

TEST (PrototypeFilters, Ratio4Response)
{
    const Extremum pass = scan (4, 0.0, 0.35, 1e-4);
    EXPECT_LE (pass.maxDb, 0.09);
    EXPECT_GE (pass.minDb, -0.09);
    EXPECT_NEAR (crossing (4, -3.0), 0.409, 0.0015);
    EXPECT_NEAR (crossing (4, -6.0), 0.431, 0.001);
    EXPECT_NEAR (gainDb (4, 0.5), -30.0, 0.5);
    // The listed taps reach -50.99 dB just above 0.55.
    EXPECT_LE (stopBandMaxDb (4, 0.55), -50.98);
    EXPECT_LE (stopBandMaxDb (4, 0.7), -57.7);
}

TEST (PrototypeFilters, Ratio8And16Response)
{
    for (int ratio : { 8, 16 })
    {
        SCOPED_TRACE (ratio);
        const Extremum pass = scan (ratio, 0.0, 0.3, 1e-4);
        EXPECT_LE (pass.maxDb, 0.02);
        EXPECT_GE (pass.minDb, -0.02);
        // No overshoot in the transition band.
        EXPECT_LE (scan (ratio, 0.3, 0.6, 1e-4).maxDb, pass.maxDb);
        EXPECT_NEAR (crossing (ratio, -3.0), ratio == 8 ? 0.402 : 0.404, 0.001);
        EXPECT_NEAR (crossing (ratio, -6.0), 0.432, 0.0015);
        EXPECT_NEAR (gainDb (ratio, 0.5), -21.0, 0.25);
        EXPECT_LE (stopBandMaxDb (ratio, 0.6), -73.0);
    }
}

// =============================================================================================
// Filter objects

TEST (OversamplingFilters, InitialCountersAndAlignedTables)
{
    Interpolator<4> up;
    Decimator<4> down;
    EXPECT_EQ (up.writeIndex, 15);
    EXPECT_EQ (up.row, 63);
    EXPECT_EQ (down.writeIndex, 63);
    EXPECT_EQ (down.row, 63);
    for (float v : up.history)
        EXPECT_EQ (v, 0.0f);
    for (float v : down.history)
        EXPECT_EQ (v, 0.0f);
    EXPECT_EQ (reinterpret_cast<std::uintptr_t> (up.coefficientRow (0)) % 64, 0u);
    EXPECT_EQ (reinterpret_cast<std::uintptr_t> (down.coefficientRow (0)) % 64, 0u);
    EXPECT_EQ (reinterpret_cast<std::uintptr_t> (up.history) % 16, 0u);
    EXPECT_EQ (reinterpret_cast<std::uintptr_t> (down.history) % 16, 0u);
}

template <int R>
void checkInterpolatorAgainstDirectFormula()
{
    SCOPED_TRACE (R);
    const float* h = prototypeFilter (R);
    const std::vector<float> x = randomSignal (100, 11u + R);
    Interpolator<R> up;
    for (int n = 0; n < (int) x.size(); ++n)
    {
        up.push (x[(size_t) n]);
        for (int j = 0; j < R; ++j)
        {
            double expected = 0.0;
            for (int m = 0; m < 16 && m <= n; ++m)
                expected += (double) ((float) R * h[j + R * m]) * x[(size_t) (n - m)];
            ASSERT_NEAR (up.next(), expected, 1.0e-6) << "n " << n << " phase " << j;
        }
    }
}

template <int R>
void checkDecimatorAgainstDirectFormula()
{
    SCOPED_TRACE (R);
    constexpr int n = 16 * R;
    const float* h = prototypeFilter (R);
    const std::vector<float> y = randomSignal (5 * n + 3 * R, 23u + R);
    Decimator<R> down;
    for (int t = 0; t < (int) y.size(); ++t)
    {
        down.push (y[(size_t) t]);
        if (t % R != R - 1)
            continue;
        double expected = 0.0;
        for (int k = 0; k < n && k <= t; ++k)
            expected += (double) h[k] * y[(size_t) (t - k)];
        ASSERT_NEAR (down.output(), expected, 1.0e-6) << "t " << t;
    }
}

TEST (OversamplingFilters, InterpolatorEqualsZeroStuffingFir)
{
    checkInterpolatorAgainstDirectFormula<2>();
    checkInterpolatorAgainstDirectFormula<4>();
    checkInterpolatorAgainstDirectFormula<8>();
    checkInterpolatorAgainstDirectFormula<16>();
}

TEST (OversamplingFilters, DecimatorEqualsFullFirAtNewestSample)
{
    checkDecimatorAgainstDirectFormula<2>();
    checkDecimatorAgainstDirectFormula<4>();
    checkDecimatorAgainstDirectFormula<8>();
    checkDecimatorAgainstDirectFormula<16>();
}

TEST (OversamplingFilters, ImpulseThroughChainIsSymmetricAboutSample15)
{
    const std::vector<float> r2 = impulseResponse<2> (64);
    const std::vector<float> r4 = impulseResponse<4> (64);
    EXPECT_NEAR (r2[15], 0.7716f, 5.0e-5f);
    EXPECT_NEAR (r4[15], 0.8159f, 5.0e-5f);
    for (const auto* r : { &r2, &r4 })
    {
        for (int k = 1; k <= 15; ++k)
        {
            EXPECT_NEAR ((*r)[(size_t) (15 - k)], (*r)[(size_t) (15 + k)], 1.0e-7f) << k;
            EXPECT_LT (std::fabs ((*r)[(size_t) (15 + k)]), (*r)[15]) << k;
        }
        for (size_t n = 31; n < r->size(); ++n)
            EXPECT_EQ ((*r)[n], 0.0f) << n;
    }
    // The long prototypes have the same centre.
    for (const std::vector<float>& r : { impulseResponse<8> (64), impulseResponse<16> (64) })
    {
        for (int k = 1; k <= 15; ++k)
            EXPECT_NEAR (r[(size_t) (15 - k)], r[(size_t) (15 + k)], 1.0e-7f) << k;
        EXPECT_EQ (r[31], 0.0f);
    }
}

TEST (OversamplingFilters, ConstantInputSettlesAfter31Samples)
{
    const std::vector<float> s2 = stepResponse<2> (200);
    const std::vector<float> s4 = stepResponse<4> (200);
    const std::vector<float> s8 = stepResponse<8> (200);
    const std::vector<float> s16 = stepResponse<16> (200);
    for (size_t n = 31; n < 200; ++n)
    {
        ASSERT_NEAR (s2[n], 1.00115f, 5.0e-6f) << n;
        ASSERT_NEAR (s4[n], 1.000001f, 1.0e-6f) << n;
        ASSERT_NEAR (s8[n], 1.0f, 2.0e-6f) << n;
        ASSERT_NEAR (s16[n], 1.0f, 2.0e-6f) << n;
    }
    // Still rising before: the response is 31 host samples long.
    EXPECT_LT (s2[20], 1.0f);
    EXPECT_LT (s4[20], 1.0f);
}

template <int R>
void checkDelay (float tolerance)
{
    SCOPED_TRACE (R);
    const double f = 0.01;  // cycles per host sample
    std::vector<float> in (400);
    for (size_t n = 0; n < in.size(); ++n)
        in[n] = (float) std::sin (2.0 * pi * f * (double) n);
    Chain<R> chain;
    const std::vector<float> out = runChain (chain, in);

    // The output matches the input 15 samples earlier; one sample either side is far off.
    double worst = 0.0, worstEarly = 0.0, worstLate = 0.0;
    for (size_t n = 60; n < out.size(); ++n)
    {
        worst = std::fmax (worst, std::fabs (out[n] - in[n - 15]));
        worstEarly = std::fmax (worstEarly, std::fabs (out[n] - in[n - 14]));
        worstLate = std::fmax (worstLate, std::fabs (out[n] - in[n - 16]));
    }
    EXPECT_LT (worst, tolerance);
    EXPECT_GT (worstEarly, 0.05);
    EXPECT_GT (worstLate, 0.05);
}

TEST (OversamplingFilters, ChainDelaysBy15HostSamplesAtEveryRatio)
{
    // Tolerances are the pass-band gain at 0.01 fs of the two filters in series (the ratio-2
    // prototype carries a DC gain of 1.00058).
    checkDelay<2> (1.5e-3f);
    checkDelay<4> (6.0e-4f);
    checkDelay<8> (2.0e-4f);
    checkDelay<16> (1.0e-4f);
}

TEST (OversamplingFilters, HistoriesPersistAcrossRatioChanges)
{
    // One channel's pairs: run at ratio 2, switch to 4, come back to 2.
    Chain<2> pair2;
    Chain<4> pair4;
    Chain<2> uninterrupted;
    const std::vector<float> before = randomSignal (40, 5u);
    const std::vector<float> meanwhile = randomSignal (25, 6u);
    runChain (pair2, before);
    runChain (uninterrupted, before);
    runChain (pair4, meanwhile);

    Chain<2> fresh;
    const float x = 0.25f;
    const float resumed = pair2.run (x);
    EXPECT_EQ (resumed, uninterrupted.run (x));
    EXPECT_GT (std::fabs (resumed - fresh.run (x)), 1.0e-3f);
    EXPECT_EQ (pair2.up.writeIndex, uninterrupted.up.writeIndex);
    EXPECT_EQ (pair2.down.row, uninterrupted.down.row);

    // And the ratio-4 pair, revisited after more ratio-2 samples, continues from its own history.
    Chain<4> reference4;
    runChain (reference4, meanwhile);
    runChain (pair2, randomSignal (17, 7u));
    const std::vector<float> next = randomSignal (20, 8u);
    EXPECT_EQ (runChain (pair4, next), runChain (reference4, next));
}

TEST (OversamplingFilters, ClearRecoversFromNonFiniteInput)
{
    Chain<4> chain;
    runChain (chain, randomSignal (13, 9u));
    EXPECT_TRUE (std::isnan (chain.run (std::numeric_limits<float>::quiet_NaN())));
    EXPECT_TRUE (std::isnan (chain.run (0.0f)));  // the NaN stays in the histories...

    chain.up.clear();
    chain.down.clear();
    for (float v : chain.up.history)
        EXPECT_EQ (v, 0.0f);
    for (float v : chain.down.history)
        EXPECT_EQ (v, 0.0f);

    // ...until cleared: from then on the pair behaves like a new one, whatever its phase.
    Chain<4> fresh;
    const std::vector<float> in = randomSignal (50, 10u);
    const std::vector<float> a = runChain (chain, in);
    const std::vector<float> b = runChain (fresh, in);
    for (size_t n = 0; n < in.size(); ++n)
        ASSERT_NEAR (a[n], b[n], 1.0e-6f) << n;
}

TEST (OversamplingFilters, ProcessingAllocatesNothing)
{
    Chain<16> chain16;
    Chain<2> chain2;
    const AllocationCounter::Scope scope;
    float sink = 0.0f;
    for (int n = 0; n < 600; ++n)
        sink += chain16.run ((float) n) + chain2.run ((float) n);
    chain16.up.clear();
    chain16.down.clear();
    EXPECT_EQ (scope.allocations(), 0u);
    EXPECT_TRUE (std::isfinite (sink));
}
