#include "Batch.h"
#include "support/RenderFixture.h"

#include <PluckedGuitar.h>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <iostream>
#include <sys/resource.h>
#include <unistd.h>

using namespace Render;
using RenderFixture::Run;
using RenderFixture::run;
using RenderFixture::TempFolder;

namespace
{
juce::AudioBuffer<float> renderInMemory (const juce::AudioBuffer<float>& input, double rate, std::vector<std::pair<int, float>> values,
                                         int outputs = 0)
{
    RenderFormat f;
    f.sampleRate = rate;
    f.inputChannels = input.getNumChannels();
    f.outputChannels = outputs > 0 ? outputs : input.getNumChannels();
    auto p = createProcessor (f);
    ResolvedSettings s;
    s.values = std::move (values);
    applySettings (*p, s);
    prepareProcessor (*p, f);
    return renderBuffer (*p, f, input);
}

bool contains (const std::string& text, const char* part)
{
    return text.find (part) != std::string::npos;
}
}

TEST (RenderFiles, WritesFloatWavIdenticalToTheInMemoryRenderAndSummarisesIt)
{
    TempFolder t;
    const auto input = RenderFixture::noise (2, 30000, 11);
    RenderFixture::writeWav (t.file ("in.wav"), input, 44100.0);

    const auto r = run ({ t.path ("in.wav"), "--drive", "0.6", "--stereo" });
    ASSERT_EQ (r.code, exitOk) << r.err;
    EXPECT_TRUE (r.err.empty()) << r.err;

    double rate = 0;
    const auto out = RenderFixture::readWav (t.file ("in-vesk.wav"), &rate);
    EXPECT_EQ (rate, 44100.0);
    const auto expected = renderInMemory (input, 44100.0, { { FloatParameter::drive, 0.6f }, { FloatParameter::processing, 1.0f } });
    EXPECT_TRUE (RenderFixture::bitIdentical (out, expected));

    // One summary line with duration, rate, layout, levels and speed.
    EXPECT_EQ (RenderFixture::lineCount (r.out), 1);
    for (auto* part : { "in.wav -> ", "in-vesk.wav", "0.68 s", "44100 Hz", "stereo -> stereo", "32-bit float", "peak ", "RMS ", "x real time" })
        EXPECT_TRUE (contains (r.out, part)) << part << " in " << r.out;

    EXPECT_FALSE (contains (r.out, "left channel"));

    // Without --stereo a stereo file runs the pedal in mono, from the left channel; the summary says so.
    const auto mono = run ({ t.path ("in.wav"), "-o", t.path ("mono.wav") });
    ASSERT_EQ (mono.code, exitOk) << mono.err;
    EXPECT_TRUE (contains (mono.out, "Mono processing: the left channel feeds both outputs"));
    const auto m = RenderFixture::readWav (t.file ("mono.wav"));
    EXPECT_EQ (std::memcmp (m.getReadPointer (0), m.getReadPointer (1), sizeof (float) * (size_t) m.getNumSamples()), 0);
    t.file ("mono.wav").deleteFile();

    // Only the two files: no temporary file left.
    EXPECT_EQ (t.names(), juce::StringArray ({ "in-vesk.wav", "in.wav" }));
}

TEST (RenderFiles, AiffMonoToStereoAnd24BitOutput)
{
    TempFolder t;
    const auto input = RenderFixture::noise (1, 9000, 12);
    {
        juce::AiffAudioFormat aiff;
        std::unique_ptr<juce::AudioFormatWriter> w (aiff.createWriterFor (new juce::FileOutputStream (t.file ("in.aiff")), 48000.0, 1, 24, {}, 0));
        ASSERT_NE (w, nullptr);
        w->writeFromAudioSampleBuffer (input, 0, input.getNumSamples());
    }
    juce::AudioBuffer<float> stored;
    double rate = 0;
    ASSERT_FALSE (readWholeFile (t.file ("in.aiff"), stored, rate));

    const auto r = run ({ t.path ("in.aiff"), "--mono-to-stereo", "--bits", "24", "-o", t.path ("out.wav") });
    ASSERT_EQ (r.code, exitOk) << r.err;

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (t.file ("out.wav")));
    ASSERT_NE (reader, nullptr);
    EXPECT_EQ (reader->bitsPerSample, 24u);
    EXPECT_FALSE (reader->usesFloatingPointData);
    EXPECT_EQ (reader->numChannels, 2u);

    const auto out = RenderFixture::readWav (t.file ("out.wav"));
    const auto expected = renderInMemory (stored, 48000.0, {}, 2);
    ASSERT_EQ (out.getNumSamples(), expected.getNumSamples());
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < out.getNumSamples(); ++i)
            ASSERT_NEAR (out.getSample (c, i), expected.getSample (c, i), 1.0f / 8388608.0f) << c << " " << i;
}

