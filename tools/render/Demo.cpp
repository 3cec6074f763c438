#include "Demo.h"

#include "Batch.h"
#include "DemoPlot.h"
#include "Levels.h"
#include "OutputFile.h"
#include "PlotStyle.h"
#include "Renderer.h"
#include "Response.h"

#include <PluckedGuitar.h>

namespace Render
{
namespace
{
juce::File resolvePath (const juce::String& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (path);
}

int report (Console& console, const std::vector<Failure>& failures)
{
    int code = exitOk;
    for (const auto& f : failures)
    {
        console.err << "vesk-render: error: " << f.message << "\n";
        code = juce::jmax (code, f.exitCode);
    }
    return code;
}

struct Rendered
{
    int slot;
    juce::String name, settings;
    juce::AudioBuffer<float> output;
    double realTimeFactor = 0.0;
};
}

juce::AudioBuffer<float> synthesiseDemoDI (double sampleRate)
{
    auto samples = Signal::synthesiseGuitar (Signal::demoPhrase(), sampleRate, demoSeconds);
    Signal::scaleToRms (samples, demoRmsDb);
    juce::AudioBuffer<float> di (1, (int) samples.size());
    di.copyFrom (0, 0, samples.data(), (int) samples.size());
    return di;
}

juce::String demoFileName (const juce::String& programName)
{
    juce::String slug;
    for (auto c : programName.toLowerCase())
    {
        if (juce::CharacterFunctions::isLetterOrDigit (c) && c < 128)
            slug << juce::String::charToString (c);
        else if (! slug.endsWithChar ('-'))
            slug << "-";
    }
    slug = slug.trimCharactersAtStart ("-").trimCharactersAtEnd ("-");
    return (slug.isEmpty() ? juce::String ("program") : slug) + ".wav";
}

int runDemo (const Options& options, const ResolvedSettings& settings, Console& console)
{
    const auto folder = resolvePath (options.output.isNotEmpty() ? options.output : juce::String ("vesk-demo"));
    const double rate = options.sampleRate;

    if (folder.existsAsFile())
        return report (console, { Failure::output (folder.getFullPathName() + ": is a file; the demo needs a folder") });

    // Which programs, and what they are called (a loaded state may rename them).
    std::vector<Rendered> jobs;
    {
        Processor scratch;
        applySettings (scratch, settings);
        for (int slot = 0; slot < scratch.getNumPrograms(); ++slot)
            if (settings.program < 0 || settings.program == slot)
                jobs.push_back ({ slot, scratch.getProgramName (slot), {}, {}, 0.0 });
    }

    // Every output is checked before anything is written.
    std::vector<juce::File> targets { folder.getChildFile (demoInputName), folder.getChildFile (demoPictureName) };
    for (const auto& j : jobs)
        targets.push_back (folder.getChildFile (demoFileName (j.name)));
    std::vector<Failure> problems;
    if (folder.isDirectory())
        for (const auto& t : targets)
            if (auto f = checkOutputTarget (t, options.force))
                problems.push_back (*f);
    if (! problems.empty())
        return report (console, problems);

    if (! folder.isDirectory() && ! folder.createDirectory())
        return report (console, { Failure::output (folder.getFullPathName() + ": cannot create the folder") });

    const auto di = synthesiseDemoDI (rate);

    RenderFormat format;
    format.sampleRate = rate;
    format.inputChannels = 1;
    format.outputChannels = options.monoToStereo ? 2 : 1;
    format.blockSize = options.blockSize;
    format.compensateLatency = ! options.keepLatency;

    runInParallel (workerCount (options.jobs, (int) jobs.size()), (int) jobs.size(), [&] (int i) {
        auto& job = jobs[(size_t) i];
        const double started = juce::Time::getMillisecondCounterHiRes();
        auto processor = createProcessor (format);
        auto forSlot = settings;
        forSlot.program = job.slot;
        applySettings (*processor, forSlot);
        prepareProcessor (*processor, format);
        job.settings = describeSettings (*processor, "|");
        job.output = renderBuffer (*processor, format, di);
        const double seconds = (juce::Time::getMillisecondCounterHiRes() - started) / 1000.0;
        job.realTimeFactor = seconds > 0.0 ? di.getNumSamples() / rate / seconds : 0.0;
    });

    if (auto f = writeWavFile (targets[0], options.force, di, rate, options.bitsPerSample))
        return report (console, { *f });

    for (size_t i = 0; i < jobs.size(); ++i)
        if (auto f = writeWavFile (targets[i + 2], options.force, jobs[i].output, rate, options.bitsPerSample))
            return report (console, { *f });

    // The picture: settings lines are split at the separators into three short lines.
    std::vector<DemoTrace> traces;
    for (const auto& j : jobs)
    {
        juce::StringArray parts;
        parts.addTokens (j.settings, "|", "");
        juce::String lines;
        const auto dot = "  " + Plot::middleDot() + "  ";
        for (int p = 0; p < parts.size(); ++p)
            lines << parts[p] << (p == parts.size() - 1 ? "" : (p == 2 || p == 4 ? "|" : dot));
        traces.push_back ({ j.slot, j.name, lines, j.output });
    }
    const double zoomStart = 2.30;   // the held A3, a few hundred ms after its attack
    const auto picture = drawDemoPicture (di, rate, traces, zoomStart, "the held A3");
    if (auto f = Plot::writePng (picture, targets[1], options.force))
        return report (console, { *f });

    if (! console.quiet)
    {
        Levels in;
        in.add (di);
        auto& out = console.out;
        out << "Demo written to " << folder.getFullPathName() << "/\n";
        out << "  " << juce::String (demoInputName).paddedRight (' ', 22) << "the synthesised guitar DI, "
            << juce::String (di.getNumSamples() / rate, 1) << " s, " << (int) rate << " Hz, peak "
            << formatDbfs (in.peakDb()) << ", RMS " << formatDbfs (in.rmsDb()) << "\n";
        for (size_t i = 0; i < jobs.size(); ++i)
        {
            Levels l;
            l.add (jobs[i].output);
            out << "  " << targets[i + 2].getFileName().paddedRight (' ', 22) << "\"" << jobs[i].name << "\": peak "
                << formatDbfs (l.peakDb()) << ", RMS " << formatDbfs (l.rmsDb()) << ", "
                << juce::String (jobs[i].realTimeFactor, 1) << "x real time\n";
        }
        out << "  " << juce::String (demoPictureName).paddedRight (' ', 22) << "waveforms and spectra of every program ("
            << picture.getWidth() << " x " << picture.getHeight() << ")\n";
        out << std::flush;
    }
    return exitOk;
}

int runResponse (const Options& options, const ResolvedSettings& settings, Console& console)
{
    const auto target = resolvePath (options.output.isNotEmpty() ? options.output : juce::String ("vesk-response.png"));
    if (auto f = checkOutputTarget (target, options.force))
        return report (console, { *f });

    const auto curves = measureResponse (settings, options.sampleRate, options.blockSize, toneSweep());

    Processor scratch;
    applySettings (scratch, settings);
    auto described = describeSettings (scratch, "  " + Plot::middleDot() + "  ");
    // The sweep replaces the tone setting.
    described = described.replace ("Tone " + scratch.parameters[FloatParameter::tone]->getLabel().trim().removeCharacters ("[]"),
                                   "Tone swept");
    const auto program = scratch.getProgramName (scratch.getCurrentProgram());
    const auto title = "Vesk 1.1 " + Plot::emDash() + " frequency response, \"" + program + "\"";
    const auto subtitle = described + "  " + Plot::middleDot() + "  " + juce::String ((int) options.sampleRate) + " Hz";

    if (auto f = Plot::writePng (drawResponsePicture (curves, title, subtitle), target, options.force))
        return report (console, { *f });

    if (! console.quiet)
    {
        auto& out = console.out;
        out << "Response of \"" << program << "\" (" << described.replace (Plot::middleDot(), "-") << "):\n";
        for (const auto& c : curves)
            out << "  tone " << juce::String (c.tone, 2) << " " << c.toneLabel.paddedRight (' ', 5) << "  100 Hz "
                << juce::String (c.response.at (100.0), 1).paddedLeft (' ', 6) << " dB   1 kHz "
                << juce::String (c.response.at (1000.0), 1).paddedLeft (' ', 6) << " dB   5 kHz "
                << juce::String (c.response.at (5000.0), 1).paddedLeft (' ', 6) << " dB   peak "
                << juce::String (c.peakDb, 1) << " dB at " << juce::String ((int) std::lround (c.peakHz)) << " Hz\n";
        out << "Written to " << target.getFullPathName() << "\n" << std::flush;
    }
    return exitOk;
}
}
