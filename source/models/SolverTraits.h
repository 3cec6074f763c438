#pragma once

// Compile-time dimensions of a circuit model: states (one per capacitor), inputs, nonlinear port
// voltages (the Newton unknowns), device currents, outputs, the size of the nodal system used by
// the matrix set-up, and the sample type of everything the audio path computes.
template <int Nx_, int Nu_, int Nv_, int Ni_, int Ny_, int Nn_, typename T_>
struct SolverTraitsN
{
    static constexpr int Nx = Nx_;
    static constexpr int Nu = Nu_;
    static constexpr int Nv = Nv_;
    static constexpr int Ni = Ni_;
    static constexpr int Ny = Ny_;
    static constexpr int Nn = Nn_;
    using Sample = T_;
};
