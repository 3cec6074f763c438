#include "engine/DiodeTS.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
// Smallest float v with k·v > 40 in float arithmetic, and the float just below it.
template <class Diode>
float firstVoltageAboveLimit (const Diode& d)
{
    float v = 40.0f / d.k;
    while (d.k * v > 40.0f)
        v = std::nextafter (v, 0.0f);
    while (! (d.k * v > 40.0f))
        v = std::nextafter (v, 10.0f);
    return v;
}
}

TEST (Diode, ConstantsOfBothTypes)
{
    const DiodeTS ts;
    const DiodeTS_A tsA;

    EXPECT_EQ (ts.Vt, 0.0258f);
    EXPECT_EQ (ts.n, 1.7423f);
    EXPECT_EQ (ts.Is, 2.52e-9f);
    EXPECT_FLOAT_EQ (ts.k, 22.246277f);
    EXPECT_EQ (ts.k, 1.0f / (1.7423f * 0.0258f));

    EXPECT_EQ (tsA.Vt, 0.0258f);
    EXPECT_EQ (tsA.n, 1.79f);
    EXPECT_EQ (tsA.Is, 2.52e-9f);
    EXPECT_FLOAT_EQ (tsA.k, 21.653458f);

    EXPECT_EQ (ts.i, 0.0f);
    EXPECT_EQ (ts.g, 0.0f);
}

TEST (Diode, ZeroVoltageGivesSmallSignalConductanceAndNoCurrent)
{
    for (float v : { 0.0f, -0.0f })
    {
        DiodeTS d;
        d.evaluate (v);
        EXPECT_EQ (d.i, 0.0f);
        EXPECT_EQ (d.g, d.Is * d.k);

        DiodeTS_A a;
        a.evaluate (v);
        EXPECT_EQ (a.i, 0.0f);
        EXPECT_EQ (a.g, a.Is * a.k);
    }
}

TEST (Diode, ReverseAndNaNVoltagesAreCutOff)
{
    for (float v : { -1e-7f, -std::numeric_limits<float>::denorm_min(), -0.6f, -5.0f,
                     std::numeric_limits<float>::quiet_NaN() })
    {
        DiodeTS d;
        d.evaluate (0.5f); // leaves a current behind that must not survive
        d.evaluate (v);
        EXPECT_EQ (d.i, 0.0f) << v;
        EXPECT_EQ (d.g, 0.0f) << v;
    }
}

TEST (Diode, ExponentialLawBelowTheLimit)
{
    DiodeTS d;
    d.evaluate (0.6f);
    const float e = junctionExp (d.k * 0.6f);
    EXPECT_EQ (d.i, (e - 1.0f) * d.Is);
    EXPECT_EQ (d.g, (d.Is * d.k) * e);
    EXPECT_NEAR (d.i, 2.52e-9 * std::expm1 (0.6 / (1.7423 * 0.0258)), 1e-5 * d.i);

    DiodeTS_A a;
    a.evaluate (0.6f);
    EXPECT_GT (d.i, a.i);
    EXPECT_GT (d.g, a.g);
}

TEST (Diode, TangentAboveTheLimitIsContinuous)
{
    DiodeTS d;
    const float above = firstVoltageAboveLimit (d);
    const float below = std::nextafter (above, 0.0f);
    ASSERT_LE (d.k * below, 40.0f);

    d.evaluate (below);
    const float iBelow = d.i, gBelow = d.g;
    EXPECT_EQ (iBelow, (junctionExp (d.k * below) - 1.0f) * d.Is);

    d.evaluate (above);
    const double e40 = std::exp (40.0);
    const float a = d.k * above;
    EXPECT_EQ (d.i, ((float) ((double) (a - 39.0f) * e40) - 1.0f) * d.Is);
    EXPECT_EQ (d.g, (float) ((double) (d.Is * d.k) * e40));

    // No jump in value or slope across the limit beyond float rounding.
    EXPECT_NEAR (d.i, iBelow, 1e-5 * iBelow);
    EXPECT_NEAR (d.g, gBelow, 1e-5 * gBelow);

    for (float v : { 1.9f, 2.2f, 3.7f, 10.0f, 123.456f })
    {
        DiodeTS t;
        t.evaluate (v);
        EXPECT_EQ (t.i, ((float) ((double) (t.k * v - 39.0f) * e40) - 1.0f) * t.Is) << v;
        EXPECT_EQ (t.g, d.g) << v;
    }

    // Above it the current grows linearly with slope e^40·Is·k.
    DiodeTS far;
    far.evaluate (2.5f);
    const float g = far.g;
    DiodeTS farther;
    farther.evaluate (3.0f);
    EXPECT_EQ (farther.g, g);
    EXPECT_NEAR (farther.i - far.i, 0.5 * g, 1e-5 * 0.5 * g);
}

TEST (Diode, LimitVoltageOfEachTypeFollowsItsEmissionCoefficient)
{
    EXPECT_NEAR (firstVoltageAboveLimit (DiodeTS()), 1.80, 0.005);
    EXPECT_NEAR (firstVoltageAboveLimit (DiodeTS_A()), 1.85, 0.005);
}
