#include "engine/ModelRecord.h"
#include "models/Ts9.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
using Record = ModelRecord<Ts9Model>;

Ts9Model::Matrices ts9Matrices (int drive, int tone, int level, double fs)
{
    Ts9Model m;
    m.applyPotKey (Ts9Model::Grid::potKey (drive, tone, level));
    m.sampleRate = fs;
    m.rebuildCoefficients();
    return m.matrices();
}

// Port prediction taken straight from the input (p = u), no other coupling.
Ts9Model::Matrices passPort()
{
    Ts9Model::Matrices m;
    m.H (0, 0) = 1.0f;
    return m;
}

// A device with a fixed conductance and no current.
struct FixedConductance
{
    float i = 0.0f, g = 1.0f;
    void evaluate (float) noexcept {}
};

// The pedal's diodes behind a type the record does not recognise as a junction, so it runs the
// plain iteration (v − p − K·i, both devices evaluated) on exactly the same device law.
template <class Diode>
struct Opaque
{
    Diode d;
    float i = 0.0f, g = 0.0f;
    void evaluate (float v) noexcept
    {
        d.evaluate (v);
        i = d.i;
        g = d.g;
    }
};

template <class D0, class D1>
struct DeviceModel
{
    using Traits = Ts9Model::Traits;
    using Matrices = Ts9Model::Matrices;
    using Device0 = D0;
    using Device1 = D1;
};
}

TEST (NewtonSolve, ConstructionState)
{
    const Record r;
    EXPECT_EQ (r.maxIterations, 70u);
    EXPECT_EQ (r.tolerance, 4e-5f);
    EXPECT_EQ (r.J0 (0, 0), -1.0f);
    EXPECT_TRUE (r.x.isZero (0.0f));
    EXPECT_EQ (r.v[0], 0.0f);
    EXPECT_TRUE (r.i.isZero (0.0f));
    EXPECT_TRUE (r.isFinite());
}

TEST (NewtonSolve, WithoutCouplingTheFirstStepLandsOnThePrediction)
{
    Record r;
    r.setMatrices (passPort());

    // Far from the prediction: one step to v = p, a second iteration to see it has converged.
    r.u[0] = 0.5f;
    r.predict();
    r.solve();
    EXPECT_EQ (r.v[0], 0.5f);
    EXPECT_EQ (r.iterations, 2u);

    // Already there: a single iteration.
    r.solve();
    EXPECT_EQ (r.v[0], 0.5f);
    EXPECT_EQ (r.iterations, 1u);

    // Within the tolerance of the prediction, the step is still applied.
    r.u[0] = 0.5f + 1e-5f;
    r.predict();
    r.solve();
    EXPECT_EQ (r.iterations, 1u);
    EXPECT_EQ (r.v[0], 0.5f + (r.p[0] - 0.5f) / 1.0f);
    EXPECT_EQ (r.v[0], r.p[0]);
}

TEST (NewtonSolve, AtZeroBothDiodesConductSmallSignalOnly)
{
    Record r;
    r.setMatrices (ts9Matrices (16, 16, 16, 176400.0));
    r.u[0] = 0.0f;
    r.predict();
    r.solve();

    const DiodeTS d0;
    const DiodeTS_A d1;
    EXPECT_EQ (r.iterations, 1u);
    EXPECT_EQ (r.v[0], 0.0f);
    EXPECT_EQ (r.i[0], 0.0f);
    EXPECT_EQ (r.i[1], 0.0f);
    EXPECT_EQ (r.dI (0, 0), d0.Is * d0.k);
    EXPECT_EQ (r.dI (1, 0), -(d1.Is * d1.k));
}

TEST (NewtonSolve, SilenceStaysSilent)
{
    Record r;
    r.setMatrices (ts9Matrices (32, 16, 32, 192000.0));
    for (int n = 0; n < 20000; ++n)
        ASSERT_EQ (r.step (0.0f), 0.0f) << n;
    EXPECT_TRUE (r.x.isZero (0.0f));
    EXPECT_EQ (r.v[0], 0.0f);
}

TEST (NewtonSolve, SolvesThePortEquationAndClips)
{
    const double fs = 176400.0;
    Record r;
    r.setMatrices (ts9Matrices (32, 16, 16, fs));
    const auto& m = r.matrices();

    float vMax = 0.0f, vMin = 0.0f;
    for (int n = 0; n < 4000; ++n)
    {
        const float s = (float) (1.0 * std::sin (2.0 * M_PI * 220.0 * n / fs));
        r.u[0] = s;
        r.predict();
        r.solve();
        ASSERT_LT (r.iterations, r.maxIterations) << n;

        // The final voltage satisfies v = p + K·i(v) with the currents recomputed there.
        DiodeTS d0;
        DiodeTS_A d1;
        d0.evaluate (r.v[0]);
        d1.evaluate (-r.v[0]);
        const float residual = r.v[0] - r.p[0] - (m.K (0, 0) * d0.i + m.K (0, 1) * d1.i);
        ASSERT_LT (std::abs (residual), 1e-4f * (1.0f + std::abs (r.p[0]))) << n;

        r.update();
        vMax = std::max (vMax, r.v[0]);
        vMin = std::min (vMin, r.v[0]);
    }

    // The linear part alone would swing the port by volts; the pair holds it near half a volt,
    // and the DiodeTS_A side, with its larger emission coefficient, clips a little higher.
    EXPECT_GT (vMax, 0.35f);
    EXPECT_LT (vMax, 0.65f);
    EXPECT_LT (vMin, -0.35f);
    EXPECT_GT (vMin, -0.65f);
    EXPECT_GT (-vMin, vMax);
}