TEST (RenderFiles, BadInputsAreEachListedAndTheGoodOneIsStillRendered)
{
    TempFolder t;
    RenderFixture::writeWav (t.file ("good.wav"), RenderFixture::noise (1, 2000));

    t.file ("garbage.wav").replaceWithText ("this is not audio at all, just some text in a file");

    juce::MemoryBlock whole;
    t.file ("good.wav").loadFileAsData (whole);
    t.file ("truncated.wav").replaceWithData (whole.getData(), whole.getSize() / 2);

    RenderFixture::writeWav (t.file ("six.wav"), RenderFixture::noise (6, 100));
    RenderFixture::writeWav (t.file ("empty.wav"), juce::AudioBuffer<float> (1, 0));
    t.file ("folder.wav").createDirectory();
    {
        // An AIFF at a rate the engine does not run at.
        juce::AiffAudioFormat aiff;
        std::unique_ptr<juce::AudioFormatWriter> w (aiff.createWriterFor (new juce::FileOutputStream (t.file ("slow.aiff")), 4000.0, 1, 16, {}, 0));
        const auto n = RenderFixture::noise (1, 100);
        w->writeFromAudioSampleBuffer (n, 0, 100);
    }

    const auto r = run ({ t.path ("good.wav"), t.path ("missing.wav"), t.path ("garbage.wav"), t.path ("truncated.wav"),
                          t.path ("six.wav"), t.path ("empty.wav"), t.path ("folder.wav"), t.path ("slow.aiff") });
    EXPECT_EQ (r.code, exitInput);
    EXPECT_EQ (RenderFixture::lineCount (r.out), 1);   // the summary of good.wav

    RenderFixture::expectOneLineEach (r.err, {
        { "missing.wav", "no such file" },
        { "garbage.wav", "not a recognised audio file" },
        { "truncated.wav", "truncated" },
        { "six.wav", "has 6 channels" },
        { "empty.wav", "contains no audio" },
        { "folder.wav", "is a folder" },
        { "slow.aiff", "sample rate 4000 Hz" },
    });
    EXPECT_TRUE (t.file ("good-vesk.wav").existsAsFile());
    EXPECT_FALSE (t.file ("garbage-vesk.wav").exists());
}

TEST (RenderFiles, NonFiniteSamplesAreCorruptAudioAndLeaveNoFile)
{
    TempFolder t;
    auto input = RenderFixture::noise (1, 20000);
    input.setSample (0, 15000, std::numeric_limits<float>::quiet_NaN());
    RenderFixture::writeWav (t.file ("nan.wav"), input);

    const auto r = run ({ t.path ("nan.wav"), "--block-size", "256" });
    EXPECT_EQ (r.code, exitInput);
    EXPECT_TRUE (contains (r.err, "sample 15000 of channel 1 is not a finite number")) << r.err;
    EXPECT_EQ (RenderFixture::lineCount (r.err), 1);
    EXPECT_EQ (t.names(), juce::StringArray ({ "nan.wav" }));
}

TEST (RenderFiles, ExistingOutputsAreRefusedUnlessForced)
{
    TempFolder t;
    RenderFixture::writeWav (t.file ("a.wav"), RenderFixture::noise (1, 1000, 1));
    RenderFixture::writeWav (t.file ("b.wav"), RenderFixture::noise (1, 1000, 2));
    t.file ("a-vesk.wav").replaceWithText ("precious");

    auto r = run ({ t.path ("a.wav"), t.path ("b.wav") });
    EXPECT_EQ (r.code, exitOutput);
    EXPECT_TRUE (contains (r.err, "a-vesk.wav: already exists (use --force to overwrite)")) << r.err;
    EXPECT_EQ (t.file ("a-vesk.wav").loadFileAsString(), "precious");
    EXPECT_FALSE (t.file ("b-vesk.wav").exists());   // the batch does not start at all

    r = run ({ t.path ("a.wav"), t.path ("b.wav"), "--force" });
    EXPECT_EQ (r.code, exitOk) << r.err;
    EXPECT_EQ (RenderFixture::readWav (t.file ("a-vesk.wav")).getNumSamples(), 1000);
    EXPECT_EQ (RenderFixture::lineCount (r.out), 2);

    // An output that would overwrite an input, and two inputs writing the same output.
    r = run ({ t.path ("a.wav"), "-o", t.path ("a.wav"), "--force" });
    EXPECT_EQ (r.code, exitUsage);
    EXPECT_TRUE (contains (r.err, "would overwrite an input"));
    t.file ("x").createDirectory();
    RenderFixture::writeWav (t.file ("x/a.wav"), RenderFixture::noise (1, 100));
    r = run ({ t.path ("a.wav"), t.path ("x/a.wav"), "-o", t.path ("out") });
    EXPECT_EQ (r.code, exitUsage);
    EXPECT_TRUE (contains (r.err, "writes the same output as"));
    EXPECT_FALSE (t.file ("out").exists());

    // A single output whose folder does not exist.
    r = run ({ t.path ("a.wav"), "-o", t.path ("nowhere/a.wav") });
    EXPECT_EQ (r.code, exitOutput);
    EXPECT_TRUE (contains (r.err, "does not exist"));
}

