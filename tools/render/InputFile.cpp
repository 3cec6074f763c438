#include "InputFile.h"

#include "StreamCheck.h"

#include <cmath>

namespace Render
{
namespace
{
class ReaderSource final : public SampleSource
{
public:
    ReaderSource (juce::AudioFormatReader& r, juce::int64 first, juce::int64 samples, const juce::File& f)
        : reader (r), start (first), length (samples), file (f) {}

    int read (float* const* channels, int numChannels, int maxSamples) override
    {
        const auto left = length - position;
        const int n = (int) juce::jmin ((juce::int64) maxSamples, left);
        if (n <= 0)
            return 0;

        if (! reader.read (channels, numChannels, start + position, n))
            return fail ("read error at sample " + juce::String (position));

        for (int c = 0; c < numChannels; ++c)
            for (int i = 0; i < n; ++i)
                if (! std::isfinite (channels[c][i]))
                    return fail ("corrupt audio: sample " + juce::String (position + i) + " of channel "
                                 + juce::String (c + 1) + " is not a finite number");

        position += n;
        return n;
    }

    juce::String error() const override { return message; }

private:
    int fail (const juce::String& m)
    {
        message = file.getFileName() + ": " + m;
        return -1;
    }

    juce::AudioFormatReader& reader;
    juce::int64 start, length;
    juce::File file;
    juce::int64 position = 0;
    juce::String message;
};
}

std::optional<Failure> InputFile::open (const juce::File& file, std::unique_ptr<InputFile>& result)
{
    const auto name = file.getFullPathName();

    if (file.isDirectory())
        return Failure::input (name + ": is a folder, not an audio file");
    if (! file.existsAsFile())
        return Failure::input (name + ": no such file");

    auto stream = std::make_unique<juce::FileInputStream> (file);
    if (stream->failedToOpen())
        return Failure::input (name + ": cannot open (" + stream->getStatus().getErrorMessage() + ")");

    const juce::int64 fileSize = stream->getTotalLength();
    if (fileSize == 0)
        return Failure::input (name + ": is empty (0 bytes)");

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (std::move (stream)));
    if (reader == nullptr)
        return Failure::input (name + ": not a recognised audio file (WAV, AIFF, FLAC, Ogg Vorbis or MP3), or its header is corrupt");

    const auto formatName = reader->getFormatName();
    const bool compressed = formatName.startsWith ("MP3") || formatName.startsWith ("FLAC") || formatName.startsWith ("Ogg");
    juce::int64 start = 0, length = reader->lengthInSamples;

    if (reader->numChannels < 1 || reader->numChannels > 2)
        return Failure::input (name + ": has " + juce::String ((int) reader->numChannels)
                               + " channels; only mono and stereo files are supported (extract or mix down two first)");

    if (! (reader->sampleRate >= lowestSampleRate && reader->sampleRate <= highestSampleRate))
    {
        const double rate = reader->sampleRate;
        return Failure::input (name + ": sample rate " + juce::String (rate, rate == std::floor (rate) ? 0 : 2)
                               + " Hz is outside 8000 to 384000 Hz");
    }

    // The MP3 reader takes any stream with something like a frame header in its first 32 KB,
    // steps over damage and leaves the codec's delay in: the frames are checked here, and the
    // audio is read from where the encoder's gapless information puts it.
    if (formatName.startsWith ("MP3"))
    {
        bool notMp3 = false;
        Mp3Audio audio;
        if (auto problem = checkMp3Frames (file, notMp3, audio))
            return Failure::input (name + ": " + (notMp3 ? *problem + ", or its header is corrupt" : *problem));
        start = audio.start;
        length = juce::jmin (length - start, audio.length);
    }
    else if (formatName.startsWith ("FLAC"))
    {
        if (auto problem = checkFlacStream (file))
            return Failure::input (name + ": " + *problem);
    }

    if (length <= 0)
        return Failure::input (name + ": contains no audio samples (empty or unsupported encoding)");

    // A header that promises more sample data than the file holds means a truncated file.
    const juce::int64 frameBytes = (juce::int64) reader->numChannels * (juce::int64) reader->bitsPerSample / 8;
    if (! compressed && (frameBytes <= 0 || reader->lengthInSamples > fileSize / frameBytes))
        return Failure::input (name + ": corrupt audio: the header declares " + juce::String (reader->lengthInSamples)
                               + " samples but the file is too short for them (truncated?)");

    result.reset (new InputFile (file, std::move (reader), start, length));
    return std::nullopt;
}

std::unique_ptr<SampleSource> InputFile::createSource()
{
    return std::make_unique<ReaderSource> (*reader, start, length, file);
}

std::optional<Failure> readWholeFile (const juce::File& file, juce::AudioBuffer<float>& buffer, double& sampleRate)
{
    std::unique_ptr<InputFile> input;
    if (auto failure = InputFile::open (file, input))
        return failure;

    buffer.setSize (input->getNumChannels(), (int) input->getLength());
    sampleRate = input->getSampleRate();
    auto source = input->createSource();
    if (source->read (buffer.getArrayOfWritePointers(), buffer.getNumChannels(), buffer.getNumSamples()) != buffer.getNumSamples())
        return Failure::input (source->error());
    return std::nullopt;
}
}
