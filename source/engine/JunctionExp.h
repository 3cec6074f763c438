#pragma once

#include <array>
#include <cstdint>
#include <cstring>

// e^a in single precision for the diode law, for 0 ≤ a ≤ 40: inline and short in latency, since
// the Newton solve evaluates it in one dependent chain several times per sample.
//
// Adding 1.5·2^17 rounds a to a multiple of 1/64 and leaves 64·a in the low mantissa bits, so one
// float addition gives both the table index and, after subtracting again, an exact remainder
// |r| ≤ 1/128. e^(n/64) is the product of two table entries (whole part, 64ths), e^r the cubic
// Taylor polynomial evaluated in double; the product is rounded once to float. Its relative
// error before that rounding is below 2^-32, so the result is the correctly rounded e^a for all
// but a few arguments in 100 000, and one unit in the last place away for those.
//
// Outside [0, 40] the value is unspecified (but the table index is clamped, so nothing is read
// out of bounds); the diode never asks for one.
namespace junction_exp_detail
{
// e^x for |x| ≤ 1 by its Taylor series, to double rounding.
constexpr double series (double x) noexcept
{
    double term = 1.0, sum = 1.0;
    for (int n = 1; n < 30; ++n)
    {
        term *= x / n;
        sum += term;
    }
    return sum;
}

constexpr double power (double base, int exponent) noexcept
{
    double result = 1.0;
    for (; exponent > 0; exponent >>= 1, base *= base)
        if (exponent & 1)
            result *= base;
    return result;
}

constexpr int wholeEntries = 41;    // e^0 … e^40
constexpr int fractionEntries = 64; // e^(j/64)

struct Tables
{
    std::array<double, wholeEntries> whole {};
    std::array<double, fractionEntries> fraction {};

    constexpr Tables() noexcept
    {
        const double e = series (1.0);
        for (int k = 0; k < wholeEntries; ++k)
            whole[(std::size_t) k] = power (e, k);
        for (int j = 0; j < fractionEntries; ++j)
            fraction[(std::size_t) j] = series (j / 64.0);
    }
};

inline constexpr Tables tables {};
} // namespace junction_exp_detail

[[gnu::always_inline]] inline float junctionExp (float a) noexcept
{
    using namespace junction_exp_detail;

    constexpr float shift = 196608.0f; // 1.5·2^17: its float neighbours are 1/64 apart
    const float z = a + shift;
    const float r = a - (z - shift);   // exact

    std::uint32_t zBits, shiftBits;
    std::memcpy (&zBits, &z, sizeof z);
    std::memcpy (&shiftBits, &shift, sizeof shift);
    std::uint32_t n = zBits - shiftBits; // 64·a rounded
    constexpr std::uint32_t lastIndex = wholeEntries * fractionEntries - 1;
    n = n < lastIndex ? n : lastIndex;
    const double scale = tables.whole[n >> 6] * tables.fraction[n & 63];

    const double x = r;
    const double x2 = x * x;
    const double poly = (1.0 + x) + x2 * (0.5 + x * (1.0 / 6.0));
    return (float) (scale * poly);
}
