#pragma once

#include "Failure.h"
#include "Renderer.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>
#include <optional>

namespace Render
{
constexpr double lowestSampleRate = 8000.0;
constexpr double highestSampleRate = 384000.0;

// An input audio file, opened and checked: a WAV, AIFF, FLAC, Ogg Vorbis or MP3 file, recognised
// by its content whatever its name, with one or two channels (more is an error, not a silent
// choice of two), a sample rate the engine runs at, at least one sample, and as much sample data
// as its header declares.
class InputFile
{
public:
    static std::optional<Failure> open (const juce::File& file, std::unique_ptr<InputFile>& result);

    int getNumChannels() const { return (int) reader->numChannels; }
    double getSampleRate() const { return reader->sampleRate; }
    juce::int64 getLength() const { return length; }
    juce::String getFormatName() const { return reader->getFormatName(); }
    const juce::File& getFile() const { return file; }

    // Reads the samples in order. Fails on a read error or a sample that is not finite.
    std::unique_ptr<SampleSource> createSource();

private:
    InputFile (const juce::File& f, std::unique_ptr<juce::AudioFormatReader> r, juce::int64 first, juce::int64 samples)
        : file (f), reader (std::move (r)), start (first), length (samples) {}

    juce::File file;
    std::unique_ptr<juce::AudioFormatReader> reader;
    juce::int64 start;    // the first sample of the audio in the reader's (an MP3's codec delay)
    juce::int64 length;   // the reader's, or an MP3's encoded length
};

// Reads a whole file into memory (the tests' and tools' way to look at an output).
std::optional<Failure> readWholeFile (const juce::File& file, juce::AudioBuffer<float>& buffer, double& sampleRate);
}
