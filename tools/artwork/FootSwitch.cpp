#include "Drawing.h"
#include "Layout.h"
#include "Palette.h"

namespace artwork
{
void drawFootSwitch (juce::Graphics& g, juce::Rectangle<int> bounds, bool pressed)
{
    // The plate is centred on the enclosure, which is a little left of the frame's centre.
    const float cx = layout::enclosure().getCentreX();
    juce::Rectangle<float> plate (cx - 38.0f, (float) bounds.getY() + 4.0f, 76.0f, 62.0f);
    if (pressed)
        plate = plate.translated (0.0f, 2.5f).reduced (0.8f, 0.6f);

    juce::Path outline;
    outline.addRoundedRectangle (plate, 7.0f);
    if (pressed)
        drawShadow (g, juce::DropShadow (juce::Colours::black.withAlpha (0.6f), 3, { 0, 1 }), outline);
    else
        drawShadow (g, juce::DropShadow (juce::Colours::black.withAlpha (0.7f), 7, { 0, 5 }), outline);

    // The metal plate.
    juce::ColourGradient body (palette::greenLight.brighter (0.1f), 0.0f, plate.getY(), palette::greenDark.darker (0.2f), 0.0f, plate.getBottom(), false);
    body.addColour (0.5, palette::greenMid);
    g.setGradientFill (body);
    g.fillPath (outline);
    g.setGradientFill ({ juce::Colours::white.withAlpha (0.5f), 0.0f, plate.getY(), juce::Colours::white.withAlpha (0.0f), 0.0f, plate.getY() + 14.0f, false });
    g.strokePath (outline, juce::PathStrokeType (1.2f));
    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.drawLine (plate.getX() + 7.0f, plate.getBottom() - 0.5f, plate.getRight() - 7.0f, plate.getBottom() - 0.5f, 1.0f);

    // The ribbed rubber pad on top of it.
    const auto pad = plate.reduced (8.0f, 8.0f);
    g.setColour (juce::Colour (0xff101011));
    g.fillRoundedRectangle (pad, 4.0f);
    {
        juce::Graphics::ScopedSaveState inside (g);
        juce::Path padShape;
        padShape.addRoundedRectangle (pad, 4.0f);
        g.reduceClipRegion (padShape);
        for (float y = pad.getY() + 3.0f; y < pad.getBottom() - 1.0f; y += 4.0f)
        {
            g.setColour (juce::Colour (0xff38383d));
            g.fillRect (pad.getX(), y, pad.getWidth(), 1.3f);
            g.setColour (juce::Colours::black);
            g.fillRect (pad.getX(), y + 1.3f, pad.getWidth(), 1.0f);
        }
        g.setGradientFill ({ juce::Colours::white.withAlpha (0.10f), pad.getX(), pad.getY(), juce::Colours::white.withAlpha (0.0f), pad.getRight(), pad.getBottom(), false });
        g.fillRect (pad);
    }
    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.drawRoundedRectangle (pad.expanded (0.5f), 4.5f, 1.0f);

    if (pressed)
    {
        g.setColour (juce::Colours::black.withAlpha (0.14f));
        g.fillPath (outline);
    }
}
}
