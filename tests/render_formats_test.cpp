// The renderer's file formats, checked through the built vesk-render program as a user runs it:
// the same take as WAV, AIFF, FLAC, Ogg Vorbis and MP3 (encoded here with sox and lame), FLAC output, and
// damaged inputs in a batch.
#include "support/RenderFixture.h"

#include <PluckedGuitar.h>

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>

using namespace Render;
using RenderFixture::TempFolder;

namespace
{
// Runs the built program, its error stream kept apart in a file (ChildProcess would mix it into
// the output).
RenderFixture::Run runWithErrors (const TempFolder& t, const juce::StringArray& args)
{
    const auto errors = t.file ("stderr.txt");
    juce::String line = juce::String ("'") + VESK_RENDER_BINARY + "'";
    for (const auto& a : args)
        line << " '" << a << "'";
    line << " 2>'" << errors.getFullPathName() << "'";
    RenderFixture::Run r;
    juce::ChildProcess shell;
    if (shell.start (juce::StringArray { "/bin/sh", "-c", line }, juce::ChildProcess::wantStdOut))
    {
        r.out = shell.readAllProcessOutput().toStdString();
        shell.waitForProcessToFinish (120000);
        r.code = (int) shell.getExitCode();
    }
    r.err = errors.loadFileAsString().toStdString();
    errors.deleteFile();
    return r;
}

// Runs an encoder (sox, lame) quietly.
bool encode (const juce::StringArray& command)
{
    juce::ChildProcess p;
    return p.start (command) && p.waitForProcessToFinish (60000) && p.getExitCode() == 0;
}

bool sox (const juce::StringArray& args)
{
    juce::StringArray command { "sox" };
    command.addArray (args);
    return encode (command);
}

// LAME writes the encoder's delay and padding into the file, so a decoder can give back exactly
// the samples that were encoded.
bool lame (const juce::String& in, const juce::String& out, const juce::String& kbps)
{
    return encode ({ "lame", "--quiet", "-b", kbps, in, out });
}

// RMS of (a - b) over RMS of b in dB, with a read `lag` samples later than b.
double relativeErrorDb (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int lag)
{
    double error = 0.0, signal = 0.0;
    const int n = juce::jmin (a.getNumSamples() - lag, b.getNumSamples());
    for (int c = 0; c < b.getNumChannels(); ++c)
        for (int i = 0; i < n; ++i)
        {
            const double d = (double) a.getSample (c, i + lag) - b.getSample (c, i);
            error += d * d;
            signal += (double) b.getSample (c, i) * b.getSample (c, i);
        }
    return 10.0 * std::log10 (error / signal);
}

// The delay of a decoded lossy file against its source: the lag with the smallest error over the
// source's first second.
int codecDelay (const juce::AudioBuffer<float>& decoded, const juce::AudioBuffer<float>& source, double rate)
{
    juce::AudioBuffer<float> start (1, (int) rate);
    start.copyFrom (0, 0, source, 0, 0, start.getNumSamples());
    int best = 0;
    for (int lag = 1; lag < 4000; ++lag)
        if (relativeErrorDb (decoded, start, lag) < relativeErrorDb (decoded, start, best))
            best = lag;
    return best;
}

juce::AudioBuffer<float> stereoTake (double rate, double seconds)
{
    const auto left = Signal::makeGuitarSignal (rate, seconds);
    juce::AudioBuffer<float> take (2, (int) left.size());
    take.copyFrom (0, 0, left.data(), (int) left.size());
    take.copyFrom (1, 0, left.data(), (int) left.size(), 0.5f);   // a quieter right channel
    return take;
}
}