TEST (RenderFiles, ARaceForTheTargetIsLostWithoutClobbering)
{
    TempFolder t;
    AtomicOutputFile out (t.file ("x.wav"), false);
    ASSERT_FALSE (out.open());
    out.stream().write ("new", 3);
    t.file ("x.wav").replaceWithText ("appeared meanwhile");

    const auto f = out.commit();
    ASSERT_TRUE (f);
    EXPECT_EQ (f->exitCode, exitOutput);
    EXPECT_EQ (t.file ("x.wav").loadFileAsString(), "appeared meanwhile");
    {
        AtomicOutputFile again (t.file ("y.wav"), false);
        ASSERT_FALSE (again.open());
        EXPECT_TRUE (again.getTemporaryFile().existsAsFile());
        EXPECT_TRUE (again.getTemporaryFile().getFileName().startsWith (".y.wav.part-"));
    }   // abandoned: the temporary file goes
    EXPECT_FALSE (t.file ("y.wav").exists());
}

namespace
{
// Caps the size of any file this process writes, as a full disk would.
struct FileSizeLimit
{
    explicit FileSizeLimit (rlim_t bytes)
    {
        previousHandler = std::signal (SIGXFSZ, SIG_IGN);
        getrlimit (RLIMIT_FSIZE, &previous);
        rlimit limit = previous;
        limit.rlim_cur = bytes;
        setrlimit (RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit (RLIMIT_FSIZE, &previous);
        std::signal (SIGXFSZ, previousHandler);
    }
    rlimit previous {};
    void (*previousHandler) (int) = nullptr;
};
}

TEST (RenderFiles, AFullDiskFailsTheFileAndLeavesNothingBehind)
{
    TempFolder t;
    RenderFixture::writeWav (t.file ("long.wav"), RenderFixture::noise (2, 100000));
    RenderFixture::writeWav (t.file ("short.wav"), RenderFixture::noise (1, 1000));
    t.file ("long-vesk.wav").replaceWithText ("old render");

    RenderFixture::Run r;
    {
        FileSizeLimit limit (64 * 1024);
        r = run ({ t.path ("long.wav"), t.path ("short.wav"), "--force", "--jobs", "1" });
    }
    EXPECT_EQ (r.code, exitOutput);
    EXPECT_TRUE (contains (r.err, "long-vesk.wav: write failed (File too large); nothing was written")) << r.err;
    EXPECT_EQ (RenderFixture::lineCount (r.err), 1);

    // The old file is untouched, the small one was written, no temporary file is left.
    EXPECT_EQ (t.file ("long-vesk.wav").loadFileAsString(), "old render");
    EXPECT_TRUE (contains (r.out, "short.wav -> "));
    EXPECT_EQ (t.names(), juce::StringArray ({ "long-vesk.wav", "long.wav", "short-vesk.wav", "short.wav" }));
}

TEST (RenderFiles, ParallelBatchEqualsOneFileAtATime)
{
    TempFolder t;
    std::vector<juce::String> inputs;
    for (int i = 0; i < 5; ++i)
    {
        const auto name = "in" + juce::String (i) + ".wav";
        RenderFixture::writeWav (t.file (name), RenderFixture::noise (1 + i % 2, 12000 + 3000 * i, 100 + i), i == 3 ? 96000.0 : 48000.0);
        inputs.push_back (t.path (name));
    }

    auto args = inputs;
    for (auto* a : { "-o", "", "--program", "4", "--tone", "0.3", "--jobs", "5" })
        args.push_back (a);
    args[inputs.size() + 1] = t.path ("parallel");
    const auto r = run (args);
    ASSERT_EQ (r.code, exitOk) << r.err;
    EXPECT_EQ (RenderFixture::lineCount (r.out), 5);

    for (size_t i = 0; i < inputs.size(); ++i)
    {
        const auto single = t.path ("single" + juce::String ((int) i) + ".wav");
        const auto one = run ({ inputs[i], "-o", single, "--program", "4", "--tone", "0.3", "--jobs", "1" });
        ASSERT_EQ (one.code, exitOk) << one.err;
        EXPECT_TRUE (RenderFixture::sameBytes (t.file ("parallel/in" + juce::String ((int) i) + ".wav"), juce::File (single))) << i;
    }
}

TEST (RenderFiles, SavedStateIsTheHostsBlockAndRendersTheSame)
{
    TempFolder t;
    RenderFixture::writeWav (t.file ("in.wav"), RenderFixture::noise (1, 5000));

    auto r = run ({ "--program", "fat", "--drive", "0.25", "--model", "modded", "--save-state", t.path ("s.state") });
    ASSERT_EQ (r.code, exitOk) << r.err;
    EXPECT_TRUE (contains (r.out, "State written to "));

    Processor p;
    p.setCurrentProgram (3);
    p.parameters[FloatParameter::drive]->setValue (0.25f);
    p.parameters[FloatParameter::model]->setValue (1.0f);
    juce::MemoryBlock expected, saved;
    p.getStateInformation (expected);
    ASSERT_TRUE (t.file ("s.state").loadFileAsData (saved));
    EXPECT_EQ (saved, expected);

    // Saving again needs --force.
    r = run ({ "--program", "2", "--save-state", t.path ("s.state") });
    EXPECT_EQ (r.code, exitOutput);
    juce::MemoryBlock unchanged;
    t.file ("s.state").loadFileAsData (unchanged);
    EXPECT_EQ (unchanged, expected);

    r = run ({ t.path ("in.wav"), "--state", t.path ("s.state"), "-o", t.path ("a.wav") });
    ASSERT_EQ (r.code, exitOk) << r.err;
    r = run ({ t.path ("in.wav"), "--program", "4", "--drive", "0.25", "--set", "TS Model=Modded", "-o", t.path ("b.wav") });
    ASSERT_EQ (r.code, exitOk) << r.err;
    EXPECT_TRUE (RenderFixture::sameBytes (t.file ("a.wav"), t.file ("b.wav")));

    // Different settings give a different file, so the comparison above means something.
    r = run ({ t.path ("in.wav"), "--program", "4", "-o", t.path ("c.wav") });
    ASSERT_EQ (r.code, exitOk) << r.err;
    EXPECT_FALSE (RenderFixture::sameBytes (t.file ("a.wav"), t.file ("c.wav")));

    t.file ("junk.state").replaceWithText ("VC2!junk");
    r = run ({ t.path ("in.wav"), "--state", t.path ("junk.state"), "-o", t.path ("d.wav") });
    EXPECT_EQ (r.code, exitInput);
    EXPECT_TRUE (contains (r.err, "not a Vesk state"));
    EXPECT_FALSE (t.file ("d.wav").exists());
}

TEST (RenderFiles, UsageErrorsPrintOneLineAndAHint)
{
    const auto r = run ({ "in.wav", "--set", "Volume=1" });
    EXPECT_EQ (r.code, exitUsage);
    EXPECT_EQ (RenderFixture::lineCount (r.err), 2);
    EXPECT_TRUE (contains (r.err, "vesk-render: error: --set: unknown parameter 'Volume'"));
    EXPECT_TRUE (contains (r.err, "Try 'vesk-render --help'."));
    EXPECT_TRUE (r.out.empty());

    const auto help = run ({ "--help" });
    EXPECT_EQ (help.code, exitOk);
    EXPECT_TRUE (contains (help.out, "--mono-to-stereo"));
    EXPECT_TRUE (help.err.empty());
}

TEST (RenderFiles, OutputNamesFollowTheInputs)
{
    const juce::File in ("/music/take 1.aiff");
    EXPECT_EQ (outputFor (in, {}, false).getFullPathName(), "/music/take 1-vesk.wav");
    EXPECT_EQ (outputFor (in, "/out", true).getFullPathName(), "/out/take 1.wav");
    EXPECT_EQ (outputFor (in, "/out/", false).getFullPathName(), "/out/take 1.wav");
    EXPECT_EQ (outputFor (in, "/out/x.wav", false).getFullPathName(), "/out/x.wav");
}

// The file formats, checked through the built vesk-render program as a user runs it: the same
// take as WAV, AIFF, FLAC, Ogg Vorbis and MP3 (encoded here with sox and lame), FLAC output, and
// damaged inputs in a batch.

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
