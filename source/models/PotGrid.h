#pragma once

// The pedal's knobs each stop at one of 33 positions, 0 to 32. This is the one place the number
// is written: the parameters scale a knob's 0..1 travel to it, the engine packs three positions
// into a pot key, and the model turns positions back into pot travel.
namespace PotGrid
{
    inline constexpr int positions = 33;
    inline constexpr int lastPosition = positions - 1;

    // Pot travel from one position to the next (1/32, exact in binary).
    inline constexpr float travelPerPosition = 1.0f / (float) lastPosition;

    constexpr int clampPosition (int p) noexcept
    {
        return p < 0 ? 0 : (p > lastPosition ? lastPosition : p);
    }
}
