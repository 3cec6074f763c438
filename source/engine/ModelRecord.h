#pragma once

#include "DiodeTS.h"

#include <Eigen/Core>

#include <cmath>
#include <cstdint>
#include <type_traits>

// Per-sample run time of a circuit model in nonlinear state-space form:
//
//   p  = G·x + H·u              prediction of the port voltage
//   v  = p + K·i(v)             solved for v by Newton iteration
//   y  = D·x + E·u + F·i        output, from the state before the update
//   x ← A·x + B·u + C·i         trapezoidal state update
//
// The record keeps its own copy of the model's nine matrices, handed over by setMatrices. The
// nonlinearity is an anti-parallel device pair across one port: device 0 sees +v, device 1 sees
// −v. Everything is single precision on fixed-size storage; a sample allocates nothing. The
// per-sample members are forced inline: inside the Newton loop a call would cost more than the
// work, since every value live across it goes through memory.
template <class Model>
class ModelRecord
{
public:
    using Traits = typename Model::Traits;
    using Matrices = typename Model::Matrices;
    using Sample = typename Traits::Sample;
    using Device0 = typename Model::Device0;
    using Device1 = typename Model::Device1;

    static constexpr int Nx = Traits::Nx;
    static constexpr int Nu = Traits::Nu;
    static constexpr int Nv = Traits::Nv;
    static constexpr int Ni = Traits::Ni;
    static constexpr int Ny = Traits::Ny;

    static_assert (Nv == 1 && Ni == 2, "the solve handles one port across an anti-parallel device pair");

    // Two exponential junctions get the short Newton iteration below; any other device pair the
    // general one.
    static constexpr bool junctionPair = std::is_base_of_v<ClippingDiode, Device0>
                                         && std::is_base_of_v<ClippingDiode, Device1>
                                         && std::is_same_v<Sample, float>;

    template <int Rows, int Cols>
    using Mat = Eigen::Matrix<Sample, Rows, Cols>;

    void setMatrices (const Matrices& m) noexcept { mat = m; }
    const Matrices& matrices() const noexcept { return mat; }

    EIGEN_ALWAYS_INLINE void predict() noexcept
    {
        p.noalias() = mat.G * x + mat.H * u;
    }

    // Newton's method on f(v) = p + K·i(v) − v, whose derivative is J; the step v − f/J is
    // written v + r/J with the residual r = −f(v). At least one step is always applied, and the
    // iteration ends once |r| (taken before the step) is within the tolerance, or after
    // maxIterations. `i` keeps the currents of the last evaluation, at the voltage before the
    // final step; update() uses those.
    EIGEN_ALWAYS_INLINE void solve() noexcept
    {
        Solve s (*this);
        while (s.running)
            s.iterate (*this);
        s.finish (*this);
    }

    // Two independent records advanced together, each exactly as its own step() would: the
    // solves of the two are interleaved so their latencies overlap.
    [[gnu::noinline]] static void stepPair (ModelRecord& a, Sample sa, ModelRecord& b, Sample sb, Sample& ya, Sample& yb) noexcept
    {
        a.u[0] = sa;
        b.u[0] = sb;
        a.predict();
        b.predict();

        Solve solveA (a), solveB (b);
        while (solveA.running || solveB.running)
        {
            if (solveA.running)
                solveA.iterate (a);
            if (solveB.running)
                solveB.iterate (b);
        }
        solveA.finish (a);
        solveB.finish (b);

        a.update();
        b.update();
        ya = a.y[0];
        yb = b.y[0];
    }

    EIGEN_ALWAYS_INLINE void update() noexcept
    {
        y.noalias() = mat.D * x + mat.E * u + mat.F * i;
        xNext.noalias() = mat.A * x + mat.B * u + mat.C * i;
        x = xNext;
    }

    EIGEN_ALWAYS_INLINE Sample step (Sample s) noexcept
    {
        u[0] = s;
        predict();
        solve();
        update();
        return y[0];
    }

    // Back to rest: the circuit state and every per-sample vector zero; matrices and settings kept.
    void resetState() noexcept
    {
        p.setZero();
        x.setZero();
        u.setZero();
        y.setZero();
        i.setZero();
        xNext.setZero();
        v.setZero();
        dI.setZero();
        J.setZero();
        r.setZero();
        device0.i = device0.g = Sample (0);
        device1.i = device1.g = Sample (0);
    }

    bool isFinite() const noexcept { return x.allFinite() && v.allFinite(); }

