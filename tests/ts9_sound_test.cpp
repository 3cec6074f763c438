#include "support/ProcessorFixture.h"
#include "support/Spectrum.h"

#include <gtest/gtest.h>

#include <cmath>

// What a guitarist would notice, measured on the real processor at 48 kHz.
namespace
{
constexpr double rate = 48000.0;

struct Settings
{
    float drive = 0.0f, tone = 0.5f, level = 1.0f, gain = 0.33f;
    float quality = 1.0f, model = 0.0f;
};

std::vector<float> sine (double f, float amplitude, int length)
{
    std::vector<float> x ((size_t) length);
    for (int i = 0; i < length; ++i)
        x[(size_t) i] = amplitude * (float) std::sin (2.0 * M_PI * f * i / rate);
    return x;
}

// Renders the signal and returns the output after a settling second.
std::vector<float> render (const Settings& s, const std::vector<float>& input, int settle = 48000)
{
    auto p = ProcessorFixture::makePrepared (1, 1, rate, 512);
    p->parameters[1]->setValue (s.drive);
    p->parameters[2]->setValue (s.tone);
    p->parameters[3]->setValue (s.level);
    p->parameters[4]->setValue (s.gain);
    p->parameters[6]->setValue (s.quality);
    p->parameters[7]->setValue (s.model);

    juce::AudioBuffer<float> buffer (1, (int) input.size());
    buffer.copyFrom (0, 0, input.data(), (int) input.size());
    ProcessorFixture::run (*p, buffer, 512);
    return std::vector<float> (buffer.getReadPointer (0) + settle, buffer.getReadPointer (0) + buffer.getNumSamples());
}
}

TEST (Ts9Sound, MoreDriveGivesMoreDistortion)
{
    const auto input = sine (220.0, 0.05f, 48000 + 16384);
    double previous = -1.0;
    for (float drive : { 0.0f, 0.25f, 0.5f, 0.75f, 1.0f })
    {
        Settings s;
        s.drive = drive;
        const double thd = Spectrum::thd (render (s, input), 220.0, rate);
        EXPECT_GT (thd, previous) << "drive " << drive;
        previous = thd;
    }
    EXPECT_GT (previous, 0.1) << "full drive clips hard";
}

TEST (Ts9Sound, ToneTiltsTheSpectrum)
{
    // Brightness: the ratio of a high to a low partial of a two-tone input.
    std::vector<float> input ((size_t) 48000 + 16384);
    for (size_t i = 0; i < input.size(); ++i)
        input[i] = 0.01f * (float) (std::sin (2.0 * M_PI * 300.0 * (double) i / rate) + std::sin (2.0 * M_PI * 4000.0 * (double) i / rate));
    auto brightness = [&] (float tone)
    {
        Settings s;
        s.tone = tone;
        const auto y = render (s, input);
        return Spectrum::powerAt (y, 4000.0, rate) / Spectrum::powerAt (y, 300.0, rate);
    };
    const double dark = brightness (0.0f), middle = brightness (0.5f), bright = brightness (1.0f);
    EXPECT_LT (dark, middle);
    EXPECT_LT (middle, bright);
    EXPECT_GT (bright / dark, 10.0);
}

TEST (Ts9Sound, LevelScalesTheOutput)
{
    const auto input = sine (440.0, 0.02f, 48000 + 8192);
    double previous = 0.0;
    for (float level : { 0.0f, 0.25f, 0.5f, 1.0f })
    {
        Settings s;
        s.level = level;
        const double r = Spectrum::rms (render (s, input));
        EXPECT_GT (r, previous) << "level " << level;
        previous = r;
    }
}

TEST (Ts9Sound, ModdedIsCleanerAtDriveZeroAndTheSameAtFullDrive)
{
    const auto input = sine (220.0, 0.05f, 48000 + 16384);
    Settings original, modded;
    modded.model = 1.0f;
    EXPECT_LT (Spectrum::thd (render (modded, input), 220.0, rate),
               Spectrum::thd (render (original, input), 220.0, rate));

    original.drive = modded.drive = 1.0f;
    EXPECT_EQ (render (original, input), render (modded, input)) << "both drive legs reach 551 kΩ";
}

TEST (Ts9Sound, HighQualityAliasesLessThanLow)
{
    // A 5 kHz sine at full drive: harmonics above the host's Nyquist frequency that come back
    // folded lie between the true harmonics.
    const auto input = sine (5000.0, 0.3f, 48000 + 32768);
    auto aliasPower = [&] (float quality)
    {
        Settings s;
        s.drive = 1.0f;
        s.quality = quality;
        const auto y = render (s, input);
        double total = 0.0;
        for (int k = 5; k <= 40; ++k)
        {
            double f = std::fmod (5000.0 * k, rate);
            if (f > rate / 2)
                f = rate - f;
            if (std::fmod (f, 5000.0) > 100.0 && std::fmod (f, 5000.0) < 4900.0 && f > 100.0)
                total += Spectrum::powerAt (y, f, rate);
        }
        return total / Spectrum::powerAt (y, 5000.0, rate);
    };
    const double low = aliasPower (0.0f), high = aliasPower (1.0f);
    EXPECT_LT (high, low * 0.5) << "low " << low << ", high " << high;
}

