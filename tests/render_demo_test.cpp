#include "Demo.h"
#include "Response.h"
#include "Spectrum.h"
#include "Synth.h"
#include "support/RenderFixture.h"

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
    const auto phrase = demoPhrase();
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
