#include "models/Ts9.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <Eigen/Dense>

#include <cmath>
#include <complex>
#include <cstring>

namespace
{
unsigned key (int drive, int tone, int level)
{
    return Ts9Model::Grid::potKey (drive, tone, level);
}

Ts9Model built (unsigned potKey, double rate, int modFlag = 0)
{
    Ts9Model m;
    m.modFlag = modFlag;
    m.applyPotKey (potKey);
    m.sampleRate = rate;
    m.rebuildCoefficients();
    return m;
}

template <class Matrix>
bool sameBits (const Matrix& a, const Matrix& b)
{
    return std::memcmp (a.data(), b.data(), sizeof (float) * (size_t) a.size()) == 0;
}

bool sameBits (const Ts9Model::Matrices& a, const Ts9Model::Matrices& b)
{
    return sameBits (a.A, b.A) && sameBits (a.B, b.B) && sameBits (a.C, b.C)
        && sameBits (a.G, b.G) && sameBits (a.H, b.H) && sameBits (a.K, b.K)
        && sameBits (a.D, b.D) && sameBits (a.E, b.E) && sameBits (a.F, b.F);
}

// Gain of the linear part (device currents held at zero) at frequency f, from input to output
// and from input to the port voltage.
struct LinearResponse
{
    double output;
    double port;
};

LinearResponse linearResponse (const Ts9Model::Matrices& m, double f, double fs)
{
    using Complex = std::complex<double>;
    using M5 = Eigen::Matrix<Complex, 5, 5>;
    using V5 = Eigen::Matrix<Complex, 5, 1>;

    const Complex zInv = std::polar (1.0, -2.0 * M_PI * f / fs);
    const M5 A = m.A.cast<double>().cast<Complex>();
    const V5 B = m.B.cast<double>().cast<Complex>();
    const V5 X = (M5::Identity() - A * zInv).partialPivLu().solve (B);

    const Complex y = (m.D.cast<double>().cast<Complex>() * X) (0) * zInv + (double) m.E (0);
    const Complex p = (m.G.cast<double>().cast<Complex>() * X) (0) * zInv + (double) m.H (0);
    return { std::abs (y), std::abs (p) };
}

double dcGain (const Ts9Model::Matrices& m)
{
    const Eigen::Matrix<double, 5, 5> A = m.A.cast<double>();
    const Eigen::Matrix<double, 5, 1> x = (Eigen::Matrix<double, 5, 5>::Identity() - A).partialPivLu().solve (m.B.cast<double>());
    return (m.D.cast<double>() * x) (0) + (double) m.E (0);
}
}

TEST (Ts9Model, ConstructionDefaults)
{
    const Ts9Model m;
    EXPECT_EQ (m.sampleRate, 1.0);
    EXPECT_EQ (m.modFlag, 0);
    EXPECT_EQ (m.gridStep, 0.03125f);
    EXPECT_EQ (m.rDrive, 500000.0);
    EXPECT_EQ (m.rToneA, 10000.0);
    EXPECT_EQ (m.rToneB, 10000.0);
    EXPECT_EQ (m.rLevelTop, 1000.0);
    EXPECT_EQ (m.rLevelBottom, 99000.0);
    EXPECT_TRUE (m.S.isZero (0.0));
}

