#include "engine/JunctionExp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace
{
std::int32_t bitsOf (float x)
{
    std::int32_t b;
    std::memcpy (&b, &x, sizeof b);
    return b;
}

// Correctly rounded e^a: the double result is far more accurate than the float rounding step.
float reference (float a)
{
    return (float) std::exp ((double) a);
}

struct Tally
{
    long count = 0, misrounded = 0;
    int worstUlps = 0;

    void check (float a)
    {
        ++count;
        const float got = junctionExp (a);
        const float want = reference (a);
        if (got != want)
        {
            ++misrounded;
            worstUlps = std::max (worstUlps, std::abs (bitsOf (got) - bitsOf (want)));
        }
    }
};
}

TEST (JunctionExp, ExactAtTheEndsAndAtTableNodes)
{
    EXPECT_EQ (junctionExp (0.0f), 1.0f);
    EXPECT_EQ (junctionExp (-0.0f), 1.0f);
    EXPECT_EQ (junctionExp (1.0f), reference (1.0f));
    EXPECT_EQ (junctionExp (40.0f), reference (40.0f));
    for (int n = 0; n <= 40 * 64; n += 7)
        EXPECT_EQ (junctionExp ((float) n / 64.0f), reference ((float) n / 64.0f)) << n;
}

// Every 97th float of [0, 40] (about eleven million arguments, each binade of the range) and
// every float around the table's rounding boundaries at the top of the range.
TEST (JunctionExp, WithinOneUlpAndAlmostAlwaysCorrectlyRounded)
{
    Tally sweep;
    for (std::int32_t b = 0; b <= bitsOf (40.0f); b += 97)
    {
        float a;
        std::memcpy (&a, &b, sizeof a);
        sweep.check (a);
    }

    Tally edges;
    for (float centre : { 39.0f + 1.0f / 128.0f, 20.0f - 1.0f / 128.0f, 1.0f / 128.0f })
    {
        float a = centre;
        for (int n = 0; n < 20000; ++n)
            a = std::nextafter (a, 0.0f);
        for (int n = 0; n < 40000; ++n, a = std::nextafter (a, 100.0f))
            edges.check (a);
    }

    EXPECT_GT (sweep.count, 10000000);
    EXPECT_LE (sweep.worstUlps, 1);
    EXPECT_LE (edges.worstUlps, 1);
    // About 35 in a million arguments miss the correctly rounded result, all by one unit; next
    // to the boundaries, where the remainder and so the polynomial's error is largest, about 1
    // in a thousand.
    EXPECT_LT ((double) sweep.misrounded / (double) sweep.count, 1e-4);
    EXPECT_LT ((double) edges.misrounded / (double) edges.count, 3e-3);
}
