#include "PlotStyle.h"

#include "OutputFile.h"

#include <cmath>

namespace Render::Plot
{
juce::Colour programColour (int slot)
{
    static const juce::Colour colours[] = {
        juce::Colour (0xff58c98b),   // pedal green
        juce::Colour (0xffe8b04a),   // amber
        juce::Colour (0xff5fb3f0),   // sky blue
        juce::Colour (0xfff06a5a),   // red
    };
    return colours[(size_t) juce::jlimit (0, 3, slot)];
}

juce::Font font (float height, bool bold)
{
    return juce::Font (juce::Font::getDefaultSansSerifFontName(), height, bold ? juce::Font::bold : juce::Font::plain);
}

juce::String emDash() { return juce::String (juce::CharPointer_UTF8 ("\xe2\x80\x94")); }
juce::String middleDot() { return juce::String (juce::CharPointer_UTF8 ("\xc2\xb7")); }
juce::String minusSign() { return juce::String (juce::CharPointer_UTF8 ("\xe2\x88\x92")); }

juce::String frequencyLabel (double hz)
{
    if (hz >= 1000.0)
    {
        const double k = hz / 1000.0;
        return (k == std::floor (k) ? juce::String ((int) k) : juce::String (k, 1)) + "k";
    }
    return juce::String ((int) std::lround (hz));
}

juce::String signedText (double v, int decimals)
{
    const auto body = juce::String (std::abs (v), decimals);
    if (v < 0.0 && body.getDoubleValue() != 0.0)
        return minusSign() + body;
    return body;
}

float FrequencyAxes::x (double hz) const
{
    const double t = std::log (hz / lowHz) / std::log (highHz / lowHz);
    return area.getX() + (float) t * area.getWidth();
}

float FrequencyAxes::y (double db) const
{
    const double t = (db - lowDb) / (highDb - lowDb);
    return area.getBottom() - (float) juce::jlimit (-0.02, 1.02, t) * area.getHeight();
}

juce::Rectangle<float> drawPanel (juce::Graphics& g, juce::Rectangle<float> bounds, const juce::String& title)
{
    g.setColour (colours::panel);
    g.fillRoundedRectangle (bounds, 6.0f);
    g.setColour (colours::panelEdge);
    g.drawRoundedRectangle (bounds.reduced (0.5f), 6.0f, 1.0f);

    g.setColour (colours::dimText);
    g.setFont (font (13.0f));
    g.drawText (title, bounds.reduced (12.0f, 6.0f).removeFromTop (18.0f), juce::Justification::centredLeft);

    return bounds.withTrimmedTop (30.0f).withTrimmedBottom (28.0f).withTrimmedLeft (46.0f).withTrimmedRight (14.0f);
}

void drawFrequencyGrid (juce::Graphics& g, const FrequencyAxes& axes, double dbStep)
{
    const auto& a = axes.area;
    g.setFont (font (11.5f));

    for (double decade = 10.0; decade <= axes.highHz; decade *= 10.0)
        for (double m : { 1.0, 2.0, 5.0 })
        {
            const double hz = decade * m;
            if (hz < axes.lowHz || hz > axes.highHz)
                continue;
            const float x = axes.x (hz);
            g.setColour (m == 1.0 ? colours::gridStrong : colours::grid);
            g.drawVerticalLine ((int) std::lround (x), a.getY(), a.getBottom());
            g.setColour (colours::dimText);
            g.drawText (frequencyLabel (hz), juce::Rectangle<float> (x - 24.0f, a.getBottom() + 4.0f, 48.0f, 16.0f),
                        juce::Justification::centred);
        }
    // Minor lines at the other integer multiples.
    g.setColour (colours::grid.withAlpha (0.45f));
    for (double decade = 10.0; decade <= axes.highHz; decade *= 10.0)
        for (double m : { 3.0, 4.0, 6.0, 7.0, 8.0, 9.0 })
            if (decade * m >= axes.lowHz && decade * m <= axes.highHz)
                g.drawVerticalLine ((int) std::lround (axes.x (decade * m)), a.getY(), a.getBottom());

    for (double db = std::ceil (axes.lowDb / dbStep) * dbStep; db <= axes.highDb + 1e-9; db += dbStep)
    {
        const float y = axes.y (db);
        g.setColour (std::abs (db) < 1e-9 ? colours::gridStrong : colours::grid);
        g.drawHorizontalLine ((int) std::lround (y), a.getX(), a.getRight());
        g.setColour (colours::dimText);
        g.drawText (signedText (db, 0), juce::Rectangle<float> (a.getX() - 44.0f, y - 8.0f, 38.0f, 16.0f),
                    juce::Justification::centredRight);
    }
}

void drawSpectrum (juce::Graphics& g, const FrequencyAxes& axes, const Spectrum& s, juce::Colour line, float thickness, juce::Colour fill)
{
    juce::Path path;
    const int columns = juce::jmax (2, (int) axes.area.getWidth());
    for (int i = 0; i <= columns; ++i)
    {
        const double hz = axes.lowHz * std::pow (axes.highHz / axes.lowHz, (double) i / columns);
        const float px = axes.area.getX() + axes.area.getWidth() * (float) i / (float) columns;
        const float py = axes.y (s.at (hz));
        if (i == 0)
            path.startNewSubPath (px, py);
        else
            path.lineTo (px, py);
    }

    juce::Graphics::ScopedSaveState save (g);
    g.reduceClipRegion (axes.area.expanded (0.0f, 2.0f).toNearestInt());

    if (! fill.isTransparent())
    {
        auto area = path;
        area.lineTo (axes.area.getRight(), axes.area.getBottom());
        area.lineTo (axes.area.getX(), axes.area.getBottom());
        area.closeSubPath();
        g.setGradientFill (juce::ColourGradient (fill, 0.0f, axes.area.getY(), fill.withAlpha (0.0f), 0.0f, axes.area.getBottom(), false));
        g.fillPath (area);
    }

    g.setColour (line);
    g.strokePath (path, juce::PathStrokeType (thickness, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
}

std::optional<Failure> writePng (const juce::Image& image, const juce::File& target, bool overwrite)
{
    juce::MemoryOutputStream data;
    juce::PNGImageFormat png;
    if (! png.writeImageToStream (image, data))
        return Failure::output (target.getFullPathName() + ": cannot encode the PNG");
    return writeFileAtomically (target, overwrite, data.getData(), data.getDataSize());
}
}
