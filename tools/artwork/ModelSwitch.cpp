#include "Drawing.h"
#include "Layout.h"
#include "Palette.h"

namespace artwork
{
void drawModelSwitch (juce::Graphics& g, juce::Rectangle<int> bounds, const Fonts& fonts, bool modded)
{
    const auto area = bounds.toFloat();
    const auto font = Fonts::make (fonts.label, 10.0f, 0.06f);
    const float baseline = area.getY() + 11.5f;
    drawPrint (g, textOutlineAt ("808", font, area.getX() + 11.0f, baseline), palette::print);
    drawPrint (g, textOutlineAt ("MOD", font, area.getRight() - 12.5f, baseline), palette::print);

    const juce::Point<float> pivot (area.getCentreX(), area.getY() + 28.0f);

    // Hex nut with the threaded bushing in its middle.
    juce::Path nut;
    nut.addPolygon (pivot, 6, 7.5f, juce::MathConstants<float>::pi / 6.0f);
    drawShadow (g, juce::DropShadow (juce::Colours::black.withAlpha (0.6f), 3, { 1, 2 }), nut);
    juce::ColourGradient metal (palette::chromeLight, pivot.x - 6.0f, pivot.y - 6.0f, palette::chromeDark, pivot.x + 6.0f, pivot.y + 6.0f, false);
    metal.addColour (0.55, palette::chromeMid);
    g.setGradientFill (metal);
    g.fillPath (nut);
    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.strokePath (nut, juce::PathStrokeType (0.7f));
    g.setGradientFill ({ palette::chromeDark, pivot.x - 3.0f, pivot.y - 3.0f, palette::chromeLight, pivot.x + 3.0f, pivot.y + 3.0f, false });
    g.fillEllipse (pivot.x - 4.2f, pivot.y - 4.2f, 8.4f, 8.4f);

    // The bat lever, leaning towards the label it selects.
    const float lean = juce::degreesToRadians (modded ? 38.0f : -38.0f);
    juce::Path bat;
    bat.startNewSubPath (-2.4f, 0.0f);
    bat.lineTo (-1.6f, -14.5f);
    bat.lineTo (1.6f, -14.5f);
    bat.lineTo (2.4f, 0.0f);
    bat.closeSubPath();
    bat.addEllipse (-2.7f, -17.8f, 5.4f, 5.4f);
    const auto place = juce::AffineTransform::rotation (lean).translated (pivot);

    g.setColour (juce::Colours::black.withAlpha (0.3f));
    g.fillPath (bat, place.translated (2.0f, 3.5f));
    const auto across = juce::Point<float> (-3.0f, 0.0f).transformedBy (juce::AffineTransform::rotation (lean));
    juce::ColourGradient shine (palette::chromeLight, pivot.x + across.x, pivot.y + across.y, palette::chromeDark, pivot.x - across.x, pivot.y - across.y, false);
    shine.addColour (0.4, juce::Colours::white);
    g.setGradientFill (shine);
    g.fillPath (bat, place);
    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.strokePath (bat, juce::PathStrokeType (0.5f), place);
}

void drawModelReflection (juce::Graphics& g, juce::Rectangle<int> bounds, const Fonts& fonts, bool modded)
{
    // Draw the switch on its own layer, mirror it upside down, squash it and let it fade out;
    // all at the resolution of the picture.
    const float scale = pixelScale (g);
    const int pixels = juce::roundToInt (scale);
    const auto source = layout::modSwitch();
    juce::Image layer (juce::Image::ARGB, source.getWidth() * pixels, source.getHeight() * pixels, true);
    {
        juce::Graphics lg (layer);
        lg.setOrigin (-source.getPosition() * pixels);
        if (pixels != 1)
            lg.addTransform (juce::AffineTransform::scale (scale));
        drawModelSwitch (lg, source, fonts, modded);
    }

    juce::Image mirrored (juce::Image::ARGB, bounds.getWidth() * pixels, bounds.getHeight() * pixels, true);
    {
        juce::Graphics mg (mirrored);
        const float squash = (float) bounds.getHeight() / (float) source.getHeight();
        mg.drawImageTransformed (layer, juce::AffineTransform::scale (1.0f, -squash).translated (0.0f, (float) mirrored.getHeight()));
    }
    {
        juce::Image::BitmapData data (mirrored, juce::Image::BitmapData::readWrite);
        for (int y = 0; y < data.height; ++y)
        {
            const float fade = 0.42f - 0.3f * (float) y / (float) data.height;
            for (int x = 0; x < data.width; ++x)
                data.setPixelColour (x, y, data.getPixelColour (x, y).withMultipliedAlpha (fade));
        }
    }
    juce::Graphics::ScopedSaveState state (g);
    if (pixels != 1)
        g.addTransform (juce::AffineTransform::scale (1.0f / scale));
    g.drawImageAt (mirrored, bounds.getX() * pixels, bounds.getY() * pixels);
}
}
