#include "Levels.h"

namespace Render
{
void Levels::add (const float* const* channels, int numChannels, int numSamples)
{
    for (int c = 0; c < numChannels; ++c)
    {
        double sum = 0.0;
        for (int i = 0; i < numSamples; ++i)
        {
            const float x = channels[c][i];
            const float a = std::abs (x);
            peak = juce::jmax (peak, a);
            if (a > 1.0f)
                ++overFullScale;
            sum += (double) x * (double) x;
        }
        sumOfSquares += sum;
        count += numSamples;
    }
}

void Levels::add (const juce::AudioBuffer<float>& buffer)
{
    add (buffer.getArrayOfReadPointers(), buffer.getNumChannels(), buffer.getNumSamples());
}

juce::String formatDbfs (double db)
{
    if (db < -200.0)
        return "-inf dBFS";
    return juce::String (db, 1) + " dBFS";
}
}