TEST (Ts9Model, PotLawsGiveTheWorkedValues)
{
    struct Row
    {
        int position;
        float driveOriginal, driveModded, toneA, levelBottom;
    };
    const Row rows[] = {
        { 0, 51000.0f, 10000.0f, 1.017f, 1000.0f },
        { 8, 80335.328f, 41740.828f, 1403.019f, 25749.75f },
        { 16, 142372.0f, 108864.5f, 10000.5f, 50499.5f },
        { 24, 273563.56f, 250813.8f, 18597.98f, 75249.25f },
        { 32, 551000.0f, 551000.0f, 19999.982f, 99999.0f },
    };

    for (const auto& row : rows)
    {
        const int p = row.position;
        Ts9Model m;
        m.applyPotKey (key (p, p, p));
        EXPECT_EQ (m.rDrive, (double) row.driveOriginal) << p;
        EXPECT_NEAR (m.rToneA, row.toneA, 1e-3) << p;
        EXPECT_EQ (m.rToneA, (double) (float) m.rToneA) << p;
        EXPECT_EQ (m.rLevelBottom, (double) row.levelBottom) << p;
        EXPECT_EQ (m.rLevelTop, 100000.0 - m.rLevelBottom) << p;
        EXPECT_EQ ((float) m.rToneB, 20000.0f - (float) m.rToneA) << p;

        m.modFlag = 1;
        m.applyPotKey (key (p, p, p));
        EXPECT_EQ (m.rDrive, (double) row.driveModded) << p;
    }
}

TEST (Ts9Model, PotEndsAndCentre)
{
    Ts9Model m;
    m.applyPotKey (key (32, 32, 32));
    EXPECT_EQ (key (32, 32, 32), 35936u);
    EXPECT_EQ (m.rDrive, 551000.0);
    EXPECT_NEAR (m.rToneA, 19999.98, 0.005);
    EXPECT_NEAR (m.rToneB, 0.018, 0.001);
    EXPECT_EQ (m.rLevelBottom, 99999.0);
    EXPECT_EQ (m.rLevelTop, 1.0);

    m.applyPotKey (key (16, 16, 16));
    EXPECT_EQ (m.rDrive, 142372.0);
    EXPECT_EQ (m.rToneA, 10000.5);
    EXPECT_EQ (m.rToneB, 9999.5);
    EXPECT_EQ (m.rLevelTop, 49500.5);
    EXPECT_EQ (m.rLevelBottom, 50499.5);

    m.applyPotKey (0);
    EXPECT_EQ (m.rDrive, 51000.0);
    EXPECT_EQ (m.rLevelBottom, 1000.0);
    EXPECT_EQ (m.rLevelTop, 99000.0);
}

TEST (Ts9Model, ModelSwitchChangesOnlyTheDriveBase)
{
    Ts9Model m;
    m.applyPotKey (key (0, 16, 16));
    EXPECT_EQ (m.rDrive, 51000.0);
    m.modFlag = 1;
    m.applyPotKey (key (0, 16, 16));
    EXPECT_EQ (m.rDrive, 10000.0);
    EXPECT_EQ (m.rToneA, 10000.5);
    m.modFlag = 7; // any non-zero value is "Modded"
    m.applyPotKey (key (32, 0, 0));
    EXPECT_EQ (m.rDrive, 551000.0);
}

TEST (Ts9Model, KeyFieldsCarryIntoEachOther)
{
    Ts9Model carried, direct;
    carried.applyPotKey (key (0, 33, 0));
    direct.applyPotKey (key (1, 0, 0));
    EXPECT_EQ (carried.rDrive, direct.rDrive);
    EXPECT_EQ (carried.rToneA, direct.rToneA);
    EXPECT_EQ (carried.rLevelBottom, direct.rLevelBottom);

    Ts9Model levelCarry, toneOne;
    levelCarry.applyPotKey (key (5, 2, 33));
    toneOne.applyPotKey (key (5, 3, 0));
    EXPECT_EQ (levelCarry.rToneA, toneOne.rToneA);
    EXPECT_EQ (levelCarry.rLevelBottom, toneOne.rLevelBottom);
}

TEST (Ts9Model, TonePartsAlwaysSumToTheWholePot)
{
    for (int p = 0; p <= 32; ++p)
    {
        Ts9Model m;
        m.applyPotKey (key (0, p, 0));
        EXPECT_NEAR (m.rToneA + m.rToneB, 20000.0, 0.002) << p;
        EXPECT_GT (m.rToneB, 0.0) << p;
    }
}

