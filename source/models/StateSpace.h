#pragma once

#include "models/StateSpaceMatrices.h"

#include <Eigen/Core>
#include <Eigen/LU>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

// A voltage difference v_positive − v_negative between two nodes of a network.
struct NodePair
{
    std::int32_t positive;
    std::int32_t negative;
};

// Double-precision description of a network in modified nodal form, written by a model's stamp
// routine. Unknowns are the node voltages (index 0 is ground), then one current per ideal op-amp
// and one per voltage source; the system is S·v = Qx·x + Qu·u + Qi·i, where x are the
// capacitors' companion currents, u the source voltages and i the device currents.
template <class ST>
struct NodalSystem
{
    static constexpr int Nn = ST::Nn;
    static constexpr int Nx = ST::Nx;
    static constexpr int Nu = ST::Nu;
    static constexpr int Ni = ST::Ni;

    Eigen::Matrix<double, Nn, Nn> S = Eigen::Matrix<double, Nn, Nn>::Zero();
    Eigen::Matrix<double, Nn, Nx> Qx = Eigen::Matrix<double, Nn, Nx>::Zero();
    Eigen::Matrix<double, Nn, Nu> Qu = Eigen::Matrix<double, Nn, Nu>::Zero();
    Eigen::Matrix<double, Nn, Ni> Qi = Eigen::Matrix<double, Nn, Ni>::Zero();
    Eigen::Matrix<double, Nx, Nx> twoGc = Eigen::Matrix<double, Nx, Nx>::Zero(); // diagonal 4·fs·C
    Eigen::Matrix<double, Nx, Nx> minusI = Eigen::Matrix<double, Nx, Nx>::Zero();

    // Zeroes every entry; the stamps below then add to it.
    void clear() noexcept
    {
        S.setZero();
        Qx.setZero();
        Qu.setZero();
        Qi.setZero();
        twoGc.setZero();
        minusI = -Eigen::Matrix<double, Nx, Nx>::Identity();
    }

    void addConductance (int a, int b, double g) noexcept
    {
        S (a, a) += g;
        S (b, b) += g;
        S (a, b) -= g;
        S (b, a) -= g;
    }

    void addResistor (int a, int b, double ohms) noexcept { addConductance (a, b, 1.0 / ohms); }

    // Trapezoidal companion of capacitor `state` from a to b: the conductance gc = 2·fs·C in
    // parallel with the state's current source, so that the capacitor current from a to b is
    // gc·(v_a − v_b) − x_state.
    void addCapacitor (int state, int a, int b, double farads, double fs) noexcept
    {
        addConductance (a, b, 1.0 / (1.0 / (2.0 * fs * farads)));
        twoGc (state, state) = 4.0 * fs * farads;
        Qx (a, state) += 1.0;
        Qx (b, state) -= 1.0;
    }

    // Ideal op-amp: the extra unknown j is its output current; row j holds v_inverting = v_nonInverting.
    void addOpAmp (int j, int output, int nonInverting, int inverting) noexcept
    {
        S (output, j) += 1.0;
        S (j, inverting) += 1.0;
        S (j, nonInverting) -= 1.0;
    }

    // Voltage source `input` from node a to ground; the extra unknown j is its current.
    void addVoltageSource (int input, int j, int a) noexcept
    {
        S (a, j) += 1.0;
        S (0, j) -= 1.0;
        S (j, a) += 1.0;
        S (j, 0) -= 1.0;
        Qu (j, input) = 1.0;
    }

    // Device current m, flowing through its device from node a to node b.
    void addDeviceCurrent (int m, int a, int b) noexcept
    {
        Qi (b, m) += 1.0;
        Qi (a, m) -= 1.0;
    }
};

// Sets every entry whose magnitude is below the smallest normal float, and every NaN, to exactly
// 0, so that no single-precision denormal reaches the run-time matrices.
template <class Derived>
void flushTiny (Eigen::MatrixBase<Derived>& m) noexcept
{
    constexpr double smallestNormalFloat = 0x1p-126;

    for (Eigen::Index c = 0; c < m.cols(); ++c)
        for (Eigen::Index r = 0; r < m.rows(); ++r)
            if (! (std::fabs (m (r, c)) >= smallestNormalFloat))
                m (r, c) = 0.0;
}

