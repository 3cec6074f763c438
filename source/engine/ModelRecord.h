#pragma once

#include <Eigen/Core>

#include <cmath>
#include <cstdint>

// Per-sample run time of a circuit model in nonlinear state-space form:
//
//   p  = G·x + H·u              prediction of the port voltage
//   v  = p + K·i(v)             solved for v by Newton iteration
//   y  = D·x + E·u + F·i        output, from the state before the update
//   x ← A·x + B·u + C·i         trapezoidal state update
//
// The record keeps its own copy of the model's nine matrices, handed over by setMatrices. The
// nonlinearity is an anti-parallel diode pair across one port: device 0 sees +v, device 1 sees
// −v. Everything is single precision on fixed-size storage; a sample allocates nothing.
template <class Model>
class ModelRecord
{
public:
    using Traits = typename Model::Traits;
    using Matrices = typename Model::Matrices;
    using Sample = typename Traits::Sample;

    static constexpr int Nx = Traits::Nx;
    static constexpr int Nu = Traits::Nu;
    static constexpr int Nv = Traits::Nv;
    static constexpr int Ni = Traits::Ni;
    static constexpr int Ny = Traits::Ny;

    static_assert (Nv == 1 && Ni == 2, "the solve handles one port across an anti-parallel device pair");

    template <int Rows, int Cols>
    using Mat = Eigen::Matrix<Sample, Rows, Cols>;

    void setMatrices (const Matrices& m) noexcept { mat = m; }
    const Matrices& matrices() const noexcept { return mat; }

    void predict() noexcept
    {
        p.noalias() = mat.G * x + mat.H * u;
    }

    // Newton's method on f(v) = p + K·i(v) − v, whose derivative is J; the step v − f/J is
    // written v + r/J with the residual r = −f(v). At least one step is always applied, and the
    // iteration ends once |r| (taken before the step) is within the tolerance, or after
    // maxIterations. `i` keeps the currents of the last evaluation, at the voltage before the
    // final step; update() uses those.
    void solve() noexcept
    {
        iterations = 0;
        Sample err = tolerance + Sample (1);
        while (err > tolerance && iterations < maxIterations)
            err = newtonStep();
    }

    // Two independent records advanced together, each exactly as its own step() would: the
    // solves of the two are interleaved so their latencies overlap.
    static void stepPair (ModelRecord& a, Sample sa, ModelRecord& b, Sample sb, Sample& ya, Sample& yb) noexcept
    {
        a.u[0] = sa;
        b.u[0] = sb;
        a.predict();
        b.predict();

        a.iterations = 0;
        b.iterations = 0;
        Sample errA = a.tolerance + Sample (1), errB = b.tolerance + Sample (1);
        bool runA = true, runB = true;
        while (runA || runB)
        {
            if (runA)
            {
                errA = a.newtonStep();
                runA = errA > a.tolerance && a.iterations < a.maxIterations;
            }
            if (runB)
            {
                errB = b.newtonStep();
                runB = errB > b.tolerance && b.iterations < b.maxIterations;
            }
        }

        a.update();
        b.update();
        ya = a.y[0];
        yb = b.y[0];
    }

    void update() noexcept
    {
        y.noalias() = mat.D * x + mat.E * u + mat.F * i;
        xNext.noalias() = mat.A * x + mat.B * u + mat.C * i;
        x = xNext;
    }

    Sample step (Sample s) noexcept
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
    typename Model::Device0 device0;
    typename Model::Device1 device1;

private:
    // One Newton iteration; returns |r| taken before the step.
    Sample newtonStep() noexcept
    {
        evaluateDevices (v[0]);
        const Sample k0 = mat.K (0, 0);
        const Sample k1 = mat.K (0, 1);
        const Sample i0 = device0.i, g0 = device0.g;
        const Sample i1 = device1.i, g1 = device1.g;

        dI (0, 0) = g0;
        dI (1, 0) = -g1;
        i[0] = i0;
        i[1] = i1;

        J (0, 0) = k0 * g0 - k1 * g1 + J0 (0, 0);
        r[0] = v[0] - p[0] - (k0 * i0 + k1 * i1);

        const Sample j = J (0, 0);
        const Sample delta = std::fabs (j) > Sample (0x1p-128) ? r[0] / j : Sample (0);
        v[0] = v[0] + delta;

        ++iterations;
        return std::sqrt (r[0] * r[0]);
    }

    // Device 0 at +v, device 1 at −v. A diode conducts forwards only, so on either side of 0 one
    // of the pair is cut off and needs no evaluation; at ±0 and for NaN both are evaluated.
    void evaluateDevices (Sample vp) noexcept
    {
        if (vp > Sample (0))
        {
            device0.evaluate (vp);
            device1.i = device1.g = Sample (0);
        }
        else if (vp < Sample (0))
        {
            device0.i = device0.g = Sample (0);
            device1.evaluate (-vp);
        }
        else
        {
            device0.evaluate (vp);
            device1.evaluate (-vp);
        }
    }

    Matrices mat;
};
