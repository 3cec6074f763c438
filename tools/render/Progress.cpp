#include "Progress.h"

namespace Render
{
ProgressBar::ProgressBar (std::ostream& e, bool on, juce::int64 totalSamples, int totalFiles)
    : err (e), enabled (on), total (juce::jmax ((juce::int64) 1, totalSamples)), files (totalFiles),
      started (juce::Time::getMillisecondCounterHiRes())
{
    if (enabled)
        thread = std::thread ([this] { run(); });
}

ProgressBar::~ProgressBar()
{
    {
        const std::lock_guard<std::mutex> guard (lock);
        stopping = true;
    }
    wake.notify_all();
    if (thread.joinable())
        thread.join();
    if (enabled)
        err << "\r\033[K" << std::flush;
}

juce::String ProgressBar::barText (double fraction, int width)
{
    fraction = juce::jlimit (0.0, 1.0, fraction);
    const int filled = (int) (fraction * width);
    juce::String s ("[");
    s << juce::String::repeatedString ("=", filled);
    if (filled < width)
        s << ">" << juce::String::repeatedString (" ", width - filled - 1);
    s << "] " << juce::String ((int) (fraction * 100.0)).paddedLeft (' ', 3) << "%";
    return s;
}

void ProgressBar::print (std::ostream& stream, const juce::String& line)
{
    const std::lock_guard<std::mutex> guard (lock);
    if (enabled)
        err << "\r\033[K" << std::flush;
    stream << line << "\n" << std::flush;
    if (enabled && ! stopping)
        draw();
}

void ProgressBar::run()
{
    std::unique_lock<std::mutex> guard (lock);
    while (! stopping)
    {
        draw();
        wake.wait_for (guard, std::chrono::milliseconds (100));
    }
}

void ProgressBar::draw()
{
    const double fraction = (double) done.load() / (double) total;
    const double elapsed = (juce::Time::getMillisecondCounterHiRes() - started) / 1000.0;

    juce::String line = barText (fraction, 30);
    line << "  " << juce::String (filesDone.load()) << "/" << juce::String (files) << (files == 1 ? " file" : " files");
    if (fraction > 0.02 && fraction < 1.0)
        line << "  " << juce::String (elapsed * (1.0 - fraction) / fraction, 1) << " s left";

    err << "\r\033[K" << line << std::flush;
}
}
