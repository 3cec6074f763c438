#include "PluckedGuitar.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Signal
{
namespace
{
constexpr double twoPi = 6.283185307179586476925286766559;

template <typename T>
T clampTo (T low, T high, T x) { return std::min (high, std::max (low, x)); }

// xorshift64*: the same noise on every platform.
class Noise
{
public:
    explicit Noise (uint64_t seed) : state (seed | 1) {}

    double next()   // -1..1
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        const uint64_t r = state * 2685821657736338717ull;
        return (double) (r >> 11) / (double) (1ull << 52) - 1.0;
    }

private:
    uint64_t state;
};

// One string: a delay line closed through a two-point lowpass (the losses that make high
// harmonics die first), an allpass for the fractional part of the period, and a loop gain set
// for the decay time.
class StringVoice
{
public:
    StringVoice (const Pluck& p, double rate, Noise& noise)
        : pluck (p), sampleRate (rate)
    {
        const double period = rate / p.frequency;
        const double lowpassDelay = brightness;
        length = std::max (2, (int) std::floor (period - lowpassDelay - 0.5));
        const double fraction = period - lowpassDelay - length;    // 0.5 .. 1.5
        allpass = (1.0 - fraction) / (1.0 + fraction);

        // Low strings ring longer than high ones.
        const double decay = clampTo (4.0, 16.0, 13.0 * std::pow (110.0 / p.frequency, 0.5));
        ringingGain = std::pow (10.0, -3.0 / (p.frequency * decay));
        dampedGain = std::pow (10.0, -3.0 / (p.frequency * 0.07));
        gain = ringingGain;

        // A triangle with its apex at the pick position and a trace of noise for the pick's
        // scrape, rounded by two passes of a circular moving average (a softer pluck for quieter
        // notes: the average is wider and takes away more of the upper harmonics).
        std::vector<double> shape ((size_t) length);
        const double apex = clampTo (0.05, 0.5, p.pickPosition) * length;
        for (int i = 0; i < length; ++i)
        {
            const double x = i < apex ? i / apex : (length - i) / (length - apex);
            shape[(size_t) i] = x + 0.02 * noise.next();
        }
        const int width = std::max (1, (int) std::lround (length * (0.04 + 0.06 * (1.0 - p.velocity))));
        for (int pass = 0; pass < 2; ++pass)
        {
            std::vector<double> averaged ((size_t) length);
            double sum = 0.0;
            for (int k = 0; k < width; ++k)
                sum += shape[(size_t) (k % length)];
            for (int i = 0; i < length; ++i)
            {
                averaged[(size_t) ((i + width / 2) % length)] = sum / width;
                sum += shape[(size_t) ((i + width) % length)] - shape[(size_t) i];
            }
            shape.swap (averaged);
        }
        line.resize ((size_t) length);
        for (int i = 0; i < length; ++i)
            line[(size_t) i] = p.velocity * shape[(size_t) i];

        // Remove the mean so the string starts without an offset.
        double mean = 0.0;
        for (auto v : line)
            mean += v;
        mean /= length;
        for (auto& v : line)
            v -= mean;

        history.assign ((size_t) length + 1, 0.0);
        pickupTap = clampTo (1, length, (int) std::lround (0.22 * period));

        // One silent period fills the pickup's view of the string, so the note starts with the
        // string already in motion rather than with a step from nothing.
        for (int i = 0; i <= length; ++i)
            previousView = view (ringingGain);
    }

    // The pickup senses the velocity of the string under it: the change of its view.
    double next (std::int64_t sampleIndex)
    {
        const double t = (double) sampleIndex / sampleRate - pluck.start;
        const double target = t < pluck.duration ? ringingGain : dampedGain;
        gain += (target - gain) * 0.002;   // a finger settles on the string over a few ms

        const double v = view (gain);
        const double velocity = v - previousView;
        previousView = v;
        return velocity;
    }

    std::int64_t firstSample() const { return (std::int64_t) std::lround (pluck.start * sampleRate); }

private:
    // One step of the loop; returns the string displacement as the pickup sees it.
    double view (double loopGain)
    {
        const double x = line[(size_t) position];
        const double lowpassed = (1.0 - brightness) * x + brightness * previous;
        previous = x;
        const double tuned = allpass * lowpassed + allpassIn - allpass * allpassOut;
        allpassIn = lowpassed;
        allpassOut = tuned;

        const double out = loopGain * tuned;
        line[(size_t) position] = out;
        position = (position + 1) % length;

        // The pickup sits at one point of the string: a comb over the string's two waves.
        history[(size_t) historyPosition] = out;
        const int tap = (historyPosition - pickupTap + (int) history.size()) % (int) history.size();
        historyPosition = (historyPosition + 1) % (int) history.size();
        return out - history[(size_t) tap];
    }

    static constexpr double brightness = 0.25;

    Pluck pluck;
    double sampleRate;
    std::vector<double> line, history;
    int length = 0, position = 0, historyPosition = 0, pickupTap = 1;
    double allpass = 0.0, allpassIn = 0.0, allpassOut = 0.0, previous = 0.0;
    double ringingGain = 0.0, dampedGain = 0.0, gain = 0.0, previousView = 0.0;
};

// Second-order resonant lowpass (the pickup coil with the cable's capacitance).
struct Resonance
{
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    Resonance (double frequency, double q, double rate)
    {
        const double w = twoPi * frequency / rate;
        const double alpha = std::sin (w) / (2.0 * q);
        const double c = std::cos (w);
        const double a0 = 1.0 + alpha;
        b0 = (1.0 - c) / 2.0 / a0;
        b1 = (1.0 - c) / a0;
        b2 = b0;
        a1 = -2.0 * c / a0;
        a2 = (1.0 - alpha) / a0;
    }

    double process (double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1; x1 = x; y2 = y1; y1 = y;
        return y;
    }
};
}

