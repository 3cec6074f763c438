#pragma once

// The knob grid of a model (positions per pot) and how many inputs it takes: signal inputs,
// constant inputs and inputs in all.
template <int GridSize_, int NumSignalInputs_, int NumConstantInputs_, int NumInputs_>
struct ModelTraits
{
    static constexpr int gridSize = GridSize_;
    static constexpr int numSignalInputs = NumSignalInputs_;
    static constexpr int numConstantInputs = NumConstantInputs_;
    static constexpr int numInputs = NumInputs_;

    // Pot key: drive × gridSize² + tone × gridSize + level.
    static constexpr unsigned potKey (int drive, int tone, int level) noexcept
    {
        return (unsigned) ((drive * gridSize + tone) * gridSize + level);
    }
};