    Mat<Nv, 1> p = Mat<Nv, 1>::Zero();
    Mat<Nx, 1> x = Mat<Nx, 1>::Zero();
    Mat<Nu, 1> u = Mat<Nu, 1>::Zero();
    Mat<Ny, 1> y = Mat<Ny, 1>::Zero();
    Mat<Ni, 1> i = Mat<Ni, 1>::Zero();
    Mat<Nv, Nv> J0 = -Mat<Nv, Nv>::Identity();
    Mat<Nx, 1> xNext = Mat<Nx, 1>::Zero();
    Mat<Nv, 1> v = Mat<Nv, 1>::Zero();   // kept as the next sample's starting value
    Mat<Ni, Nv> dI = Mat<Ni, Nv>::Zero();
    Mat<Nv, Nv> J = Mat<Nv, Nv>::Zero(); // for one port, its own factorisation
    Mat<Nv, 1> r = Mat<Nv, 1>::Zero();
    std::uint32_t maxIterations = 70;
    Sample tolerance = Sample (4e-5);
    std::uint32_t iterations = 0;        // Newton iterations of the last solve
    Device0 device0;
    Device1 device1;

private:
    // One solve in registers: the iterate, the last evaluation and the loop state. The record's
    // vectors receive the result in finish().
    struct Solve
    {
        Sample v, p, k0, k1, j0, tolerance;
        std::uint32_t count = 0, limit;
        bool running;
        Sample i0 = 0, i1 = 0, g0 = 0, g1 = 0, j = 0, r = 0;

        // With exponential junctions the residual and Jacobian are affine in e = e^(k·|v|) of
        // the conducting junction: r = (v − p + c) − c·e and J = d·e + J0 with c = K·Is and
        // d = ±K·Is·k. That leaves two dependent operations between e and r instead of five (the
        // sum agrees with v − p − K·i to float rounding); the currents, which only update()
        // needs, are formed beside that chain.
        Sample c0 = 0, c1 = 0, d0 = 0, d1 = 0;

        EIGEN_ALWAYS_INLINE explicit Solve (ModelRecord& m) noexcept
            : v (m.v[0]), p (m.p[0]), k0 (m.mat.K (0, 0)), k1 (m.mat.K (0, 1)), j0 (m.J0 (0, 0)),
              tolerance (m.tolerance), limit (m.maxIterations), running (m.maxIterations > 0),
              i0 (m.i[0]), i1 (m.i[1]), g0 (m.device0.g), g1 (m.device1.g), j (m.J (0, 0)), r (m.r[0])
        {
            if constexpr (junctionPair)
            {
                c0 = k0 * m.device0.Is;
                c1 = k1 * m.device1.Is;
                d0 = k0 * (m.device0.Is * m.device0.k);
                d1 = -(k1 * (m.device1.Is * m.device1.k));
            }
        }

        EIGEN_ALWAYS_INLINE void iterate (ModelRecord& m) noexcept
        {
            if constexpr (junctionPair)
            {
                if (v > Sample (0))
                    junctionStep<0> (m.device0, v, c0, d0, i0, g0, i1, g1);
                else if (v < Sample (0))
                    junctionStep<1> (m.device1, -v, c1, d1, i1, g1, i0, g0);
                else
                    generalStep (m);
            }
            else
            {
                generalStep (m);
            }

            ++count;
            running = std::fabs (r) > tolerance && count < limit;
        }

        // Device `Side` conducting at vd = |v|; the other is cut off and carries nothing.
        template <int Side, class Device>
        EIGEN_ALWAYS_INLINE void junctionStep (const Device& d, Sample vd, Sample c, Sample dk,
                                             Sample& iOn, Sample& gOn, Sample& iOff, Sample& gOff) noexcept
        {
            const Sample a = d.k * vd;
            iOff = gOff = Sample (0);

            if (a > ClippingDiode::tangentLimit)
            {
                // Above the tangent point the current is linear in a: the general form.
                d.tangent (a, iOn, gOn);
                r = v - p - (Side == 0 ? k0 : k1) * iOn;
                j = (Side == 0 ? k0 * gOn : -(k1 * gOn)) + j0;
            }
            else
            {
                const Sample e = junctionExp (a);
                iOn = (e - Sample (1)) * d.Is;
                gOn = (d.Is * d.k) * e;
                r = ((v - p) + c) - c * e;
                j = dk * e + j0;
            }

            applyStep();
        }

        // Both devices evaluated at ±v (any device type; for junctions only at v = ±0 or NaN).
        EIGEN_ALWAYS_INLINE void generalStep (ModelRecord& m) noexcept
        {
            m.device0.evaluate (v);
            m.device1.evaluate (-v);
            i0 = m.device0.i;
            g0 = m.device0.g;
            i1 = m.device1.i;
            g1 = m.device1.g;

            j = k0 * g0 - k1 * g1 + j0;
            r = v - p - (k0 * i0 + k1 * i1);
            applyStep();
        }

        // v ← v + r/J; a zero or sub-normal Jacobian gives no step.
        EIGEN_ALWAYS_INLINE void applyStep() noexcept
        {
            v = v + (std::fabs (j) > Sample (0x1p-128) ? r / j : Sample (0));
        }

        EIGEN_ALWAYS_INLINE void finish (ModelRecord& m) const noexcept
        {
            m.iterations = count;
            if (count == 0)
                return;
            m.v[0] = v;
            m.i[0] = i0;
            m.i[1] = i1;
            m.dI (0, 0) = g0;
            m.dI (1, 0) = -g1;
            m.J (0, 0) = j;
            m.r[0] = r;
            m.device0.i = i0;
            m.device0.g = g0;
            m.device1.i = i1;
            m.device1.g = g1;
        }
    };

    Matrices mat;
};
