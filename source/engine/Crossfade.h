#pragma once

#include "BlockKernels.h"
#include "DryDelay.h"

#include <algorithm>
#include <cmath>

// A change of what the engine plays (new matrices, a new oversampling ratio or channel mode, the
// pedal switched on or off, the host's bypass) does not cut from one sound to the other: for a
// short time the path that was audible keeps running on a copy of its state, and the output moves
// from it to the new path. The new path is exactly the one that runs without a fade, so
// once the fade is over the output is the same, sample for sample.
struct CrossfadeTiming
{
    // Long enough that the step of a knob position and the jump between the processed and the dry
    // sound spread over several periods of the highest audible frequencies (no burst), short
    // enough that a knob still answers at once.
    static constexpr double seconds = 0.010;

    // The new path's share at a point t (0..1) of the fade: an S-curve that leaves both ends with
    // zero slope, so a transient at the very start of the new path (a filter resuming an old
    // history) is held down while its share is still tiny; the two shares always sum to one.
    static float shape (float t) noexcept { return t * t * (3.0f - 2.0f * t); }

    // The fade's length in host samples at `hostRate`, the same time at any rate; 0 (no fade)
    // while no rate is known.
    static int lengthFor (double hostRate) noexcept
    {
        if (! (hostRate > 0.0))
            return 0;
        return std::max (1, (int) std::lround (seconds * hostRate));
    }
};

// The path that was audible before the change: its own two channel instances (allocated with the
// engine, so starting a fade copies state and allocates nothing), its dry line, its gains and the
// block kernel of its mode and ratio (none: the dry path).
template <class TS>
struct OutgoingPath
{
    using Kernels = BlockKernels<OutgoingPath>;
    using Kernel = typename Kernels::Kernel;

    // Takes over the path a holder plays in `mode` at `oversamplingIndex` (the dry path when
    // `dryPath` is set or the mode has no kernel): the channels' state and matrices, the filter pair
    // of that ratio, the dry line and the gains.
    template <class Holder>
    void copyFrom (const Holder& h, bool dryPath, int mode, int oversamplingIndex, const DryDelay& dryLine) noexcept
    {
        kernel = dryPath ? nullptr : Kernels::select (mode, oversamplingIndex);
        narrowKernel = Kernels::select (1, oversamplingIndex);
        channelsNeeded = mode == 1 ? 1 : 2;
        if (kernel != nullptr)
        {
            channel0.copyStateFrom (h.channel0, oversamplingIndex);
            channel1.copyStateFrom (h.channel1, oversamplingIndex);
        }
        dryDelay = dryLine;
        inputGain = h.inputGain;
        outputGain = h.outputGain;
    }

    // Runs one stretch in place on `ch` (numChannels ≤ 2), as the path's own kernel or the dry
    // path would.
    void run (float* const* ch, int numChannels, int n, int dryInputs) noexcept
    {
        if (kernel == nullptr)
        {
            if (dryInputs > 0)
                for (int c = dryInputs; c < numChannels; ++c)
                    std::copy (ch[0], ch[0] + n, ch[c]);
            for (int c = 0; c < numChannels; ++c)
                dryDelay.run (c, ch[c], n, true);
            return;
        }
        (numChannels >= channelsNeeded ? kernel : narrowKernel) (*this, ch, n);
    }

    bool isFinite() const noexcept { return channel0.record.isFinite() && channel1.record.isFinite(); }

    static constexpr int scratchLength = 256;
    alignas (16) float scratch[2][scratchLength] {};   // the input, then the old path's output

    TS channel0;
    TS channel1;
    DryDelay dryDelay;
    double inputGain = 0.0, outputGain = 0.0;
    double inputGainTarget = 0.0, outputGainTarget = 0.0, gainStep = 0.0;
    Kernel kernel = nullptr;
    Kernel narrowKernel = nullptr;
    int channelsNeeded = 1;
};