TEST (NewtonSolve, CurrentsComeFromTheVoltageBeforeTheFinalStep)
{
    int finalStepsTaken = 0;

    for (float input : { 0.05f, -0.05f, 0.2f, -0.3f, 0.8f, -0.8f, 1.5f, -2.0f })
    {
        Record r;
        r.setMatrices (ts9Matrices (24, 16, 16, 176400.0));
        r.u[0] = input;
        r.x[2] = 1e-5f;
        r.predict();

        // The same iteration stopped one step short gives the voltage of the last evaluation.
        Record shortOfLast = r;
        r.solve();
        ASSERT_GT (r.iterations, 1u) << input;
        shortOfLast.maxIterations = r.iterations - 1;
        shortOfLast.solve();
        const float before = shortOfLast.v[0];
        if (r.v[0] != before)
            ++finalStepsTaken;

        DiodeTS d0;
        DiodeTS_A d1;
        d0.evaluate (before);
        d1.evaluate (-before);
        EXPECT_EQ (r.i[0], d0.i) << input;
        EXPECT_EQ (r.i[1], d1.i) << input;
        EXPECT_EQ (r.dI (0, 0), d0.g) << input;
        EXPECT_EQ (r.dI (1, 0), -d1.g) << input;
    }

    // Most solves end with a small but non-zero step, which is where the difference shows.
    EXPECT_GE (finalStepsTaken, 4);
}

TEST (NewtonSolve, IterationCapHoldsTheLastIterate)
{
    Record capped;
    capped.setMatrices (ts9Matrices (32, 16, 16, 176400.0));
    capped.u[0] = 1.0f;
    capped.x[2] = 1e-3f;
    capped.predict();
    Record uncapped = capped;

    capped.maxIterations = 2;
    capped.solve();
    uncapped.solve();
    EXPECT_EQ (capped.iterations, 2u);
    EXPECT_GT (uncapped.iterations, 2u);
    EXPECT_NE (capped.v[0], uncapped.v[0]);

    // The next solve goes on from where the capped one stopped.
    capped.maxIterations = 70;
    capped.solve();
    EXPECT_NEAR (capped.v[0], uncapped.v[0], 1e-4f);

    capped.maxIterations = 0;
    const float v = capped.v[0];
    const auto i = capped.i;
    capped.solve();
    EXPECT_EQ (capped.iterations, 0u);
    EXPECT_EQ (capped.v[0], v);
    EXPECT_EQ (capped.i, i);
}

TEST (NewtonSolve, ZeroJacobianTakesNoStep)
{
    ModelRecord<DeviceModel<FixedConductance, FixedConductance>> r;
    auto m = passPort();
    m.K (0, 0) = 1.0f; // J = 1·1 − 0·1 − 1 = 0
    r.setMatrices (m);
    r.device1.g = 0.0f;
    r.maxIterations = 5;
    r.u[0] = 0.25f;
    r.predict();
    r.solve();

    EXPECT_EQ (r.J (0, 0), 0.0f);
    EXPECT_EQ (r.v[0], 0.0f);
    EXPECT_EQ (r.iterations, 5u);
}

TEST (NewtonSolve, NaNInputEndsTheIterationAndIsReported)
{
    Record r;
    r.setMatrices (ts9Matrices (16, 16, 16, 176400.0));
    r.step (0.1f);
    r.step (std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ (r.iterations, 1u);
    EXPECT_TRUE (std::isnan (r.v[0]));
    EXPECT_FALSE (r.isFinite());

    r.resetState();
    EXPECT_TRUE (r.isFinite());
    EXPECT_EQ (r.step (0.0f), 0.0f);
}

TEST (NewtonSolve, OutputUsesTheStateBeforeTheUpdate)
{
    Record r;
    Ts9Model::Matrices m;
    m.A (0, 0) = 2.0f;
    m.B (0, 0) = 1.0f;
    m.D (0, 0) = 1.0f;
    m.E (0, 0) = 10.0f;
    r.setMatrices (m);

    EXPECT_EQ (r.step (1.0f), 10.0f);  // x was 0, becomes 1
    EXPECT_EQ (r.step (1.0f), 11.0f);  // x was 1, becomes 3
    EXPECT_EQ (r.step (0.0f), 3.0f);   // x was 3
    EXPECT_EQ (r.x[0], 6.0f);
}

// The junction iteration forms the residual as (v − p + K·Is) − K·Is·e: the same solve as the
// plain form to float rounding, for either diode of the pair.
TEST (NewtonSolve, JunctionIterationAgreesWithThePlainForm)
{
    const auto m = ts9Matrices (32, 16, 16, 176400.0);
    Record fast;
    ModelRecord<DeviceModel<Opaque<DiodeTS>, Opaque<DiodeTS_A>>> plain;
    static_assert (Record::junctionPair && ! decltype (plain)::junctionPair);
    fast.setMatrices (m);
    plain.setMatrices (m);

    int sameCount = 0;
    float vMax = 0.0f, vMin = 0.0f, worst = 0.0f;
    const int n = 8000;
    for (int t = 0; t < n; ++t)
    {
        // A swell from a whisper to far beyond clipping, on both polarities.
        const float s = (float) (3.0 * t / n * std::sin (2.0 * M_PI * 330.0 * t / 176400.0));
        const float a = fast.step (s);
        const float b = plain.step (s);
        worst = std::max (worst, std::abs (a - b) / (1.0f + std::abs (b)));
        sameCount += fast.iterations == plain.iterations ? 1 : 0;
        vMax = std::max (vMax, fast.v[0]);
        vMin = std::min (vMin, fast.v[0]);
    }

    EXPECT_LT (worst, 1e-4f);
    EXPECT_GT (sameCount, n * 95 / 100);
    EXPECT_GT (vMax, 0.4f);
    EXPECT_LT (vMin, -0.4f);
}
