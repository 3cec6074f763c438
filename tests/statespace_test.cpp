#include "models/SolverTraits.h"
#include "models/StateSpace.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <Eigen/Core>

#include <cmath>
#include <limits>

namespace
{
// A source driving an RC low-pass: u at node 1, R from 1 to 2, C from 2 to ground (state 0); the
// device current enters node 2 from ground. Port and output are both taken at node 2 and node 1.
using RcTraits = SolverTraitsN<1, 1, 1, 1, 1, 4, float>;

struct RcNetwork : NodalSystem<RcTraits>
{
    static constexpr std::array<NodePair, 1> statePairs { { { 2, 0 } } };
    static constexpr std::array<NodePair, 1> portPairs { { { 2, 0 } } };
    static constexpr std::array<NodePair, 1> outputPairs { { { 1, 0 } } };

    void stamp (double R, double Cap, double fs)
    {
        clear();
        addResistor (1, 2, R);
        addCapacitor (0, 2, 0, Cap, fs);
        addVoltageSource (0, 3, 1);
        addDeviceCurrent (0, 0, 2);
    }
};

// A non-inverting op-amp stage: u at node 1 = "+", "−" at node 2, output at node 3, Rf from 3 to
// 2, Rg from 2 to ground, a capacitor loading the output (state 0). The device current enters the
// inverting input from ground.
using AmpTraits = SolverTraitsN<1, 1, 1, 1, 1, 6, float>;

struct AmpNetwork : NodalSystem<AmpTraits>
{
    static constexpr std::array<NodePair, 1> statePairs { { { 3, 0 } } };
    static constexpr std::array<NodePair, 1> portPairs { { { 2, 0 } } };
    static constexpr std::array<NodePair, 1> outputPairs { { { 3, 0 } } };

    void stamp (double Rf, double Rg, double fs)
    {
        clear();
        addResistor (3, 2, Rf);
        addResistor (2, 0, Rg);
        addCapacitor (0, 3, 0, 1e-6, fs);
        addOpAmp (4, 3, 1, 2);
        addVoltageSource (0, 5, 1);
        addDeviceCurrent (0, 0, 2);
    }
};
}

TEST (StateSpace, FlushTinyRemovesWhatWouldBeFloatDenormals)
{
    Eigen::MatrixXd m (2, 3);
    m << 1e-40, 2e-38, std::numeric_limits<double>::quiet_NaN(),
        0x1p-126, -1e-40, -3.5;
    flushTiny (m);

    EXPECT_EQ (m (0, 0), 0.0);
    EXPECT_FALSE (std::signbit (m (1, 1)));
    EXPECT_EQ (m (1, 1), 0.0);
    EXPECT_EQ (m (0, 1), 2e-38);
    EXPECT_EQ (m (0, 2), 0.0);
    EXPECT_EQ (m (1, 0), 0x1p-126);
    EXPECT_EQ (m (1, 2), -3.5);
}

TEST (StateSpace, RcLowPassMatchesTheBilinearDiscretisation)
{
    const double R = 4700.0, Cap = 4.7e-8, fs = 96000.0;
    RcNetwork net;
    net.stamp (R, Cap, fs);
    StateSpaceMatrices<RcTraits> m;
    deriveStateSpace<RcTraits> (net, RcNetwork::statePairs, RcNetwork::portPairs, RcNetwork::outputPairs, m);

    const double g = 1.0 / R, gc = 2.0 * fs * Cap;
    EXPECT_FLOAT_EQ (m.A (0, 0), (float) ((gc - g) / (gc + g)));
    EXPECT_FLOAT_EQ (m.B (0, 0), (float) (2.0 * gc * g / (gc + g)));
    EXPECT_FLOAT_EQ (m.C (0, 0), (float) (2.0 * gc / (gc + g)));
    EXPECT_FLOAT_EQ (m.G (0, 0), (float) (1.0 / (gc + g)));
    EXPECT_FLOAT_EQ (m.H (0, 0), (float) (g / (gc + g)));
    EXPECT_FLOAT_EQ (m.K (0, 0), (float) (1.0 / (gc + g)));

    // An output pair against ground is the node's own row: v_1 = u exactly.
    EXPECT_EQ (m.D (0, 0), 0.0f);
    EXPECT_EQ (m.E (0, 0), 1.0f);
    EXPECT_EQ (m.F (0, 0), 0.0f);
}

TEST (StateSpace, RcStepResponseSettlesAtTheInput)
{
    RcNetwork net;
    net.stamp (1000.0, 1e-6, 48000.0);
    StateSpaceMatrices<RcTraits> m;
    deriveStateSpace<RcTraits> (net, RcNetwork::statePairs, RcNetwork::portPairs, RcNetwork::outputPairs, m);

    // Capacitor voltage after ten time constants of a unit step, run through the matrices.
    float x = 0.0f, vc = 0.0f;
    for (int n = 0; n < 480; ++n)
    {
        vc = m.G (0, 0) * x + m.H (0, 0);
        x = m.A (0, 0) * x + m.B (0, 0);
    }
    EXPECT_NEAR (vc, 1.0f, 1e-4f);
}

TEST (StateSpace, OpAmpStageHasTheNonInvertingGain)
{
    AmpNetwork net;
    net.stamp (100000.0, 4700.0, 44100.0);
    StateSpaceMatrices<AmpTraits> m;
    deriveStateSpace<AmpTraits> (net, AmpNetwork::statePairs, AmpNetwork::portPairs, AmpNetwork::outputPairs, m);

    // The ideal output does not depend on its capacitive load.
    EXPECT_FLOAT_EQ (m.E (0, 0), (float) (1.0 + 100000.0 / 4700.0));
    EXPECT_EQ (m.D (0, 0), 0.0f);
    // Current pushed into the inverting input must leave through Rf: v_out drops by Rf·i.
    EXPECT_FLOAT_EQ (m.F (0, 0), -100000.0f);
    // The virtual short holds the inverting input at the input voltage.
    EXPECT_FLOAT_EQ (m.H (0, 0), 1.0f);
    EXPECT_EQ (m.K (0, 0), 0.0f);
    EXPECT_EQ (m.G (0, 0), 0.0f);
}

TEST (StateSpace, DerivationAllocatesNothing)
{
    if (AllocationCounter::heapCountAvailable())
    {
        // The counter sees Eigen's own storage, not only operator new.
        const AllocationCounter::Scope control;
        Eigen::MatrixXd dynamic = Eigen::MatrixXd::Zero (14, 14);
        EXPECT_EQ (dynamic.sum(), 0.0);
        EXPECT_GE (control.heapAllocations(), 1u);
    }

    AmpNetwork net;
    net.stamp (100000.0, 4700.0, 44100.0);
    StateSpaceMatrices<AmpTraits> m;

    const AllocationCounter::Scope scope;
    deriveStateSpace<AmpTraits> (net, AmpNetwork::statePairs, AmpNetwork::portPairs, AmpNetwork::outputPairs, m);
    EXPECT_EQ (scope.allocations(), 0u);
    EXPECT_EQ (scope.heapAllocations(), 0u);
}