std::vector<Pluck> demoPhrase()
{
    std::vector<Pluck> p = {
        // A minor pentatonic, single notes, the last one held.
        { 0.00, 110.00, 0.85, 0.42, 0.16 },
        { 0.45, 130.81, 0.75, 0.42, 0.15 },
        { 0.90, 146.83, 0.80, 0.42, 0.17 },
        { 1.35, 164.81, 0.75, 0.28, 0.14 },
        { 1.65, 196.00, 0.80, 0.28, 0.16 },
        { 1.95, 220.00, 0.90, 1.15, 0.13 },
    };

    // Open E major, strummed down from the low string.
    const double chord[] = { 82.41, 123.47, 164.81, 207.65, 246.94, 329.63 };
    const double velocity[] = { 0.95, 0.85, 0.8, 0.75, 0.72, 0.7 };
    for (int s = 0; s < 6; ++s)
        p.push_back ({ 3.00 + 0.024 * s, chord[s], 0.65 * velocity[s], 3.0 - 0.024 * s, 0.14 + 0.01 * s });

    return p;
}

std::vector<float> synthesiseGuitar (const std::vector<Pluck>& plucks, double sampleRate, double seconds)
{
    const auto length = (int) std::lround (seconds * sampleRate);
    std::vector<double> mix ((size_t) length, 0.0);

    Noise noise (0x5eed0f5712ab9ull);
    for (const auto& pluck : plucks)
    {
        StringVoice voice (pluck, sampleRate, noise);
        for (auto n = voice.firstSample(); n < length; ++n)
            mix[(size_t) n] += voice.next (n);
    }

    // The coil resonance, then the coupling of the DI box (a gentle high-pass).
    Resonance resonance (3000.0, 0.9, sampleRate);
    const double highPass = std::exp (-twoPi * 30.0 / sampleRate);
    double hpIn = 0.0, hpOut = 0.0;

    std::vector<float> out ((size_t) length);
    for (size_t i = 0; i < out.size(); ++i)
    {
        const double shaped = resonance.process (mix[i]);
        hpOut = highPass * (hpOut + shaped - hpIn);
        hpIn = shaped;
        out[i] = (float) hpOut;
    }

    // The last few milliseconds fade out so the clip ends cleanly.
    const int fade = std::min (length, (int) (0.05 * sampleRate));
    for (int i = 0; i < fade; ++i)
        out[(size_t) (length - 1 - i)] *= (float) i / (float) fade;

    return out;
}

void scaleToRms (std::vector<float>& signal, double rmsDb)
{
    double sum = 0.0;
    for (float v : signal)
        sum += (double) v * v;
    const double rms = std::sqrt (sum / (double) std::max<size_t> (1, signal.size()));
    if (rms <= 0.0)
        return;
    const auto gain = (float) (std::pow (10.0, rmsDb / 20.0) / rms);
    for (auto& v : signal)
        v *= gain;
}

std::vector<float> makeGuitarSignal (double sampleRate, double seconds)
{
    std::vector<Pluck> plucks;
    const double strings[] = { 82.41, 110.0, 146.83, 196.0 };   // E2 A2 D3 G3
    for (int k = 0; k < 4; ++k)
        plucks.push_back ({ 0.25 * k, strings[k], 1.0, 1.2 - 0.25 * k, 0.08 });
    const double chord[] = { 82.41, 123.47, 164.81, 207.65, 246.94, 329.63 };   // E major
    for (int s = 0; s < 6; ++s)
        plucks.push_back ({ 1.2 + 0.02 * s, chord[s], 1.0, seconds, 0.08 });

    auto signal = synthesiseGuitar (plucks, sampleRate, seconds);
    scaleToRms (signal, pickupRmsDb);
    return signal;
}
}
