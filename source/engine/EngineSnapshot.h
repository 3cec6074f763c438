#pragma once

// Everything the audio thread needs to know about the engine's configuration, handed over as
// one consistent value: the processing mode, the oversampling index, the gain ramp's step and
// the model's matrices.
template <class Matrices>
struct EngineSnapshot
{
    int mode = 0;
    int oversamplingIndex = 0;
    double gainStep = 0.0;
    Matrices matrices {};
};
