#include "Demo.h"
#include "Response.h"
#include "Spectrum.h"
#include "support/RenderFixture.h"

#include <PluckedGuitar.h>

#include <gtest/gtest.h>

using namespace Render;
using RenderFixture::run;
using RenderFixture::TempFolder;

TEST (RenderDemo, WritesTheDIFourProgramsAndOnePicture)
{
    TempFolder t;
    const auto r = run ({ "-o", t.path ("demo") });
    ASSERT_EQ (r.code, exitOk) << r.err;

    const auto folder = t.file ("demo");
    const juce::StringArray expected { ".", "1-default.wav", "2-ts9-drive-min.wav", "3-clean.wav", "4-fat.wav", "di.wav", "vesk-demo.png" };
    juce::StringArray found { "." };
    for (const auto& e : juce::RangedDirectoryIterator (folder, false, "*", juce::File::findFiles))
        found.add (e.getFile().getFileName());
    found.sort (false);
    EXPECT_EQ (found, expected);

    // The output says where every file is.
    EXPECT_NE (r.out.find (folder.getFullPathName().toStdString()), std::string::npos);
    for (int i = 1; i < expected.size(); ++i)
        EXPECT_NE (r.out.find (expected[i].toStdString()), std::string::npos) << expected[i];

    // Every program's render is as long as the DI, and they differ from each other.
    double rate = 0;
    const auto di = RenderFixture::readWav (folder.getChildFile ("di.wav"), &rate);
    EXPECT_EQ (rate, 48000.0);
    EXPECT_EQ (di.getNumSamples(), (int) (demoSeconds * 48000));
    std::vector<juce::AudioBuffer<float>> outs;
    for (int i = 1; i <= 4; ++i)
    {
        outs.push_back (RenderFixture::readWav (folder.getChildFile (expected[i])));
        EXPECT_EQ (outs.back().getNumSamples(), di.getNumSamples());
    }
    EXPECT_FALSE (RenderFixture::bitIdentical (outs[0], outs[3]));
    EXPECT_FALSE (RenderFixture::bitIdentical (outs[1], outs[2]));

    const auto png = juce::ImageFileFormat::loadFrom (folder.getChildFile ("vesk-demo.png"));
    ASSERT_TRUE (png.isValid());
    EXPECT_EQ (png.getWidth(), 1800);
    EXPECT_GT (png.getHeight(), 1000);

    // A second run refuses to overwrite anything, a forced one succeeds.
    const auto before = folder.getChildFile ("4-fat.wav").getLastModificationTime();
    const auto again = run ({ "-o", t.path ("demo") });
    EXPECT_EQ (again.code, exitOutput);
    EXPECT_EQ (RenderFixture::lineCount (again.err), 6);
    EXPECT_EQ (folder.getChildFile ("4-fat.wav").getLastModificationTime(), before);
    EXPECT_EQ (run ({ "-o", t.path ("demo"), "--force", "--program", "3" }).code, exitOk);
}

TEST (RenderDemo, TheDIIsAPlausiblePickupSignal)
{
    const auto di = synthesiseDemoDI (48000.0);
    Levels l;
    l.add (di);
    EXPECT_NEAR (l.rmsDb(), demoRmsDb, 0.05);
    EXPECT_LT (l.peakDb(), -0.5);      // no clipping in a 24-bit file
    EXPECT_GT (l.peakDb(), -10.0);     // a real crest factor, not a sine

    // Deterministic, and the same phrase at another rate has the same length in seconds.
    EXPECT_TRUE (RenderFixture::bitIdentical (di, synthesiseDemoDI (48000.0)));
    EXPECT_EQ (synthesiseDemoDI (96000.0).getNumSamples(), 2 * di.getNumSamples());

    // Energy where a guitar has it: the low E of the chord and its harmonics, little above 8 kHz.
    const auto s = averageSpectrum (di.getReadPointer (0), di.getNumSamples(), 48000.0);
    EXPECT_GT (s.at (82.4), s.at (30.0) + 20.0);
    EXPECT_GT (s.at (220.0), s.at (12000.0) + 30.0);

    // Every note starts where the phrase says: the signal is near silent before the first one.
    const auto phrase = Signal::demoPhrase();
    EXPECT_EQ (phrase.front().start, 0.0);
    EXPECT_EQ (phrase.size(), 12u);
}