TEST (Ts9Sound, SilenceInSilenceOut)
{
    Settings s;
    s.drive = 1.0f;
    const auto y = render (s, std::vector<float> (48000 * 2, 0.0f), 0);
    for (float v : y)
        ASSERT_EQ (v, 0.0f);
}

TEST (Ts9Recovery, NonFiniteInputOrStateNeverPoisonsTheOutput)
{
    auto p = ProcessorFixture::makePrepared (2, 2, rate, 256);
    p->parameters[5]->setValue (1.0f);   // stereo
    auto reference = ProcessorFixture::makePrepared (2, 2, rate, 256);
    reference->parameters[5]->setValue (1.0f);

    juce::MidiBuffer midi;
    auto block = [&] (int n, float value)
    {
        juce::AudioBuffer<float> b (2, 256);
        for (int c = 0; c < 2; ++c)
            for (int s = 0; s < 256; ++s)
                b.setSample (c, s, value != 0.0f ? value : 0.2f * std::sin ((n * 256 + s) * 0.02f));
        return b;
    };

    for (int n = 0; n < 200; ++n)
    {
        auto a = block (n, 0.0f);
        auto r = block (n, 0.0f);
        if (n == 100)
            for (int s = 0; s < 256; s += 3)
                a.setSample (0, s, s % 2 ? std::numeric_limits<float>::quiet_NaN() : std::numeric_limits<float>::infinity());
        if (n == 150)
            p->engine.holder.channel1.record.x[2] = std::numeric_limits<float>::quiet_NaN();

        p->processBlock (a, midi);
        reference->processBlock (r, midi);
        for (int c = 0; c < 2; ++c)
            for (int s = 0; s < 256; ++s)
                ASSERT_TRUE (std::isfinite (a.getSample (c, s))) << "block " << n;

        // Within one block of clean input the output matches an instance that never saw a fault.
        if (n > 102 && n < 150)
        {
            for (int s = 0; s < 256; ++s)
                ASSERT_NEAR (a.getSample (0, s), r.getSample (0, s), 0.05f) << "block " << n;
        }
        if (n > 152)
        {
            for (int s = 0; s < 256; ++s)
                ASSERT_NEAR (a.getSample (1, s), r.getSample (1, s), 0.05f) << "block " << n;
        }
    }
}

TEST (Ts9Recovery, ADecayingNoteLeavesNoSubnormalState)
{
    auto p = ProcessorFixture::makePrepared (1, 1, rate, 512);
    p->parameters[1]->setValue (1.0f);
    juce::AudioBuffer<float> note (1, 48000 * 3);
    for (int s = 0; s < note.getNumSamples(); ++s)
        note.setSample (0, s, s < 24000 ? 0.5f * std::sin (s * 0.05f) * std::exp (-s / 4000.0f) : 0.0f);
    ProcessorFixture::run (*p, note, 512);
    for (int k = 0; k < 5; ++k)
    {
        const float v = p->engine.holder.channel0.record.x[k];
        EXPECT_TRUE (v == 0.0f || std::fpclassify (v) == FP_NORMAL) << "state " << k << " = " << v;
    }
    for (int s = 0; s < note.getNumSamples(); ++s)
    {
        const float v = note.getSample (0, s);
        ASSERT_TRUE (v == 0.0f || std::fpclassify (v) == FP_NORMAL) << s;
    }
}

TEST (Ts9Sound, StereoChannelsAreExactlyTwoMonoPedals)
{
    // The stereo kernel runs both channels in lock step; each must come out exactly as a mono
    // instance would produce it.
    const auto left = sine (196.0, 0.2f, 24000);
    const auto right = sine (330.0, 0.05f, 24000);
    Settings s;
    s.drive = 0.8f;

    auto stereo = ProcessorFixture::makePrepared (2, 2, rate, 256);
    stereo->parameters[1]->setValue (s.drive);
    stereo->parameters[5]->setValue (1.0f);
    juce::AudioBuffer<float> both (2, (int) left.size());
    both.copyFrom (0, 0, left.data(), (int) left.size());
    both.copyFrom (1, 0, right.data(), (int) right.size());
    ProcessorFixture::run (*stereo, both, 256);

    for (int c = 0; c < 2; ++c)
    {
        const auto y = render (s, c == 0 ? left : right, 0);
        for (size_t i = 0; i < y.size(); ++i)
            ASSERT_EQ (both.getSample (c, (int) i), y[i]) << "channel " << c << " sample " << i;
    }
}
