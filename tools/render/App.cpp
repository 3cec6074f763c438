#include "App.h"

#include "Batch.h"
#include "Demo.h"
#include "HelpText.h"
#include "OutputFile.h"
#include "Options.h"
#include "Progress.h"
#include "Settings.h"

namespace Render
{
namespace
{
int fail (Console& console, const Failure& f)
{
    console.err << "vesk-render: error: " << f.message << "\n";
    if (f.exitCode == exitUsage)
        console.err << "Try 'vesk-render --help'.\n";
    console.err << std::flush;
    return f.exitCode;
}

std::optional<Failure> saveState (const Options& options, const ResolvedSettings& settings)
{
    Processor processor;
    applySettings (processor, settings);
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    const auto target = juce::File::getCurrentWorkingDirectory().getChildFile (options.saveStateFile);
    return writeFileAtomically (target, options.force, block.getData(), block.getSize());
}

int runBatch (const Options& options, const ResolvedSettings& settings, Console& console)
{
    std::vector<FileJob> jobs;
    const auto problems = planJobs (options, jobs);
    if (! problems.empty())
    {
        int code = exitOk;
        for (const auto& p : problems)
        {
            console.err << "vesk-render: error: " << p.message << "\n";
            code = juce::jmax (code, p.exitCode);
        }
        console.err << "Nothing was written.\n" << std::flush;
        return code;
    }

    if (options.saveStateFile.isNotEmpty())
        if (auto f = saveState (options, settings))
            return fail (console, *f);

    for (const auto& job : jobs)
    {
        if (job.inputFailure)
            continue;
        const auto folder = job.output.getParentDirectory();
        if (! folder.isDirectory() && ! folder.createDirectory())
            return fail (console, Failure::output (folder.getFullPathName() + ": cannot create the output folder"));
    }

    JobSettings js;
    js.settings = settings;
    js.blockSize = options.blockSize;
    js.bitsPerSample = options.bitsPerSample;
    js.bitsGiven = options.bitsGiven;
    js.monoToStereo = options.monoToStereo;
    js.keepLatency = options.keepLatency;
    js.overwrite = options.force;

    // Inputs that cannot be used are reported first; the others are rendered all the same.
    std::vector<int> codes (jobs.size(), exitOk);
    juce::int64 total = 0;
    int usable = 0;
    for (size_t i = 0; i < jobs.size(); ++i)
    {
        if (const auto& f = jobs[i].inputFailure)
        {
            console.err << "vesk-render: error: " << f->message << "\n" << std::flush;
            codes[i] = f->exitCode;
        }
        else
        {
            total += jobs[i].opened->getLength();
            ++usable;
        }
    }

    if (usable > 0)
    {
        struct Cancellable
        {
            Cancellable() { cancellable().store (true); }
            ~Cancellable() { cancellable().store (false); }
        } whileRunning;
        ProgressBar progress (console.err, console.showProgress && ! console.quiet, total, usable);
        runInParallel (workerCount (options.jobs, usable), (int) jobs.size(), [&] (int i) {
            auto& job = jobs[(size_t) i];
            if (job.inputFailure)
                return;
            const auto result = runFileJob (job, js, progress, cancelRequested());
            job.opened.reset();   // closes the input
            progress.fileFinished();
            if (result.failure)
            {
                codes[(size_t) i] = result.failure->exitCode;
                progress.print (console.err, "vesk-render: error: " + result.failure->message);
            }
            else if (! console.quiet)
                progress.print (console.out, summaryLine (job, result.summary));
        });
    }

    int code = exitOk;
    for (auto c : codes)
        code = juce::jmax (code, c);
    return code;
}
}

std::atomic<bool>& cancelRequested()
{
    static std::atomic<bool> flag { false };
    return flag;
}

std::atomic<bool>& cancellable()
{
    static std::atomic<bool> flag { false };
    return flag;
}

int runCommandLine (const std::vector<juce::String>& args, Console& console)
{
    const auto parsed = parseArguments (args);
    if (parsed.failure)
        return fail (console, *parsed.failure);

    const auto& options = parsed.options;
    Console effective = console;
    effective.quiet = console.quiet || options.quiet;

    switch (options.mode)
    {
        case Options::Mode::help:
            console.out << helpText() << std::flush;
            return exitOk;
        case Options::Mode::version:
            console.out << versionText() << "\n" << std::flush;
            return exitOk;
        default:
            break;
    }

    ResolvedSettings settings;
    if (auto f = resolveSettings (options.settings, settings))
        return fail (console, *f);

    switch (options.mode)
    {
        case Options::Mode::list:
        {
            Processor processor;
            applySettings (processor, settings);
            console.out << listProgramsAndParameters (processor) << std::flush;
            return exitOk;
        }
        case Options::Mode::render:
            return runBatch (options, settings, effective);
        case Options::Mode::response:
            if (options.saveStateFile.isNotEmpty())
                if (auto f = saveState (options, settings))
                    return fail (console, *f);
            return runResponse (options, settings, effective);
        case Options::Mode::demo:
            if (options.saveStateFile.isNotEmpty())
            {
                // With no input, --save-state only writes the state.
                if (auto f = saveState (options, settings))
                    return fail (console, *f);
                if (! effective.quiet)
                    console.out << "State written to "
                                << juce::File::getCurrentWorkingDirectory().getChildFile (options.saveStateFile).getFullPathName()
                                << "\n" << std::flush;
                return exitOk;
            }
            return runDemo (options, settings, effective);
        case Options::Mode::help:
        case Options::Mode::version:
            break;
    }
    return exitOk;
}
}