TEST (Ts9Model, NetworkAgreesWithItsPairLists)
{
    Ts9Model m;
    m.sampleRate = 48000.0;
    m.stampCircuit();

    for (int k = 0; k < 5; ++k)
    {
        const auto [a, b] = Ts9Model::statePairs[(size_t) k];
        EXPECT_EQ (m.Qx (a, k), 1.0) << k;
        EXPECT_EQ (m.Qx (b, k), -1.0) << k;
        EXPECT_EQ (m.Qx.col (k).cwiseAbs().sum(), 2.0) << k;
    }

    // The diode pair sits across the port: each current column injects across nodes 9 and 4.
    const auto [a, b] = Ts9Model::portPairs[0];
    EXPECT_EQ (m.Qi (b, 0), 1.0);
    EXPECT_EQ (m.Qi (a, 0), -1.0);
    EXPECT_TRUE (m.Qi.col (1).isApprox (-m.Qi.col (0)));
    EXPECT_EQ (m.Qu.sum(), 1.0);
    EXPECT_EQ (m.Qu (14, 0), 1.0);

    const double twoGc[5] = { 4 * 48000.0 * 2e-8, 4 * 48000.0 * 4.7e-8, 4 * 48000.0 * 9e-11,
                              4 * 48000.0 * 2.2e-7, 4 * 48000.0 * 2.2e-7 };
    for (int k = 0; k < 5; ++k)
        EXPECT_DOUBLE_EQ (m.twoGc (k, k), twoGc[k]) << k;
    EXPECT_TRUE (m.minusI.isApprox (-Eigen::Matrix<double, 5, 5>::Identity()));
}

TEST (Ts9Model, MatricesAtTheCentrePositionAndFourTimes44100)
{
    const Ts9Model model = built (key (16, 16, 16), 176400.0);
    const auto& m = model.matrices();

    EXPECT_NEAR (m.A (0, 0), 0.998712f, 5e-7f);
    EXPECT_NEAR (m.A (1, 1), 0.974662f, 5e-7f);
    EXPECT_NEAR (m.A (2, 2), 0.637720f, 5e-7f);
    EXPECT_NEAR (m.A (3, 3), 0.969661f, 5e-7f);
    EXPECT_NEAR (m.A (4, 4), 0.995082f, 5e-7f);
    EXPECT_NEAR (m.K (0, 0), -25789.25f, 0.005f);
    EXPECT_NEAR (m.K (0, 1), 25789.25f, 0.005f);
    EXPECT_NEAR (m.F (0, 0), 181.038f, 5e-4f);
    EXPECT_NEAR (m.F (0, 1), -181.038f, 5e-4f);
    EXPECT_NEAR (m.H (0, 0), -5.41407f, 5e-6f);
    EXPECT_NEAR (m.E (0, 0), 0.0450216f, 5e-8f);

    // The port voltage depends on neither cFilter nor cTone.
    EXPECT_LT (std::abs (m.G (0, 3)), 1e-9f);
    EXPECT_LT (std::abs (m.G (0, 4)), 1e-9f);
    EXPECT_GT (std::abs (m.G (0, 2)), 1000.0f);
}

TEST (Ts9Model, LinearResponsePeaks)
{
    const double fs = 176400.0;
    const auto m = built (key (16, 16, 16), fs).matrices();

    double bestOutput = 0.0, bestOutputF = 0.0, bestPort = 0.0, bestPortF = 0.0;
    for (int k = 0; k <= 3000; ++k)
    {
        const double f = 20.0 * std::pow (1000.0, k / 3000.0);
        const auto r = linearResponse (m, f, fs);
        if (r.output > bestOutput) { bestOutput = r.output; bestOutputF = f; }
        if (r.port > bestPort) { bestPort = r.port; bestPortF = f; }
    }

    EXPECT_NEAR (bestOutput, 7.8, 0.05);
    EXPECT_NEAR (20.0 * std::log10 (bestOutput), 17.9, 0.05);
    EXPECT_NEAR (bestOutputF, 790.0, 25.0);
    EXPECT_NEAR (bestPort, 28.6, 0.1);
    EXPECT_NEAR (bestPortF, 3000.0, 150.0);
}

