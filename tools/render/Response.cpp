#include "Response.h"

#include "Batch.h"
#include "PlotStyle.h"
#include "Renderer.h"

#include <cmath>

namespace Render
{
std::vector<float> toneSweep()
{
    return { 0.0f, 0.25f, 0.5f, 0.75f, 1.0f };
}

std::vector<ResponseCurve> measureResponse (const ResolvedSettings& settings, double rate, int blockSize, const std::vector<float>& tones)
{
    std::vector<ResponseCurve> curves (tones.size());

    int length = 1;
    while (length < (int) (rate * 1.2))
        length <<= 1;

    runInParallel (workerCount (0, (int) tones.size()), (int) tones.size(), [&] (int i) {
        RenderFormat format;
        format.sampleRate = rate;
        format.blockSize = blockSize;

        auto processor = createProcessor (format);
        auto withTone = settings;
        withTone.values.emplace_back ((int) FloatParameter::tone, tones[(size_t) i]);
        applySettings (*processor, withTone);
        prepareProcessor (*processor, format);

        juce::AudioBuffer<float> impulse (1, length);
        impulse.clear();
        impulse.setSample (0, 0, (float) responseImpulse);
        const auto out = renderBuffer (*processor, format, impulse);

        auto& c = curves[(size_t) i];
        c.tone = tones[(size_t) i];
        c.toneLabel = processor->parameters[FloatParameter::tone]->getLabel().trim();
        c.response = transferFunction (out.getReadPointer (0), out.getNumSamples(), rate, responseImpulse);
        c.peakDb = -1000.0;
        for (int k = 1; k < (int) c.response.db.size(); ++k)
        {
            const double hz = c.response.binFrequency (k);
            if (hz >= 20.0 && hz <= 20000.0 && c.response.db[(size_t) k] > c.peakDb)
            {
                c.peakDb = c.response.db[(size_t) k];
                c.peakHz = hz;
            }
        }
    });
    return curves;
}

namespace
{
juce::Colour sweepColour (size_t i, size_t n)
{
    static const juce::Colour stops[] = {
        juce::Colour (0xff4c8fe8), juce::Colour (0xff3fc1b0), juce::Colour (0xff9fd24a),
        juce::Colour (0xfff2b43d), juce::Colour (0xfff0603c),
    };
    if (n <= 1)
        return stops[2];
    const double t = (double) i / (double) (n - 1) * 4.0;
    const int a = juce::jlimit (0, 3, (int) t);
    return stops[a].interpolatedWith (stops[a + 1], (float) (t - a));
}
}

juce::Image drawResponsePicture (const std::vector<ResponseCurve>& curves, const juce::String& title, const juce::String& subtitle)
{
    using namespace Plot;
    constexpr int width = 1500, height = 860;
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    g.fillAll (colours::page);

    auto page = juce::Rectangle<float> (0, 0, (float) width, (float) height).reduced (36.0f, 24.0f);
    g.setColour (colours::text);
    g.setFont (font (30.0f, true));
    g.drawText (title, page.removeFromTop (40.0f), juce::Justification::centredLeft);
    g.setColour (colours::dimText);
    g.setFont (font (15.5f));
    g.drawText (subtitle, page.removeFromTop (24.0f), juce::Justification::centredLeft);
    page.removeFromTop (16.0f);

    const auto footer = page.removeFromBottom (24.0f);
    const auto area = drawPanel (g, page, "Gain in dB from input to output, small signal (impulse at " + signedText (20.0 * std::log10 (responseImpulse), 0)
                                              + " dBFS through the processor)");

    double top = -200.0, bottom = 200.0;
    double highHz = 20000.0;
    for (const auto& c : curves)
    {
        highHz = juce::jmin (highHz, c.response.sampleRate * 0.5);
        for (double hz = 20.0; hz <= highHz; hz *= 1.02)
        {
            top = juce::jmax (top, c.response.at (hz));
            bottom = juce::jmin (bottom, c.response.at (hz));
        }
    }
    if (curves.empty())
        top = 0.0, bottom = -40.0;

    FrequencyAxes axes;
    axes.area = area;
    axes.lowHz = 20.0;
    axes.highHz = highHz;
    axes.highDb = std::ceil ((top + 2.0) / 5.0) * 5.0;
    axes.lowDb = juce::jmax (axes.highDb - 80.0, std::floor ((bottom - 2.0) / 5.0) * 5.0);
    if (axes.highDb - axes.lowDb < 30.0)
        axes.lowDb = axes.highDb - 30.0;

    drawFrequencyGrid (g, axes, (axes.highDb - axes.lowDb) > 50.0 ? 10.0 : 5.0);

    // Legend in the lower right corner.
    auto legend = juce::Rectangle<float> (area.getRight() - 330.0f, area.getBottom() - 24.0f * (float) curves.size() - 20.0f,
                                          320.0f, 24.0f * (float) curves.size() + 12.0f);
    g.setColour (colours::panel.withAlpha (0.92f));
    g.fillRoundedRectangle (legend, 5.0f);
    legend.reduce (12.0f, 6.0f);

    for (size_t i = 0; i < curves.size(); ++i)
    {
        const auto& c = curves[i];
        const auto colour = sweepColour (i, curves.size());
        drawSpectrum (g, axes, c.response, colour, 2.4f);

        auto line = legend.removeFromTop (24.0f);
        g.setColour (colour);
        g.fillRoundedRectangle (line.removeFromLeft (26.0f).withSizeKeepingCentre (26.0f, 4.0f), 2.0f);
        line.removeFromLeft (10.0f);
        g.setColour (colours::text);
        g.setFont (font (14.0f));
        g.drawText ("Tone " + juce::String (c.tone, 2) + " " + c.toneLabel + "   peak " + signedText (c.peakDb, 1) + " dB at "
                        + frequencyLabel (c.peakHz) + " Hz",
                    line, juce::Justification::centredLeft);
    }

    g.setColour (colours::dimText.withAlpha (0.7f));
    g.setFont (font (12.5f));
    g.drawText ("vesk-render --response " + emDash() + " each curve is the spectrum of the processor's impulse response, delay compensated",
                footer, juce::Justification::centredLeft);
    return image;
}
}
