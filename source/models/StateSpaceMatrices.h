#pragma once

#include <Eigen/Core>

#include <type_traits>

// The nine single-precision matrices of a circuit in nonlinear state-space form:
//   p = G·x + H·u,   v = p + K·i(v),   y = D·x + E·u + F·i,   x ← A·x + B·u + C·i
// Fixed size and trivially copyable, so a complete set can be handed to the audio thread by value.
template <class ST>
struct StateSpaceMatrices
{
    using Sample = typename ST::Sample;
    template <int Rows, int Cols>
    using Mat = Eigen::Matrix<Sample, Rows, Cols>;

    Mat<ST::Nx, ST::Nx> A = Mat<ST::Nx, ST::Nx>::Zero();
    Mat<ST::Nx, ST::Nu> B = Mat<ST::Nx, ST::Nu>::Zero();
    Mat<ST::Nx, ST::Ni> C = Mat<ST::Nx, ST::Ni>::Zero();
    Mat<ST::Nv, ST::Nx> G = Mat<ST::Nv, ST::Nx>::Zero();
    Mat<ST::Nv, ST::Nu> H = Mat<ST::Nv, ST::Nu>::Zero();
    Mat<ST::Nv, ST::Ni> K = Mat<ST::Nv, ST::Ni>::Zero();
    Mat<ST::Ny, ST::Nx> D = Mat<ST::Ny, ST::Nx>::Zero();
    Mat<ST::Ny, ST::Nu> E = Mat<ST::Ny, ST::Nu>::Zero();
    Mat<ST::Ny, ST::Ni> F = Mat<ST::Ny, ST::Ni>::Zero();
};
