#pragma once

#include <cmath>

// Resistance laws of the three pedal pots, as functions of the pot travel 0..1. Each law fixes
// which steps are single and which double precision, so that a knob position always yields the
// same resistances to the last bit.
namespace PotLaws
{
    // Drive: audio-taper 500 kΩ pot behind 51 kΩ ("Original"), or a 541 kΩ travel behind
    // 10 kΩ ("Modded"); both end at 551 kΩ.
    inline double drive (float travel, int modFlag) noexcept
    {
        const float base = modFlag == 0 ? 51000.0f : 10000.0f;
        const double taper = std::pow (20.0, (double) travel);
        const double span = (double) (551000.0f - base);
        const float swept = (float) ((taper - 1.0) * span * 0.05263157894736842);
        return (double) (swept + base);
    }

    struct Split
    {
        double first;
        double second;
    };

    // Tone: S-shaped 20 kΩ pot; `first` is the part from the filter node, `second` the part to
    // the op-amp's inverting input.
    inline Split tone (float travel) noexcept
    {
        const float a = (travel - 0.5f) * 5.0f;
        const float fromFilter = (float) (std::tanh ((double) a) * 0.5067827807373891 * 19999.0 + 9999.5) + 1.0f;
        const float toOpAmp = 20000.0f - fromFilter;
        return { (double) fromFilter, (double) toOpAmp };
    }

    // Level: linear 100 kΩ pot whose lower part never drops below 1 kΩ; `first` is the part
    // between the stage output and the wiper, `second` the part from the wiper to ground.
    inline Split level (float travel) noexcept
    {
        const float scaled = travel * 98999.0f;
        const float bottom = scaled + 1000.0f;
        return { 100000.0 - (double) bottom, (double) bottom };
    }
}
