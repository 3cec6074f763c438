#include "Batch.h"

#include "Renderer.h"

#include <map>
#include <thread>

namespace Render
{
namespace
{
juce::File resolvePath (const juce::String& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (path);
}

juce::String channelName (int n)
{
    return n == 1 ? "mono" : (n == 2 ? "stereo" : juce::String (n) + " ch");
}

// Counts the progress of one file into the shared bar.
struct ProgressForward
{
    ProgressBar& bar;
    juce::int64 reported = 0;

    void to (juce::int64 samples)
    {
        bar.advance (samples - reported);
        reported = samples;
    }
};
}

juce::File outputFor (const juce::File& input, const juce::String& output, bool severalInputs, const juce::String& extension)
{
    const auto name = input.getFileNameWithoutExtension();

    if (output.isEmpty())
        return input.getSiblingFile (name + "-vesk." + extension);

    const auto target = resolvePath (output);
    if (severalInputs || target.isDirectory() || output.endsWithChar ('/'))
        return target.getChildFile (name + "." + extension);
    return target;
}

std::vector<Failure> planJobs (const Options& options, std::vector<FileJob>& jobs)
{
    std::vector<Failure> problems;
    jobs.clear();

    const bool several = options.inputs.size() > 1;
    if (several && options.output.isNotEmpty() && resolvePath (options.output).existsAsFile())
        problems.push_back (Failure::usage ("--output " + options.output + ": several inputs need an output folder, not a file"));

    std::map<juce::String, juce::String> claimed;   // output path -> input that writes it
    std::map<juce::String, bool> inputPaths;
    for (const auto& in : options.inputs)
        inputPaths[resolvePath (in).getFullPathName()] = true;

    for (const auto& in : options.inputs)
    {
        FileJob job;
        job.input = resolvePath (in);
        job.output = outputFor (job.input, options.output, several, options.outputExtension);

        if (auto failure = checkEncoding (job.output, outputBits (outputFormatOf (job.output), options.bitsPerSample, options.bitsGiven)))
            problems.push_back (*failure);

        job.inputFailure = InputFile::open (job.input, job.opened);
        if (! job.inputFailure && options.monoToStereo && job.opened->getNumChannels() != 1)
            job.inputFailure = Failure::input (job.input.getFullPathName() + ": --mono-to-stereo needs a mono file, this one is stereo");
        if (job.inputFailure)
        {
            job.opened.reset();
            jobs.push_back (std::move (job));
            continue;
        }

        const auto outPath = job.output.getFullPathName();
        if (inputPaths.count (outPath) > 0)
            problems.push_back (Failure::usage (job.input.getFullPathName() + ": the output " + outPath + " would overwrite an input"));
        else if (claimed.count (outPath) > 0)
            problems.push_back (Failure::usage (job.input.getFullPathName() + ": writes the same output as " + claimed[outPath] + " (" + outPath + ")"));
        else
        {
            claimed[outPath] = job.input.getFullPathName();

            // An output folder that does not exist yet is created once the checks have passed.
            const bool folderWillBeCreated = (several || options.output.endsWithChar ('/')) && ! job.output.getParentDirectory().exists();
            if (! folderWillBeCreated)
                if (auto failure = checkOutputTarget (job.output, options.force))
                    problems.push_back (*failure);
        }

        jobs.push_back (std::move (job));
    }

    if (! problems.empty())
        jobs.clear();
    return problems;
}

JobResult runFileJob (FileJob& job, const JobSettings& settings, ProgressBar& progress, const std::atomic<bool>& cancel)
{
    JobResult result;
    const double started = juce::Time::getMillisecondCounterHiRes();
    auto& input = *job.opened;

    RenderFormat format;
    format.sampleRate = input.getSampleRate();
    format.inputChannels = input.getNumChannels();
    format.outputChannels = settings.monoToStereo ? 2 : input.getNumChannels();
    format.blockSize = settings.blockSize;
    format.compensateLatency = ! settings.keepLatency;

    auto processor = createProcessor (format);
    if (processor == nullptr)
    {
        result.failure = Failure::input (job.input.getFullPathName() + ": the processor does not accept this channel layout");
        return result;
    }
    applySettings (*processor, settings.settings);
    prepareProcessor (*processor, format);

    AtomicOutputFile out (job.output, settings.overwrite);
    if (auto failure = out.open())
    {
        result.failure = failure;
        return result;
    }

    const auto fileFormat = outputFormatOf (job.output);
    const int bits = outputBits (fileFormat, settings.bitsPerSample, settings.bitsGiven);
    EncodingSink sink (out.stream(), fileFormat, format.sampleRate, format.outputChannels, bits);
    if (! sink.isOpen())
    {
        result.failure = Failure::output (job.output.getFullPathName() + ": cannot encode " + formatName (fileFormat)
                                          + " with these settings (" + sampleFormatName (bits) + ", "
                                          + juce::String (format.sampleRate) + " Hz)");
        return result;
    }

    auto source = input.createSource();
    ProgressForward forward { progress };
    const auto status = render (*processor, format, *source, sink, [&] (juce::int64 done) {
        forward.to (done);
        return ! cancel.load();
    });
    forward.to (input.getLength());

    switch (status)
    {
        case RenderStatus::sourceFailed:
            result.failure = Failure::input (job.input.getFullPathName() + ": " + source->error().fromFirstOccurrenceOf (": ", false, false));
            return result;
        case RenderStatus::cancelled:
            result.failure = Failure { exitCancelled, job.input.getFullPathName() + ": cancelled; nothing was written" };
            return result;
        case RenderStatus::sinkFailed:
            result.failure = Failure::output (job.output.getFullPathName() + ": write failed ("
                                              + (out.writeError().isNotEmpty() ? out.writeError() : juce::String ("encoder error"))
                                              + "); nothing was written");
            return result;
        case RenderStatus::done:
            break;
    }

    sink.finish();
    if (auto failure = out.commit())
    {
        result.failure = failure;
        return result;
    }

    const double seconds = (juce::Time::getMillisecondCounterHiRes() - started) / 1000.0;
    auto& s = result.summary;
    s.seconds = (double) input.getLength() / format.sampleRate;
    s.sampleRate = format.sampleRate;
    s.inputChannels = format.inputChannels;
    s.outputChannels = format.outputChannels;
    s.levels = sink.getLevels();
    s.realTimeFactor = seconds > 0.0 ? s.seconds / seconds : 0.0;
    s.bitsPerSample = bits;
    s.format = fileFormat;
    s.leftOnly = format.inputChannels == 2 && processor->parameters[FloatParameter::processing]->getValue() < 0.5f
              && processor->parameters[FloatParameter::onOff]->getValue() >= 0.5f;
    return result;
}

int workerCount (int requested, int count)
{
    const int cores = juce::jmax (1, (int) std::thread::hardware_concurrency());
    return juce::jlimit (1, juce::jmax (1, count), requested > 0 ? requested : cores);
}

void runInParallel (int workers, int count, const std::function<void (int)>& work)
{
    std::atomic<int> next { 0 };
    const auto loop = [&] {
        for (int i = next.fetch_add (1); i < count; i = next.fetch_add (1))
            work (i);
    };

    std::vector<std::thread> threads;
    for (int t = 1; t < juce::jmin (workers, count); ++t)
        threads.emplace_back (loop);
    loop();
    for (auto& t : threads)
        t.join();
}

juce::String summaryLine (const FileJob& job, const FileSummary& s)
{
    juce::String line;
    line << job.input.getFileName() << " -> " << job.output.getFullPathName()
         << "  " << juce::String (s.seconds, 2) << " s"
         << "  " << juce::String ((int) std::lround (s.sampleRate)) << " Hz"
         << "  " << channelName (s.inputChannels) << " -> " << channelName (s.outputChannels)
         << "  " << (s.format == OutputFormat::flac ? "FLAC " : "") << sampleFormatName (s.bitsPerSample)
         << "  peak " << formatDbfs (s.levels.peakDb())
         << "  RMS " << formatDbfs (s.levels.rmsDb())
         << "  " << juce::String (s.realTimeFactor, 1) << "x real time";
    if (s.leftOnly)
        line << "  (Mono processing: the left channel feeds both outputs; --stereo processes both)";
    if (s.bitsPerSample != 32 && s.levels.overFullScale > 0)
        line << "  (" << juce::String (s.levels.overFullScale) << " samples clipped at full scale)";
    return line;
}
}
