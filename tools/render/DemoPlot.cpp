#include "DemoPlot.h"

#include "Levels.h"
#include "PlotStyle.h"
#include "Spectrum.h"

#include <cmath>

namespace Render
{
namespace
{
using namespace Plot;

constexpr int width = 1800;
constexpr float margin = 36.0f;
constexpr float headerHeight = 112.0f;
constexpr float rowHeight = 290.0f;
constexpr float rowGap = 20.0f;
constexpr float footerHeight = 34.0f;
constexpr double zoomSeconds = 0.025;

juce::String levelText (const juce::AudioBuffer<float>& b)
{
    Levels l;
    l.add (b);
    return "peak " + signedText (l.peakDb(), 1) + " dBFS  " + middleDot() + "  RMS " + signedText (l.rmsDb(), 1) + " dBFS";
}

// Per pixel column the smallest and largest sample: the usual picture of a waveform.
juce::Path envelope (const float* samples, int n, juce::Rectangle<float> area, float scale)
{
    const int columns = juce::jmax (1, (int) area.getWidth());
    std::vector<float> lo ((size_t) columns), hi ((size_t) columns);
    for (int c = 0; c < columns; ++c)
    {
        const int a = (int) ((juce::int64) n * c / columns);
        const int b = juce::jmax (a + 1, (int) ((juce::int64) n * (c + 1) / columns));
        float mn = 0.0f, mx = 0.0f;
        for (int i = a; i < juce::jmin (b, n); ++i)
        {
            mn = juce::jmin (mn, samples[i]);
            mx = juce::jmax (mx, samples[i]);
        }
        lo[(size_t) c] = mn;
        hi[(size_t) c] = mx;
    }

    const float mid = area.getCentreY();
    const float half = area.getHeight() * 0.5f * scale;
    const auto y = [&] (float v) { return mid - juce::jlimit (-1.05f, 1.05f, v) * half; };

    juce::Path p;
    p.startNewSubPath (area.getX(), y (hi[0]));
    for (int c = 1; c < columns; ++c)
        p.lineTo (area.getX() + (float) c, y (hi[(size_t) c]));
    for (int c = columns - 1; c >= 0; --c)
        p.lineTo (area.getX() + (float) c, y (lo[(size_t) c]));
    p.closeSubPath();
    return p;
}

void drawWaveform (juce::Graphics& g, juce::Rectangle<float> bounds, const juce::AudioBuffer<float>& input,
                   const juce::AudioBuffer<float>& output, double rate, juce::Colour colour)
{
    const auto area = drawPanel (g, bounds, "Waveform  " + middleDot() + "  output in colour, input outlined in grey, full scale "
                                                + juce::String (juce::CharPointer_UTF8 ("\xc2\xb1")) + "1");

    // Grid: 0, +-0.5, +-1 and one line per second.
    for (float v : { -1.0f, -0.5f, 0.0f, 0.5f, 1.0f })
    {
        const float y = area.getCentreY() - v * area.getHeight() * 0.5f;
        g.setColour (v == 0.0f ? colours::gridStrong : colours::grid);
        g.drawHorizontalLine ((int) std::lround (y), area.getX(), area.getRight());
        g.setColour (colours::dimText);
        g.setFont (font (11.5f));
        g.drawText (signedText (v, 1), juce::Rectangle<float> (area.getX() - 44.0f, y - 8.0f, 38.0f, 16.0f), juce::Justification::centredRight);
    }

    const int n = output.getNumSamples();
    const double seconds = n / rate;
    for (int s = 0; s <= (int) seconds; ++s)
    {
        const float x = area.getX() + area.getWidth() * (float) (s / seconds);
        g.setColour (colours::grid);
        g.drawVerticalLine ((int) std::lround (x), area.getY(), area.getBottom());
        g.setColour (colours::dimText);
        g.drawText (juce::String (s) + " s", juce::Rectangle<float> (x - 20.0f, area.getBottom() + 4.0f, 40.0f, 16.0f), juce::Justification::centred);
    }

    // The output filled, the input as a faint veil with a clear outline on top.
    g.setColour (colour.withAlpha (0.8f));
    g.fillPath (envelope (output.getReadPointer (0), n, area, 1.0f));
    const auto in = envelope (input.getReadPointer (0), juce::jmin (n, input.getNumSamples()), area, 1.0f);
    g.setColour (colours::input.withAlpha (0.16f));
    g.fillPath (in);
    g.setColour (colours::input.withAlpha (0.9f));
    g.strokePath (in, juce::PathStrokeType (1.0f));
}

void drawZoom (juce::Graphics& g, juce::Rectangle<float> bounds, const juce::AudioBuffer<float>& input,
               const juce::AudioBuffer<float>& output, double rate, double start, const juce::String& what, juce::Colour colour)
{
    auto area = drawPanel (g, bounds, "Close-up  " + middleDot() + "  " + juce::String ((int) (zoomSeconds * 1000)) + " ms of " + what)
                    .withTrimmedLeft (-18.0f);

    const int first = (int) (start * rate);
    const int count = (int) (zoomSeconds * rate);

    for (int ms = 0; ms <= (int) (zoomSeconds * 1000); ms += 5)
    {
        const float x = area.getX() + area.getWidth() * (float) (ms / (zoomSeconds * 1000));
        g.setColour (colours::grid);
        g.drawVerticalLine ((int) std::lround (x), area.getY(), area.getBottom());
        g.setColour (colours::dimText);
        g.setFont (font (11.5f));
        g.drawText (juce::String (ms) + " ms", juce::Rectangle<float> (x - 22.0f, area.getBottom() + 4.0f, 44.0f, 16.0f), juce::Justification::centred);
    }

    // Two lanes, input above and output below, each scaled to its own peak: the change of shape.
    const auto trace = [&] (const juce::AudioBuffer<float>& b, juce::Rectangle<float> lane, juce::Colour c, const juce::String& name) {
        g.setColour (colours::gridStrong);
        g.drawHorizontalLine ((int) lane.getCentreY(), lane.getX(), lane.getRight());
        g.setColour (colours::dimText);
        g.setFont (font (11.5f));
        g.drawText (name, juce::Rectangle<float> (lane.getX() - 30.0f, lane.getCentreY() - 8.0f, 26.0f, 16.0f), juce::Justification::centredRight);

        if (first + count > b.getNumSamples())
            return;
        const float* d = b.getReadPointer (0, first);
        float peak = 1e-9f;
        for (int i = 0; i < count; ++i)
            peak = juce::jmax (peak, std::abs (d[i]));
        juce::Path p;
        for (int i = 0; i < count; ++i)
        {
            const float x = lane.getX() + lane.getWidth() * (float) i / (float) (count - 1);
            const float y = lane.getCentreY() - d[i] / peak * lane.getHeight() * 0.44f;
            if (i == 0) p.startNewSubPath (x, y); else p.lineTo (x, y);
        }
        g.setColour (c);
        g.strokePath (p, juce::PathStrokeType (1.8f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    };

    const auto upper = area.removeFromTop (area.getHeight() * 0.5f);
    trace (input, upper.reduced (0.0f, 3.0f), colours::input, "in");
    trace (output, area.reduced (0.0f, 3.0f), colour, "out");
}

void drawSpectra (juce::Graphics& g, juce::Rectangle<float> bounds, const Spectrum& in, const Spectrum& out, juce::Colour colour)
{
    const auto area = drawPanel (g, bounds, "Spectrum in dBFS  " + middleDot() + "  long-term average, 1/24-octave smoothing, input grey");

    double top = -200.0;
    for (double hz = 20.0; hz <= 20000.0; hz *= 1.02)
        top = juce::jmax (top, in.at (hz), out.at (hz));

    FrequencyAxes axes;
    axes.area = area;
    axes.lowHz = 20.0;
    axes.highHz = juce::jmin (20000.0, in.sampleRate * 0.5);
    axes.highDb = std::ceil ((top + 3.0) / 10.0) * 10.0;
    axes.lowDb = axes.highDb - 100.0;

    drawFrequencyGrid (g, axes, 20.0);
    drawSpectrum (g, axes, in, colours::input.withAlpha (0.85f), 1.4f);
    drawSpectrum (g, axes, out, colour, 2.0f, colour.withAlpha (0.28f));
}
}

juce::Image drawDemoPicture (const juce::AudioBuffer<float>& input, double rate, const std::vector<DemoTrace>& traces, double zoomStart,
                             const juce::String& zoomWhat)
{
    const int height = (int) (headerHeight + traces.size() * (rowHeight + rowGap) + footerHeight + margin);
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    g.fillAll (colours::page);

    // Header.
    auto page = juce::Rectangle<float> (0, 0, (float) width, (float) height).reduced (margin, 0);
    auto header = page.removeFromTop (headerHeight).withTrimmedTop (24.0f);
    g.setColour (colours::text);
    g.setFont (font (32.0f, true));
    g.drawText ("Vesk 1.1 " + emDash() + " the four factory programs", header.removeFromTop (40.0f), juce::Justification::centredLeft);

    g.setColour (colours::dimText);
    g.setFont (font (15.5f));
    const auto seconds = juce::String (input.getNumSamples() / rate, 1);
    g.drawText ("Input: a synthesised guitar DI " + emDash() + " single notes, then an open E major chord " + emDash() + " "
                    + seconds + " s at " + juce::String ((int) std::lround (rate)) + " Hz, " + levelText (input)
                    + ". Rendered offline through the plug-in's own processor.",
                header.removeFromTop (24.0f), juce::Justification::centredLeft);

    const auto spectrumOf = [&] (const juce::AudioBuffer<float>& b) {
        return smoothOctave (averageSpectrum (b.getReadPointer (0), b.getNumSamples(), rate), 1.0 / 24.0);
    };
    const auto inputSpectrum = spectrumOf (input);

    for (const auto& t : traces)
    {
        auto row = page.removeFromTop (rowHeight);
        page.removeFromTop (rowGap);
        const auto colour = programColour (t.slot);

        // Label column.
        auto label = row.removeFromLeft (250.0f).reduced (0.0f, 8.0f);
        g.setColour (colour);
        g.fillRoundedRectangle (label.removeFromLeft (5.0f), 2.5f);
        label.removeFromLeft (14.0f);
        g.setColour (colours::text);
        const auto nameFont = font (25.0f, true);
        g.setFont (nameFont);
        const float nameHeight = nameFont.getStringWidthFloat (t.programName) > label.getWidth() ? 64.0f : 40.0f;
        g.drawFittedText (t.programName, label.removeFromTop (nameHeight).toNearestInt(), juce::Justification::topLeft, 2);

        g.setColour (colours::dimText);
        g.setFont (font (14.0f));
        juce::StringArray lines;
        lines.addTokens (t.settings, "|", "");
        for (const auto& line : lines)
            g.drawText (line.trim(), label.removeFromTop (21.0f), juce::Justification::centredLeft);

        label.removeFromTop (12.0f);
        Levels l;
        l.add (t.output);
        g.setColour (colours::text);
        g.setFont (font (14.0f, true));
        g.drawText ("Output", label.removeFromTop (20.0f), juce::Justification::centredLeft);
        g.setColour (colours::dimText);
        g.setFont (font (14.0f));
        g.drawText ("peak " + signedText (l.peakDb(), 1) + " dBFS", label.removeFromTop (20.0f), juce::Justification::centredLeft);
        g.drawText ("RMS " + signedText (l.rmsDb(), 1) + " dBFS", label.removeFromTop (20.0f), juce::Justification::centredLeft);

        row.removeFromLeft (10.0f);
        const float gap = 14.0f;
        const float available = row.getWidth() - 2 * gap;
        const auto wave = row.removeFromLeft (available * 0.45f);
        row.removeFromLeft (gap);
        const auto zoom = row.removeFromLeft (available * 0.2f);
        row.removeFromLeft (gap);

        drawWaveform (g, wave, input, t.output, rate, colour);
        drawZoom (g, zoom, input, t.output, rate, zoomStart, zoomWhat, colour);
        drawSpectra (g, row, inputSpectrum, spectrumOf (t.output), colour);
    }

    g.setColour (colours::dimText.withAlpha (0.7f));
    g.setFont (font (12.5f));
    g.drawText ("vesk-render " + emDash() + " delay-compensated, the output aligned sample for sample with the input",
                page.removeFromTop (footerHeight), juce::Justification::centredLeft);
    return image;
}
}