TEST (Ts9Model, InputCapacitorBlocksDirectCurrent)
{
    for (unsigned k : { key (0, 0, 0), key (16, 16, 16), key (32, 32, 32), key (5, 27, 11), key (30, 3, 1) })
        for (int modFlag : { 0, 1 })
            for (double fs : { 88200.0, 192000.0 })
            {
                const auto m = built (k, fs, modFlag).matrices();
                EXPECT_LT (std::abs (dcGain (m)), 1e-4) << k << " " << fs;
                // ... while the same network passes audio.
                EXPECT_GT (linearResponse (m, 1000.0, fs).output, 0.005) << k;
            }
}

TEST (Ts9Model, DiodeColumnsAreMirrored)
{
    for (unsigned k : { key (0, 0, 0), key (16, 16, 16), key (32, 32, 32), key (9, 21, 30) })
    {
        const auto m = built (k, 96000.0).matrices();
        EXPECT_EQ (m.C.col (1), -m.C.col (0)) << k;
        EXPECT_EQ (m.K.col (1), -m.K.col (0)) << k;
        EXPECT_EQ (m.F.col (1), -m.F.col (0)) << k;
    }
}

TEST (Ts9Model, RebuildsAreReproducible)
{
    Ts9Model m = built (key (16, 16, 16), 176400.0);
    const auto first = m.matrices();

    m.rebuildCoefficients();
    EXPECT_TRUE (sameBits (first, m.matrices()));

    // Nothing carries over from another setting.
    m.applyPotKey (key (3, 30, 7));
    m.sampleRate = 44100.0;
    m.rebuildCoefficients();
    EXPECT_FALSE (sameBits (first, m.matrices()));
    m.applyPotKey (key (16, 16, 16));
    m.sampleRate = 176400.0;
    m.rebuildCoefficients();
    EXPECT_TRUE (sameBits (first, m.matrices()));

    // A fresh model built the same way agrees to the bit.
    EXPECT_TRUE (sameBits (first, built (key (16, 16, 16), 176400.0).matrices()));
}

TEST (Ts9Model, SettingsReachTheMatrices)
{
    const auto reference = built (key (16, 16, 16), 176400.0).matrices();
    EXPECT_FALSE (sameBits (reference, built (key (17, 16, 16), 176400.0).matrices()));
    EXPECT_FALSE (sameBits (reference, built (key (16, 17, 16), 176400.0).matrices()));
    EXPECT_FALSE (sameBits (reference, built (key (16, 16, 17), 176400.0).matrices()));
    EXPECT_FALSE (sameBits (reference, built (key (16, 16, 16), 88200.0).matrices()));
    EXPECT_FALSE (sameBits (reference, built (key (16, 16, 16), 176400.0, 1).matrices()));

    // More level, more output; more drive, more gain in the first stage.
    const auto quiet = built (key (16, 16, 4), 176400.0).matrices();
    const auto loud = built (key (16, 16, 28), 176400.0).matrices();
    EXPECT_GT (linearResponse (loud, 800.0, 176400.0).output, linearResponse (quiet, 800.0, 176400.0).output);
    const auto low = built (key (2, 16, 16), 176400.0).matrices();
    const auto high = built (key (30, 16, 16), 176400.0).matrices();
    EXPECT_GT (linearResponse (high, 800.0, 176400.0).port, linearResponse (low, 800.0, 176400.0).port);
}

TEST (Ts9Model, RebuildAllocatesNothing)
{
    Ts9Model m;
    m.applyPotKey (key (16, 16, 16));
    m.sampleRate = 176400.0;

    const AllocationCounter::Scope scope;
    m.rebuildCoefficients();
    m.applyPotKey (key (31, 2, 9));
    m.rebuildCoefficients();
    EXPECT_EQ (scope.allocations(), 0u);
    EXPECT_EQ (scope.heapAllocations(), 0u);
}