TEST (RenderDemo, SpectrumScaling)
{
    // A full-scale sine reads 0 dB at its frequency, whatever the window does.
    const int n = 48000;
    std::vector<float> sine ((size_t) n);
    for (int i = 0; i < n; ++i)
        sine[(size_t) i] = (float) std::sin (2.0 * M_PI * 1500.0 * i / 48000.0);
    const auto s = averageSpectrum (sine.data(), n, 48000.0);
    EXPECT_NEAR (s.at (1500.0), 0.0, 0.1);
    EXPECT_LT (s.at (5000.0), -80.0);

    // An impulse of the reference height has a flat 0 dB transfer function.
    std::vector<float> impulse (1024, 0.0f);
    impulse[0] = 0.25f;
    const auto h = transferFunction (impulse.data(), 1024, 48000.0, 0.25);
    for (double hz : { 20.0, 1000.0, 23000.0 })
        EXPECT_NEAR (h.at (hz), 0.0, 1e-9) << hz;

    // Octave smoothing keeps a flat spectrum flat.
    EXPECT_NEAR (smoothOctave (h, 1.0 / 3.0).at (3000.0), 0.0, 1e-9);
}

TEST (RenderDemo, ResponseOfTheDryPathIsFlatAndTheToneSweepsTheTop)
{
    // Pedal off: the measurement itself must read 0 dB everywhere.
    ResolvedSettings off;
    off.values = { { FloatParameter::onOff, 0.0f } };
    const auto flat = measureResponse (off, 48000.0, 512, { 0.5f });
    ASSERT_EQ (flat.size(), 1u);
    for (double hz : { 20.0, 100.0, 1000.0, 10000.0, 20000.0 })
        EXPECT_NEAR (flat[0].response.at (hz), 0.0, 0.01) << hz;

    // Pedal on: turning the tone up lifts the treble and leaves the bass.
    const auto curves = measureResponse ({}, 48000.0, 512, toneSweep());
    ASSERT_EQ (curves.size(), 5u);
    for (size_t i = 1; i < curves.size(); ++i)
    {
        EXPECT_GT (curves[i].response.at (5000.0), curves[i - 1].response.at (5000.0)) << i;
        EXPECT_NEAR (curves[i].response.at (40.0), curves[0].response.at (40.0), 3.0) << i;
    }
    EXPECT_EQ (curves[2].toneLabel, "[16]");
}

TEST (RenderDemo, ResponseModeWritesThePicture)
{
    TempFolder t;
    const auto r = run ({ "--response", "--program", "2", "-o", t.path ("r.png"), "--quality", "low" });
    ASSERT_EQ (r.code, exitOk) << r.err;
    EXPECT_NE (r.out.find ("Response of \"2 TS9 Drive@Min\""), std::string::npos) << r.out;
    EXPECT_EQ (RenderFixture::lineCount (r.out), 7);
    const auto png = juce::ImageFileFormat::loadFrom (t.file ("r.png"));
    EXPECT_TRUE (png.isValid());

    EXPECT_EQ (run ({ "--response", "-o", t.path ("r.png") }).code, exitOutput);
}

TEST (RenderDemo, DemoFileNames)
{
    EXPECT_EQ (demoFileName ("2 TS9 Drive@Min"), "2-ts9-drive-min.wav");
    EXPECT_EQ (demoFileName ("  4 Fat!! "), "4-fat.wav");
    EXPECT_EQ (demoFileName ("???"), "program.wav");
}

