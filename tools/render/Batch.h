#pragma once

#include "Failure.h"
#include "InputFile.h"
#include "Levels.h"
#include "Options.h"
#include "OutputFile.h"
#include "Progress.h"
#include "Settings.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Render
{
// How every file of a batch is processed.
struct JobSettings
{
    ResolvedSettings settings;
    int blockSize = 512;
    int bitsPerSample = 32;
    bool bitsGiven = false;
    bool monoToStereo = false;
    bool keepLatency = false;
    bool overwrite = false;
};

// One input file and where its output goes, checked before any work starts. An input that
// cannot be used keeps its failure and is skipped; the other files are still rendered.
struct FileJob
{
    juce::File input, output;
    std::unique_ptr<InputFile> opened;
    std::optional<Failure> inputFailure;
};

struct FileSummary
{
    double seconds = 0.0;          // duration of the input
    double sampleRate = 0.0;
    int inputChannels = 0, outputChannels = 0;
    Levels levels;                 // of the output
    double realTimeFactor = 0.0;   // audio duration / time taken
    int bitsPerSample = 32;
    OutputFormat format = OutputFormat::wav;
    bool leftOnly = false;         // a stereo file under Mono processing: the left channel feeds both outputs
};

struct JobResult
{
    std::optional<Failure> failure;
    FileSummary summary;
};

// Where the output of each input goes: beside the input as "<name>-vesk.<extension>" by default;
// with an output folder (required for several inputs) as "<name>.<extension>" inside it; with one
// input and an output path that is not a folder, that path.
juce::File outputFor (const juce::File& input, const juce::String& output, bool severalInputs, const juce::String& extension = "wav");

// Opens every input and checks every output. Returns the problems that stop the whole batch (the
// command line, the outputs), one per line; nothing is written then. Inputs that cannot be used
// are kept in their jobs with their failure.
std::vector<Failure> planJobs (const Options& options, std::vector<FileJob>& jobs);

// Renders one file with a processor of its own and writes the output through a temporary file.
JobResult runFileJob (FileJob& job, const JobSettings& settings, ProgressBar& progress, const std::atomic<bool>& cancel);

// Runs work(0) .. work(count - 1) on up to `workers` threads.
void runInParallel (int workers, int count, const std::function<void (int)>& work);

// The number of worker threads for a job count: --jobs, or one per core.
int workerCount (int requested, int count);

// One summary line: "in.wav -> out.wav  3.20 s  48000 Hz  mono -> mono  peak ...".
juce::String summaryLine (const FileJob& job, const FileSummary& summary);
}