TEST (RenderFormats, EveryInputFormatRendersLikeTheWavAndFlacOutputEqualsWav)
{
    TempFolder t;
    const double rate = 44100.0;
    const auto take = stereoTake (rate, 3.0);
    RenderFixture::writeWav (t.file ("take-wav.wav"), take, rate, 16);
    const auto source = RenderFixture::readWav (t.file ("take-wav.wav"));
    ASSERT_TRUE (sox ({ t.path ("take-wav.wav"), t.path ("take-aiff.aiff") }));
    ASSERT_TRUE (sox ({ t.path ("take-wav.wav"), t.path ("take-flac.flac") }));
    ASSERT_TRUE (sox ({ t.path ("take-wav.wav"), "-C", "5", t.path ("take-ogg.ogg") }));
    ASSERT_TRUE (lame (t.path ("take-wav.wav"), t.path ("take-mp3.mp3"), "192"));
    // Recognised by content: a FLAC file under a WAV name.
    ASSERT_TRUE (t.file ("take-flac.flac").copyFileTo (t.file ("flac-named.wav")));

    const auto r = runWithErrors (t, { t.path ("take-wav.wav"), t.path ("take-aiff.aiff"), t.path ("take-flac.flac"),
                                       t.path ("flac-named.wav"), t.path ("take-ogg.ogg"), t.path ("take-mp3.mp3"),
                                       "-o", t.path ("out") + "/", "--bits", "24", "-q" });
    ASSERT_EQ (r.code, 0) << r.err;

    const auto reference = RenderFixture::readWav (t.file ("out/take-wav.wav"));
    for (const char* name : { "take-aiff.wav", "take-flac.wav", "flac-named.wav" })
        EXPECT_TRUE (RenderFixture::bitIdentical (RenderFixture::readWav (t.file ("out").getChildFile (name)), reference)) << name;

    // Lossy inputs: the render differs from the WAV's render by about the codec's own error,
    // measured on the decoded take, which is as long as the take and in step with it. The
    // pedal cuts the lows where the take's energy is and keeps the highs where the codecs put
    // their error, so relative to the signal the error may grow by a dB or two; a wrong channel,
    // offset or length would bring it near 0 dB.
    for (const char* name : { "take-ogg.ogg", "take-mp3.mp3" })
    {
        const auto decoded = RenderFixture::readWav (t.file (name));
        const int lag = codecDelay (decoded, source, rate);
        EXPECT_EQ (lag, 0) << name;
        EXPECT_EQ (decoded.getNumSamples(), source.getNumSamples()) << name;
        const double codecError = relativeErrorDb (decoded, source, lag);
        const double renderError = relativeErrorDb (RenderFixture::readWav (t.file ("out").getChildFile (t.file (name).getFileNameWithoutExtension() + ".wav")), reference, lag);
        std::cout << name << ": codec error " << codecError << " dB, render error " << renderError << " dB (delay " << lag << " samples)\n";
        EXPECT_LT (codecError, -20.0) << name;
        EXPECT_LE (renderError, codecError + 3.0) << name;
    }

    // The Ogg render is the render of what the codec library itself decodes (sox, 16-bit).
    ASSERT_TRUE (sox ({ t.path ("take-ogg.ogg"), "-b", "16", t.path ("ogg-decoded.wav") }));
    ASSERT_EQ (runWithErrors (t, { t.path ("ogg-decoded.wav"), "-o", t.path ("ogg-decoded-out.wav"), "--bits", "24", "-q" }).code, 0);
    const double viaLibrary = relativeErrorDb (RenderFixture::readWav (t.file ("out/take-ogg.wav")), RenderFixture::readWav (t.file ("ogg-decoded-out.wav")), 0);
    std::cout << "take-ogg.ogg: render against the render of the library's 16-bit decode " << viaLibrary << " dB\n";
    EXPECT_LT (viaLibrary, -80.0);

    // FLAC out: the same samples as the 24-bit WAV render; --bits 32 is refused for FLAC.
    ASSERT_EQ (runWithErrors (t, { t.path ("take-wav.wav"), "-o", t.path ("take.flac"), "--bits", "24", "-q" }).code, 0);
    EXPECT_TRUE (RenderFixture::bitIdentical (RenderFixture::readWav (t.file ("take.flac")), reference));
    const auto refused = runWithErrors (t, { t.path ("take-wav.wav"), "-o", t.path ("float.flac"), "--bits", "32" });
    EXPECT_EQ (refused.code, exitUsage);
    EXPECT_NE (refused.err.find ("FLAC holds 16- or 24-bit"), std::string::npos) << refused.err;

    // 16-bit FLAC from a batch, named by --format.
    ASSERT_EQ (runWithErrors (t, { t.path ("take-ogg.ogg"), t.path ("take-mp3.mp3"), "-o", t.path ("flac16"), "--format", "flac", "--bits", "16", "-q" }).code, 0);
    std::unique_ptr<InputFile> in;
    ASSERT_FALSE (InputFile::open (t.file ("flac16/take-mp3.flac"), in));
    EXPECT_EQ (in->getFormatName(), "FLAC file");
}

