#include "OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Render
{
namespace
{
juce::String errnoText (int error)
{
    return juce::String (std::strerror (error));
}

// Forwards to a stream it does not own (the format writer deletes the stream it is given).
class BorrowedStream final : public juce::OutputStream
{
public:
    explicit BorrowedStream (juce::OutputStream& s) : target (s) {}
    void flush() override { target.flush(); }
    bool setPosition (juce::int64 p) override { return target.setPosition (p); }
    juce::int64 getPosition() override { return target.getPosition(); }
    bool write (const void* data, size_t n) override { return target.write (data, n); }

private:
    juce::OutputStream& target;
};
}

// An unbuffered file descriptor stream that records the first error, including short writes.
class AtomicOutputFile::Stream final : public juce::OutputStream
{
public:
    explicit Stream (int descriptor) : fd (descriptor) {}
    ~Stream() override { closeFile(); }

    void flush() override
    {
        if (fd >= 0 && ::fsync (fd) != 0 && firstError == 0)
            firstError = errno;
    }

    bool setPosition (juce::int64 p) override
    {
        if (fd < 0 || ::lseek (fd, (off_t) p, SEEK_SET) < 0)
            return record (errno);
        position = p;
        return true;
    }

    juce::int64 getPosition() override { return position; }

    bool write (const void* data, size_t n) override
    {
        if (fd < 0 || firstError != 0)
            return false;

        auto* bytes = static_cast<const char*> (data);
        while (n > 0)
        {
            const auto written = ::write (fd, bytes, n);
            if (written < 0)
            {
                if (errno == EINTR)
                    continue;
                return record (errno);
            }
            if (written == 0)
                return record (ENOSPC);
            bytes += written;
            n -= (size_t) written;
            position += written;
        }
        return true;
    }

    bool closeFile()
    {
        if (fd < 0)
            return true;
        const int r = ::close (fd);
        fd = -1;
        return r == 0 || record (errno);
    }

    int error() const { return firstError; }

private:
    bool record (int e)
    {
        if (firstError == 0)
            firstError = e != 0 ? e : EIO;
        return false;
    }

    int fd;
    juce::int64 position = 0;
    int firstError = 0;
};

std::optional<Failure> checkOutputTarget (const juce::File& target, bool overwrite)
{
    const auto name = target.getFullPathName();
    if (target.isDirectory())
        return Failure::output (name + ": is a folder");
    if (! target.getParentDirectory().isDirectory())
        return Failure::output (name + ": the folder " + target.getParentDirectory().getFullPathName() + " does not exist");
    if (target.exists() && ! overwrite)
        return Failure::output (name + ": already exists (use --force to overwrite)");
    return std::nullopt;
}

AtomicOutputFile::AtomicOutputFile (const juce::File& t, bool o) : target (t), overwrite (o) {}

AtomicOutputFile::~AtomicOutputFile()
{
    file.reset();
    if (! committed && temporary != juce::File())
        ::unlink (temporary.getFullPathName().toRawUTF8());
}

std::optional<Failure> AtomicOutputFile::open()
{
    if (auto failure = checkOutputTarget (target, overwrite))
        return failure;

    auto& random = juce::Random::getSystemRandom();
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const auto candidate = target.getSiblingFile ("." + target.getFileName() + ".part-"
                                                      + juce::String::toHexString (random.nextInt64()));
        const int fd = ::open (candidate.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
        {
            temporary = candidate;
            file = std::make_unique<Stream> (fd);
            return std::nullopt;
        }
        if (errno != EEXIST)
            return Failure::output (target.getFullPathName() + ": cannot write in " + target.getParentDirectory().getFullPathName()
                                    + " (" + errnoText (errno) + ")");
    }
    return Failure::output (target.getFullPathName() + ": cannot create a temporary file beside it");
}

juce::String AtomicOutputFile::writeError() const
{
    return file != nullptr && file->error() != 0 ? errnoText (file->error()) : juce::String();
}

juce::OutputStream& AtomicOutputFile::stream()
{
    jassert (file != nullptr);
    return *file;
}

std::optional<Failure> AtomicOutputFile::commit()
{
    const auto name = target.getFullPathName();
    if (file == nullptr)
        return Failure::output (name + ": not open");

    file->flush();
    file->closeFile();
    if (file->error() != 0)
        return Failure::output (name + ": write failed (" + errnoText (file->error()) + "); nothing was written");

    const auto from = temporary.getFullPathName().toStdString();
    const auto to = name.toStdString();

    if (overwrite)
    {
        if (std::rename (from.c_str(), to.c_str()) != 0)
            return Failure::output (name + ": cannot rename the finished file into place (" + errnoText (errno) + ")");
    }
    else
    {
        // A hard link fails if the target exists, so nothing that appeared meanwhile is replaced.
        if (::link (from.c_str(), to.c_str()) != 0)
        {
            const int e = errno;
            if (e == EEXIST)
                return Failure::output (name + ": already exists (use --force to overwrite)");
            if (target.exists() || std::rename (from.c_str(), to.c_str()) != 0)
                return Failure::output (name + ": cannot move the finished file into place (" + errnoText (e) + ")");
        }
        ::unlink (from.c_str());
    }

    committed = true;
    return std::nullopt;
}

std::optional<Failure> writeFileAtomically (const juce::File& target, bool overwrite, const void* data, size_t size)
{
    AtomicOutputFile out (target, overwrite);
    if (auto failure = out.open())
        return failure;
    out.stream().write (data, size);
    return out.commit();
}

OutputFormat outputFormatOf (const juce::File& target)
{
    return target.hasFileExtension ("flac") ? OutputFormat::flac : OutputFormat::wav;
}

juce::String formatName (OutputFormat format)
{
    return format == OutputFormat::flac ? "FLAC" : "WAV";
}

int outputBits (OutputFormat format, int requestedBits, bool bitsGiven)
{
    return bitsGiven ? requestedBits : (format == OutputFormat::flac ? 24 : 32);
}

std::optional<Failure> checkEncoding (const juce::File& target, int bitsPerSample)
{
    if (outputFormatOf (target) == OutputFormat::flac && bitsPerSample == 32)
        return Failure::usage (target.getFullPathName() + ": FLAC holds 16- or 24-bit integers; --bits 32 (float) is for WAV only");
    return std::nullopt;
}

juce::String sampleFormatName (int bitsPerSample)
{
    return bitsPerSample == 32 ? "32-bit float" : juce::String (bitsPerSample) + "-bit";
}

EncodingSink::EncodingSink (juce::OutputStream& out, OutputFormat format, double sampleRate, int numChannels, int bitsPerSample)
{
    std::unique_ptr<juce::AudioFormat> encoder;
    if (format == OutputFormat::flac)
    {
#if JUCE_USE_FLAC
        encoder = std::make_unique<juce::FlacAudioFormat>();
#endif
    }
    else
        encoder = std::make_unique<juce::WavAudioFormat>();

    // FLAC at its default compression level 5.
    if (encoder != nullptr)
        writer.reset (encoder->createWriterFor (new BorrowedStream (out), sampleRate, (unsigned) numChannels, bitsPerSample, {},
                                                format == OutputFormat::flac ? 5 : 0));
}

EncodingSink::~EncodingSink() = default;

bool EncodingSink::write (const float* const* channels, int numChannels, int numSamples)
{
    if (writer == nullptr)
        return false;
    levels.add (channels, numChannels, numSamples);
    samplesWritten += numSamples;
    return writer->writeFromFloatArrays (channels, numChannels, numSamples);
}

bool EncodingSink::finish()
{
    if (writer == nullptr)
        return false;
    const bool ok = writer->flush();
    writer.reset();
    return ok;
}

std::optional<Failure> writeWavFile (const juce::File& target, bool overwrite, const juce::AudioBuffer<float>& buffer,
                                     double sampleRate, int bitsPerSample)
{
    AtomicOutputFile out (target, overwrite);
    if (auto failure = out.open())
        return failure;

    EncodingSink sink (out.stream(), OutputFormat::wav, sampleRate, buffer.getNumChannels(), bitsPerSample);
    if (! sink.isOpen())
        return Failure::output (target.getFullPathName() + ": cannot encode WAV with these settings");
    sink.write (buffer.getArrayOfReadPointers(), buffer.getNumChannels(), buffer.getNumSamples());
    sink.finish();
    return out.commit();
}
}
