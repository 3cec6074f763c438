#pragma once

#include "GainRamp.h"

#include <atomic>
#include <type_traits>
#include <cmath>

// The per-block loops, one per (mode, oversampling ratio), so the per-sample loop holds no test
// of either. Mode 1: mono; mode 2: mono copied to both outputs; mode 3: two independent channels.
template <class Holder>
struct BlockKernels
{
    using Kernel = void (*) (Holder&, float* const*, int) noexcept;

    static Kernel select (int mode, int oversamplingIndex) noexcept
    {
        const int key = oversamplingIndex + 5 * mode;
        if (key < 5 || key > 19)
            return nullptr;
        return table[key - 5];
    }

private:
    // A sample beyond this magnitude, or one that is not finite, is a fault in the host's stream:
    // it is replaced by silence and never reaches the circuit state.
    static constexpr float inputLimit = 1.0e6f;

    static inline float sanitise (float x) noexcept
    {
        return std::fabs (x) <= inputLimit ? x : 0.0f;
    }

    template <int R, class Channel>
    static inline float run (Channel& channel, float x, double inGain, double outGain) noexcept
    {
        const float u = (float) ((double) sanitise (x) * inGain);
        const float w = channel.template stepOversampled<R> (u);
        return (float) ((double) w * outGain);
    }

    template <int Mode, int R>
    static void kernel (Holder& h, float* const* ch, int n) noexcept
    {
        double inGain = h.inputGain;
        double outGain = h.outputGain;
        const double inTarget = h.inputGainTarget;
        const double outTarget = h.outputGainTarget;
        const double step = h.gainStep;

        float* left = ch[0];
        float* right = Mode == 1 ? nullptr : ch[1];

        for (int s = 0; s < n; ++s)
        {
            inGain = rampTowards (inGain, inTarget, step);
            outGain = rampTowards (outGain, outTarget, step);

            if constexpr (Mode == 1)
            {
                left[s] = run<R> (h.channel0, left[s], inGain, outGain);
            }
            else if constexpr (Mode == 2)
            {
                const float y = run<R> (h.channel0, left[s], inGain, outGain);
                left[s] = y;
                right[s] = y;
            }
            else
            {
                // Both channels in lock step: their solves are independent, so the CPU
                // overlaps them.
                const float ul = (float) ((double) sanitise (left[s]) * inGain);
                const float ur = (float) ((double) sanitise (right[s]) * inGain);
                float wl, wr;
                std::remove_reference_t<decltype (h.channel0)>::template stepOversampledPair<R> (h.channel0, ul, h.channel1, ur, wl, wr);
                left[s] = (float) ((double) wl * outGain);
                right[s] = (float) ((double) wr * outGain);
            }
        }

        h.inputGain = inGain;
        h.outputGain = outGain;
    }

    static constexpr Kernel table[15] = {
        &kernel<1, 1>, &kernel<1, 2>, &kernel<1, 4>, &kernel<1, 8>, &kernel<1, 16>,
        &kernel<2, 1>, &kernel<2, 2>, &kernel<2, 4>, &kernel<2, 8>, &kernel<2, 16>,
        &kernel<3, 1>, &kernel<3, 2>, &kernel<3, 4>, &kernel<3, 8>, &kernel<3, 16>,
    };
};