// Row k of the result is row a minus row b of `nodeRows`, for the k-th pair (a, b): the voltage
// of each pair in terms of whatever the columns of `nodeRows` stand for.
template <std::size_t N, class Derived>
Eigen::Matrix<double, (int) N, Derived::ColsAtCompileTime>
    pairRows (const Eigen::MatrixBase<Derived>& nodeRows, const std::array<NodePair, N>& pairs) noexcept
{
    Eigen::Matrix<double, (int) N, Derived::ColsAtCompileTime> rows;
    for (std::size_t k = 0; k < N; ++k)
        rows.row ((Eigen::Index) k) = nodeRows.row (pairs[k].positive) - nodeRows.row (pairs[k].negative);
    return rows;
}

// Reduces a stamped network to its nonlinear state-space matrices (the discrete K-method):
//   node voltages        v = Px·x + Pu·u + Pi·i       from the inverse of S without ground
//   capacitor voltages   Ax, Au, Ai                    rows of the state pairs
//   state update         A = 2Gc·Ax − I, B = 2Gc·Au, C = 2Gc·Ai
//   port voltages        G, H, K                       rows of the port pairs
//   outputs              D, E, F                       rows of the output pairs
// All arithmetic is double on fixed-size storage (nothing is allocated); each result is rounded
// to single precision once, when it is stored.
template <class ST>
void deriveStateSpace (const NodalSystem<ST>& net,
                       const std::array<NodePair, (std::size_t) ST::Nx>& statePairs,
                       const std::array<NodePair, (std::size_t) ST::Nv>& portPairs,
                       const std::array<NodePair, (std::size_t) ST::Ny>& outputPairs,
                       StateSpaceMatrices<ST>& out) noexcept
{
    using Sample = typename ST::Sample;
    constexpr int Nn = ST::Nn, Nx = ST::Nx, Nu = ST::Nu, Ni = ST::Ni;
    constexpr int Nr = Nn - 1; // without ground

    // Node voltages in terms of x, u and i; ground (row 0) stays at 0 V.
    Eigen::Matrix<double, Nr, Nr> Sinv =
        Eigen::PartialPivLU<Eigen::Matrix<double, Nr, Nr>> (net.S.template bottomRightCorner<Nr, Nr>())
            .solve (Eigen::Matrix<double, Nr, Nr>::Identity());
    flushTiny (Sinv);

    Eigen::Matrix<double, Nn, Nx> Px = Eigen::Matrix<double, Nn, Nx>::Zero();
    Eigen::Matrix<double, Nn, Nu> Pu = Eigen::Matrix<double, Nn, Nu>::Zero();
    Eigen::Matrix<double, Nn, Ni> Pi = Eigen::Matrix<double, Nn, Ni>::Zero();
    Px.template bottomRows<Nr>().noalias() = Sinv * net.Qx.template bottomRows<Nr>();
    Pu.template bottomRows<Nr>().noalias() = Sinv * net.Qu.template bottomRows<Nr>();
    Pi.template bottomRows<Nr>().noalias() = Sinv * net.Qi.template bottomRows<Nr>();
    flushTiny (Px);
    flushTiny (Pu);
    flushTiny (Pi);

    // Trapezoidal update of the companion currents: x[n] = 2·gc·v_C[n] − x[n−1].
    out.A = (net.twoGc * pairRows (Px, statePairs) + net.minusI).template cast<Sample>();
    out.B = (net.twoGc * pairRows (Pu, statePairs)).template cast<Sample>();
    out.C = (net.twoGc * pairRows (Pi, statePairs)).template cast<Sample>();

    out.G = pairRows (Px, portPairs).template cast<Sample>();
    out.H = pairRows (Pu, portPairs).template cast<Sample>();
    out.K = pairRows (Pi, portPairs).template cast<Sample>();

    out.D = pairRows (Px, outputPairs).template cast<Sample>();
    out.E = pairRows (Pu, outputPairs).template cast<Sample>();
    out.F = pairRows (Pi, outputPairs).template cast<Sample>();
}
