#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <thread>

namespace Render
{
// A progress bar on the error stream, redrawn by a thread of its own a few times a second, and
// the one place that prints while workers run, so lines and the bar never tear. Disabled, it
// only prints the lines.
class ProgressBar
{
public:
    ProgressBar (std::ostream& err, bool enabled, juce::int64 totalSamples, int totalFiles);
    ~ProgressBar();

    void advance (juce::int64 samples) { done.fetch_add (samples); }
    void fileFinished() { filesDone.fetch_add (1); }

    // Prints one line on `stream` (a summary or an error) above the bar.
    void print (std::ostream& stream, const juce::String& line);

    // The bar's text for a fraction done, e.g. "[=====>    ]  50%".
    static juce::String barText (double fraction, int width);

private:
    void run();
    void draw();   // with `lock` held

    std::ostream& err;
    const bool enabled;
    const juce::int64 total;
    const int files;
    const double started;
    std::atomic<juce::int64> done { 0 };
    std::atomic<int> filesDone { 0 };

    std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    std::thread thread;
};
}
