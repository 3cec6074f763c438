#pragma once

#include "Failure.h"
#include "Levels.h"
#include "Renderer.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>
#include <optional>

namespace Render
{
// Checks that a file may be written: its folder exists, it is not a folder, and it does not
// exist yet unless overwriting is allowed.
std::optional<Failure> checkOutputTarget (const juce::File& target, bool overwrite);

// A file written under a hidden temporary name beside its target and renamed to the target only
// when complete. Until `commit` succeeds the target is untouched; a failed or abandoned write
// leaves nothing behind.
class AtomicOutputFile
{
public:
    AtomicOutputFile (const juce::File& target, bool overwrite);
    ~AtomicOutputFile();

    std::optional<Failure> open();

    // Valid after a successful open. Write errors are recorded and reported by commit.
    juce::OutputStream& stream();

    // Flushes to the disk, closes and renames. Without overwrite an existing target is refused
    // here too, so a file that appeared meanwhile is not clobbered.
    std::optional<Failure> commit();

    // The first write error so far, as text; empty when there was none.
    juce::String writeError() const;

    const juce::File& getTarget() const { return target; }
    const juce::File& getTemporaryFile() const { return temporary; }

private:
    class Stream;

    juce::File target, temporary;
    bool overwrite;
    bool committed = false;
    std::unique_ptr<Stream> file;
};

// Writes whole data to a file through a temporary file.
std::optional<Failure> writeFileAtomically (const juce::File& target, bool overwrite, const void* data, size_t size);

// The file formats written, chosen by the output's extension: ".flac" is FLAC, anything else WAV.
enum class OutputFormat { wav, flac };
OutputFormat outputFormatOf (const juce::File& target);
juce::String formatName (OutputFormat format);

// The sample format written: --bits when given, else 32-bit float for WAV and 24-bit for FLAC.
// WAV takes 16, 24 or 32 (float) bits, FLAC 16 or 24.
int outputBits (OutputFormat format, int requestedBits, bool bitsGiven);
std::optional<Failure> checkEncoding (const juce::File& target, int bitsPerSample);

// "32-bit float", "24-bit" ...
juce::String sampleFormatName (int bitsPerSample);

// A sink that encodes WAV (16/24-bit integer, 32-bit float) or FLAC (16/24-bit) into an output
// stream and keeps the levels of what it wrote.
class EncodingSink final : public SampleSink
{
public:
    EncodingSink (juce::OutputStream& out, OutputFormat format, double sampleRate, int numChannels, int bitsPerSample);
    ~EncodingSink() override;

    bool isOpen() const { return writer != nullptr; }
    bool write (const float* const* channels, int numChannels, int numSamples) override;
    juce::String error() const override { return "write failed"; }

    // Writes the final header; the stream then holds a complete file.
    bool finish();

    const Levels& getLevels() const { return levels; }
    juce::int64 getSamplesWritten() const { return samplesWritten; }

private:
    std::unique_ptr<juce::AudioFormatWriter> writer;
    Levels levels;
    juce::int64 samplesWritten = 0;
};

// Writes a buffer as a WAV file through a temporary file.
std::optional<Failure> writeWavFile (const juce::File& target, bool overwrite, const juce::AudioBuffer<float>& buffer,
                                     double sampleRate, int bitsPerSample);
}
