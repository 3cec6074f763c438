#pragma once

#include <array>

// The dry signal's delay line: it keeps the last `latency` input samples of each channel so that
// the unprocessed path (pedal off, host bypass) leaves with the same delay as the oversampled
// circuit. It is fed on every block, processed or not, so switching between the paths never
// replays stale audio.
class DryDelay
{
public:
    static constexpr int latency = 15;
    static constexpr int maxChannels = 2;

    // Records the block of channel c; when `replace` is set the block is replaced by its delayed
    // copy (bit-exact).
    void run (int c, float* data, int numSamples, bool replace) noexcept
    {
        auto& line = lines[(size_t) c];
        int pos = positions[(size_t) c];

        if (replace)
        {
            for (int s = 0; s < numSamples; ++s)
            {
                const float delayed = line[(size_t) pos];
                line[(size_t) pos] = data[s];
                data[s] = delayed;
                pos = pos + 1 == latency ? 0 : pos + 1;
            }
        }
        else
        {
            for (int s = 0; s < numSamples; ++s)
            {
                line[(size_t) pos] = data[s];
                pos = pos + 1 == latency ? 0 : pos + 1;
            }
        }

        positions[(size_t) c] = pos;
    }

    void clear (int c) noexcept
    {
        lines[(size_t) c].fill (0.0f);
    }

private:
    std::array<std::array<float, latency>, maxChannels> lines {};
    std::array<int, maxChannels> positions {};
};
