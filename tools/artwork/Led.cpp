#include "Drawing.h"
#include "Layout.h"
#include "Palette.h"

namespace artwork
{
void drawLed (juce::Graphics& g, juce::Rectangle<int> bounds, bool lit)
{
    const auto c = bounds.toFloat().getCentre();
    constexpr float bezel = 9.0f, lens = 5.8f;

    // The light spills over the lid only.
    juce::Path lid;
    lid.addRoundedRectangle (layout::lid(), layout::lidCorner);
    juce::Graphics::ScopedSaveState onLid (g);
    g.reduceClipRegion (lid);

    if (lit)
    {
        juce::ColourGradient glow (juce::Colour (0xffff2a14).withAlpha (0.75f), c.x, c.y, juce::Colour (0xffff2a14).withAlpha (0.0f), c.x + 26.0f, c.y, true);
        glow.addColour (0.35, juce::Colour (0xffff2a14).withAlpha (0.3f));
        g.setGradientFill (glow);
        g.fillEllipse (c.x - 26.0f, c.y - 26.0f, 52.0f, 52.0f);
    }

    // Chrome bezel, its shadow, and the hole in it.
    g.setColour (juce::Colours::black.withAlpha (0.4f));
    g.fillEllipse (c.x - bezel + 0.8f, c.y - bezel + 1.6f, 2.0f * bezel, 2.0f * bezel);
    juce::ColourGradient metal (palette::chromeLight, c.x - bezel, c.y - bezel, palette::chromeDark, c.x + bezel, c.y + bezel, false);
    metal.addColour (0.5, palette::chromeMid);
    g.setGradientFill (metal);
    g.fillEllipse (c.x - bezel, c.y - bezel, 2.0f * bezel, 2.0f * bezel);
    g.setColour (juce::Colour (0xff1a1a1c));
    g.fillEllipse (c.x - lens - 0.9f, c.y - lens - 0.9f, 2.0f * (lens + 0.9f), 2.0f * (lens + 0.9f));

    // The lens.
    if (lit)
    {
        juce::ColourGradient dome (juce::Colour (0xfffff2e6), c.x - 0.8f, c.y - 0.8f, juce::Colour (0xffd8140c), c.x + lens, c.y, true);
        dome.addColour (0.35, juce::Colour (0xffff4a2e));
        g.setGradientFill (dome);
    }
    else
    {
        g.setGradientFill ({ juce::Colour (0xff7a1a16), c.x - 2.0f, c.y - 2.0f, juce::Colour (0xff2a0505), c.x + lens, c.y + lens, true });
    }
    g.fillEllipse (c.x - lens, c.y - lens, 2.0f * lens, 2.0f * lens);
    g.setColour (juce::Colours::white.withAlpha (lit ? 0.75f : 0.45f));
    g.fillEllipse (c.x - 3.3f, c.y - 3.6f, 2.6f, 1.9f);

    if (lit)
    {
        g.setGradientFill ({ juce::Colour (0xffff5030).withAlpha (0.25f), c.x, c.y, juce::Colour (0xffff5030).withAlpha (0.0f), c.x + 14.0f, c.y, true });
        g.fillEllipse (c.x - 14.0f, c.y - 14.0f, 28.0f, 28.0f);
    }
}
}
