#pragma once

#include "App.h"
#include "InputFile.h"
#include "OutputFile.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

// Helpers for the renderer's tests: a scratch folder, a way to run the command line in-process,
// and small audio files.
namespace RenderFixture
{
struct TempFolder
{
    TempFolder() : dir (juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("vesk-render-test", ""))
    {
        dir.createDirectory();
    }
    ~TempFolder() { dir.deleteRecursively(); }

    juce::File file (const juce::String& name) const { return dir.getChildFile (name); }
    juce::String path (const juce::String& name) const { return file (name).getFullPathName(); }

    // Everything in the folder, hidden files included (a leftover temporary file shows here).
    juce::StringArray names() const
    {
        juce::StringArray result;
        for (const auto& entry : juce::RangedDirectoryIterator (dir, false, "*", juce::File::findFilesAndDirectories))
            result.add (entry.getFile().getFileName());
        result.sort (false);
        return result;
    }

    juce::File dir;
};

struct Run
{
    int code = -1;
    std::string out, err;
};

inline Run run (const std::vector<juce::String>& args)
{
    std::ostringstream out, err;
    Render::Console console { out, err, false, false };
    Run r;
    r.code = Render::runCommandLine (args, console);
    r.out = out.str();
    r.err = err.str();
    return r;
}

inline int lineCount (const std::string& s)
{
    int n = 0;
    for (char c : s)
        n += c == '\n';
    return n;
}

// Checks an error stream of one line per file: each file has its line, holding the message.
inline void expectOneLineEach (const std::string& err, const std::vector<std::pair<const char*, const char*>>& fileAndMessage)
{
    for (const auto& [file, message] : fileAndMessage)
    {
        const auto at = err.find (std::string (file) + ": ");
        ASSERT_NE (at, std::string::npos) << file << "\n" << err;
        const auto line = err.substr (at, err.find ('\n', at) - at);
        EXPECT_NE (line.find (message), std::string::npos) << line;
    }
    EXPECT_EQ (lineCount (err), (int) fileAndMessage.size()) << err;
}

// Deterministic noise, about -20 dBFS RMS.
inline juce::AudioBuffer<float> noise (int channels, int length, juce::int64 seed = 1)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> b (channels, length);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < length; ++i)
            b.setSample (c, i, (random.nextFloat() * 2.0f - 1.0f) * 0.17f);
    return b;
}

inline void writeWav (const juce::File& file, const juce::AudioBuffer<float>& b, double rate = 48000.0, int bits = 32)
{
    const auto failure = Render::writeWavFile (file, true, b, rate, bits);
    ASSERT_FALSE (failure.has_value()) << failure->message;
}

inline juce::AudioBuffer<float> readWav (const juce::File& file, double* rate = nullptr)
{
    juce::AudioBuffer<float> b;
    double r = 0.0;
    const auto failure = Render::readWholeFile (file, b, r);
    EXPECT_FALSE (failure.has_value()) << (failure ? failure->message : juce::String());
    if (rate != nullptr)
        *rate = r;
    return b;
}

inline bool sameBytes (const juce::File& a, const juce::File& b)
{
    juce::MemoryBlock x, y;
    return a.loadFileAsData (x) && b.loadFileAsData (y) && x == y;
}

inline bool bitIdentical (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;
    for (int c = 0; c < a.getNumChannels(); ++c)
        if (std::memcmp (a.getReadPointer (c), b.getReadPointer (c), sizeof (float) * (size_t) a.getNumSamples()) != 0)
            return false;
    return true;
}
}