namespace
{
// The plots' spectra as the project computed them before it used the framework's FFT: a
// double-precision radix-2 transform, kept here as the reference.
void referenceFft (std::vector<std::complex<double>>& a)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i)
    {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap (a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1)
    {
        const std::complex<double> w (std::cos (-2.0 * M_PI / (double) len), std::sin (-2.0 * M_PI / (double) len));
        for (size_t i = 0; i < n; i += len)
        {
            std::complex<double> t (1.0, 0.0);
            for (size_t k = 0; k < len / 2; ++k, t *= w)
            {
                const auto u = a[i + k], v = a[i + k + len / 2] * t;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

// Magnitudes in dB of the bins 0 .. size/2, averaged in power over Hann frames with half overlap
// (one frame of the whole signal, unwindowed, when `size` is 0: the transfer function).
std::vector<double> referenceSpectrum (const std::vector<float>& x, int size, double scale)
{
    const bool whole = size == 0;
    if (whole)
        for (size = 1; size < (int) x.size(); size <<= 1) {}
    std::vector<double> power ((size_t) size / 2 + 1, 0.0), window ((size_t) size, 1.0);
    double windowSum = 0.0;
    for (int i = 0; i < size; ++i)
        windowSum += window[(size_t) i] = whole ? 1.0 : 0.5 - 0.5 * std::cos (2.0 * M_PI * i / size);
    int frames = 0;
    for (int start = 0; start + size <= std::max ((int) x.size(), size); start += size / 2, ++frames)
    {
        std::vector<std::complex<double>> frame ((size_t) size);
        for (int i = 0; i < size && start + i < (int) x.size(); ++i)
            frame[(size_t) i] = x[(size_t) (start + i)] * window[(size_t) i];
        referenceFft (frame);
        for (size_t k = 0; k < power.size(); ++k)
            power[k] += std::norm (frame[k]);
        if (whole)
            break;
    }
    std::vector<double> db (power.size());
    for (size_t k = 0; k < db.size(); ++k)
        db[k] = 20.0 * std::log10 (std::sqrt (power[k] / (frames + (whole ? 1 : 0))) * (whole ? scale : 2.0 / windowSum) + 1e-12);
    return db;
}

// The largest difference in dB between two spectra over the bins the plots can show (above
// -140 dB), both raw and after the plots' 1/24-octave smoothing.
double largestDifference (const Spectrum& s, const std::vector<double>& reference)
{
    Spectrum r = s;
    r.db = reference;
    const auto smoothed = smoothOctave (s, 1.0 / 24.0), smoothedReference = smoothOctave (r, 1.0 / 24.0);
    double worst = 0.0;
    EXPECT_EQ (s.db.size(), reference.size());
    for (size_t k = 1; k < std::min (s.db.size(), reference.size()); ++k)
        if (reference[k] > -140.0)
            worst = std::max ({ worst, std::abs (s.db[k] - reference[k]), std::abs (smoothed.db[k] - smoothedReference.db[k]) });
    return worst;
}
}

TEST (RenderDemo, TheFrameworkFftDrawsTheSameSpectraAsTheReference)
{
    // The demo's input, a hard-driven version of it, and a ringing impulse response.
    const auto di = synthesiseDemoDI (48000.0);
    std::vector<float> input (di.getReadPointer (0), di.getReadPointer (0) + di.getNumSamples()), driven = input;
    for (auto& v : driven)
        v = std::tanh (40.0f * v) * 0.7f;
    std::vector<float> impulseResponse (3000);
    for (size_t i = 0; i < impulseResponse.size(); ++i)
        impulseResponse[i] = (float) (0.3 * std::exp (-(double) i / 400.0) * std::sin (0.07 * (double) i));

    for (const auto* x : { &input, &driven })
    {
        const auto s = averageSpectrum (x->data(), (int) x->size(), 48000.0);
        EXPECT_LT (largestDifference (s, referenceSpectrum (*x, 8192, 1.0)), 0.01);
    }
    const auto h = transferFunction (impulseResponse.data(), (int) impulseResponse.size(), 48000.0, 0.3);
    EXPECT_LT (largestDifference (h, referenceSpectrum (impulseResponse, 0, 1.0 / 0.3)), 0.01);
}