TEST (RenderFormats, DamagedInputsAreEachOneLineAndTheRestOfTheBatchIsRendered)
{
    TempFolder t;
    const double rate = 44100.0;
    RenderFixture::writeWav (t.file ("good.wav"), stereoTake (rate, 2.0), rate, 16);
    ASSERT_TRUE (sox ({ t.path ("good.wav"), t.path ("whole.flac") }));
    ASSERT_TRUE (lame (t.path ("good.wav"), t.path ("whole.mp3"), "128"));

    juce::MemoryBlock flac, mp3;
    ASSERT_TRUE (t.file ("whole.flac").loadFileAsData (flac) && t.file ("whole.mp3").loadFileAsData (mp3));
    t.file ("truncated.flac").replaceWithData (flac.getData(), flac.getSize() * 2 / 3);

    // A stretch in the middle of the MP3, longer than a frame, is overwritten: at least one frame
    // loses its header and its data.
    auto* bytes = static_cast<juce::uint8*> (mp3.getData());
    const size_t middle = mp3.getSize() / 2;
    ASSERT_GT (mp3.getSize(), middle + 1000);
    for (size_t i = 0; i < 1000; ++i)
        bytes[middle + i] = (juce::uint8) (0x5a ^ i);
    t.file ("broken.mp3").replaceWithData (mp3.getData(), mp3.getSize());

    t.file ("notes.flac").replaceWithText ("a text file with an audio name\n");
    {
        juce::Random random (7);
        juce::MemoryBlock noise (50000);
        random.fillBitsRandomly (noise.getData(), noise.getSize());
        t.file ("noise.flac").replaceWithData (noise.getData(), noise.getSize());
    }
    t.file ("empty.flac").create();

    juce::StringArray args { t.path ("good.wav") };
    for (const auto* bad : { "truncated.flac", "broken.mp3", "notes.flac", "noise.flac", "empty.flac" })
        args.add (t.path (bad));
    args.addArray ({ "-o", t.path ("out"), "-q" });
    const auto r = runWithErrors (t, args);

    EXPECT_EQ (r.code, exitInput);
    RenderFixture::expectOneLineEach (r.err, {
        { "truncated.flac", "truncated" },
        { "broken.mp3", "is broken" },
        { "notes.flac", "not a recognised audio file" },
        { "noise.flac", "not a recognised audio file" },
        { "empty.flac", "is empty" },
    });
    // The good file is rendered, and nothing else is in the output folder, hidden files included.
    juce::StringArray written;
    for (const auto& e : juce::RangedDirectoryIterator (t.file ("out"), false, "*", juce::File::findFilesAndDirectories))
        written.add (e.getFile().getFileName());
    EXPECT_EQ (written, juce::StringArray { "good.wav" });

    // One damaged file alone: nothing at the output path.
    const auto alone = runWithErrors (t, { t.path ("truncated.flac"), "-o", t.path ("alone.flac") });
    EXPECT_EQ (alone.code, exitInput);
    EXPECT_EQ (RenderFixture::lineCount (alone.err), 1) << alone.err;
    EXPECT_FALSE (t.file ("alone.flac").exists());
}
