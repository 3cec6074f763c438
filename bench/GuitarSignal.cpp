#include "GuitarSignal.h"

#include <cmath>
#include <random>

namespace
{
// One plucked string (Karplus–Strong with a two-point average as the loss filter).
void pluck (std::vector<float>& out, size_t start, double frequency, double rate, float amplitude, std::mt19937& rng)
{
    const size_t period = (size_t) std::lround (rate / frequency);
    std::vector<float> line (period);
    std::uniform_real_distribution<float> noise (-1.0f, 1.0f);
    for (auto& v : line)
        v = noise (rng) * amplitude;

    size_t pos = 0;
    for (size_t i = start; i < out.size(); ++i)
    {
        const size_t next = (pos + 1) % period;
        const float y = line[pos];
        line[pos] = 0.996f * 0.5f * (line[pos] + line[next]);
        out[i] += y;
        pos = next;
    }
}
}

std::vector<float> makeGuitarSignal (double rate, double seconds)
{
    std::vector<float> out ((size_t) (rate * seconds), 0.0f);
    std::mt19937 rng (42);
    const double notes[] = { 82.41, 110.0, 146.83, 196.0 };   // E2 A2 D3 G3
    for (int k = 0; k < 4; ++k)
        pluck (out, (size_t) (k * 0.25 * rate), notes[k], rate, 0.5f, rng);
    const double chord[] = { 82.41, 123.47, 164.81, 207.65, 246.94, 329.63 };   // E major
    for (double f : chord)
        pluck (out, (size_t) (1.2 * rate), f, rate, 0.3f, rng);

    double sum = 0.0;
    for (float v : out)
        sum += (double) v * v;
    const double rms = std::sqrt (sum / (double) out.size());
    const float scale = (float) (std::pow (10.0, -18.0 / 20.0) / rms);
    for (auto& v : out)
        v *= scale;
    return out;
}
