#pragma once

#include "EngineSettings.h"

// Everything the audio thread needs to know about the engine's configuration, handed over as
// one consistent value: the settings it was built from, the processing mode and oversampling
// index they select, the host rate and the rate the matrices were derived for, the gain ramp's
// step and the model's matrices with the number of the build that derived them.
template <class Matrices>
struct EngineSnapshot
{
    EngineSettings settings {};
    int mode = 0;
    int oversamplingIndex = 0;
    double sampleRate = 0.0;
    double modelSampleRate = 0.0;
    double gainStep = 0.0;
    Matrices matrices {};
    unsigned matricesVersion = 0;
};
