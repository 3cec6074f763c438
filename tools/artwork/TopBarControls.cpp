#include "Drawing.h"
#include "Palette.h"

namespace artwork
{
namespace
{
    void glowStroke (juce::Graphics& g, const juce::Path& shape, float width)
    {
        g.setColour (palette::lit.withAlpha (0.18f));
        g.strokePath (shape, juce::PathStrokeType (width + 3.0f));
        g.setColour (palette::lit.withAlpha (0.3f));
        g.strokePath (shape, juce::PathStrokeType (width + 1.4f));
        g.setColour (palette::lit.brighter (0.25f));
        g.strokePath (shape, juce::PathStrokeType (width));
    }
}

void drawStereoRings (juce::Graphics& g, juce::Rectangle<int> bounds, bool stereo)
{
    const auto area = bounds.toFloat();
    const float cy = area.getCentreY(), r = 6.3f;
    juce::Path left, right;
    left.addEllipse (area.getX() + 11.0f - r, cy - r, 2.0f * r, 2.0f * r);
    right.addEllipse (area.getX() + 19.0f - r, cy - r, 2.0f * r, 2.0f * r);

    if (stereo)
    {
        glowStroke (g, right, 1.7f);
    }
    else
    {
        g.setColour (palette::unlit);
        g.strokePath (right, juce::PathStrokeType (1.7f));
    }
    glowStroke (g, left, 1.7f);
}

void drawQualityWords (juce::Graphics& g, juce::Rectangle<int> bounds, const Fonts& fonts, bool high)
{
    const auto area = bounds.toFloat();
    const auto font = Fonts::make (fonts.bar, 11.0f);
    const float baseline = area.getY() + 12.5f;
    const auto lo = textOutlineAt ("Lo", font, area.getX() + area.getWidth() * 0.25f, baseline);
    const auto hi = textOutlineAt ("Hi", font, area.getX() + area.getWidth() * 0.75f, baseline);

    auto word = [&] (const juce::Path& text, bool on)
    {
        if (on)
        {
            g.setColour (palette::lit.withAlpha (0.25f));
            g.strokePath (text, juce::PathStrokeType (2.0f));
            g.setColour (palette::lit.brighter (0.25f));
        }
        else
        {
            g.setColour (palette::unlit);
        }
        g.fillPath (text);
    };
    word (lo, ! high);
    word (hi, high);

    g.setColour (palette::unlit.darker (0.3f));
    g.fillRect (area.getCentreX() - 0.5f, area.getY() + 4.0f, 1.0f, area.getHeight() - 8.0f);
}
}
