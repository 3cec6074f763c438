#include "Drawing.h"
#include "Layout.h"

namespace artwork
{
namespace
{
    // Light falls from the upper left; 1 on the lit side of a surface facing direction `angle`
    // (0 = up, clockwise), 0 on the far side.
    float lightFacing (float angle)
    {
        const float towardsLight = juce::degreesToRadians (-45.0f);
        return 0.5f + 0.5f * std::cos (angle - towardsLight);
    }

    juce::Path disc (juce::Point<float> c, float r)
    {
        juce::Path p;
        p.addEllipse (c.x - r, c.y - r, 2.0f * r, 2.0f * r);
        return p;
    }
}

void drawKnob (juce::Graphics& g, juce::Rectangle<int> bounds, int frame)
{
    const auto c = bounds.toFloat().getCentre();
    const float turn = juce::degreesToRadians (layout::knobMinAngle
                                               + (layout::knobMaxAngle - layout::knobMinAngle) * (float) frame / (float) (layout::knobFrames - 1));
    constexpr float skirtRadius = 24.0f;
    constexpr float capRadius = 18.0f;

    drawShadow (g, juce::DropShadow (juce::Colours::black.withAlpha (0.7f), 6, { 1, 3 }), disc (c, skirtRadius - 0.5f));

    // The skirt, with its ridges: they turn with the knob, their shine stays with the light.
    g.setGradientFill ({ juce::Colour (0xff2c2c30), c.x - 16.0f, c.y - 18.0f, juce::Colour (0xff050505), c.x + 16.0f, c.y + 18.0f, false });
    g.fillPath (disc (c, skirtRadius));
    constexpr int ridges = 36;
    for (int i = 0; i < ridges; ++i)
    {
        const float a = turn + juce::MathConstants<float>::twoPi * (float) i / (float) ridges;
        const float shine = lightFacing (a);
        juce::Path ridge;
        ridge.startNewSubPath (0.0f, -capRadius - 1.2f);
        ridge.lineTo (0.0f, -skirtRadius + 0.9f);
        g.setColour (juce::Colour (0xff0b0b0c).interpolatedWith (juce::Colour (0xff6a6a70), shine * shine * 0.9f));
        g.strokePath (ridge, juce::PathStrokeType (1.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded),
                      juce::AffineTransform::rotation (a).translated (c));
    }
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.drawEllipse (c.x - skirtRadius + 0.4f, c.y - skirtRadius + 0.4f, 2.0f * skirtRadius - 0.8f, 2.0f * skirtRadius - 0.8f, 0.8f);

    // The cap: a slightly domed top, lit from the upper left.
    juce::ColourGradient cap (juce::Colour (0xff46464b), c.x - 7.0f, c.y - 8.0f, juce::Colour (0xff0e0e10), c.x + 12.0f, c.y + 14.0f, true);
    g.setGradientFill (cap);
    g.fillPath (disc (c, capRadius));
    juce::ColourGradient rim (juce::Colours::white.withAlpha (0.45f), c.x - capRadius * 0.7f, c.y - capRadius * 0.7f,
                              juce::Colours::black.withAlpha (0.5f), c.x + capRadius * 0.7f, c.y + capRadius * 0.7f, false);
    rim.addColour (0.5, juce::Colours::transparentBlack);
    g.setGradientFill (rim);
    g.strokePath (disc (c, capRadius - 0.5f), juce::PathStrokeType (1.1f));

    // The pointer: a white line from near the centre over the skirt's edge.
    juce::Path pointer;
    pointer.startNewSubPath (0.0f, -6.0f);
    pointer.lineTo (0.0f, -skirtRadius + 1.6f);
    const auto place = juce::AffineTransform::rotation (turn).translated (c);
    g.setColour (juce::Colours::black.withAlpha (0.35f));
    g.strokePath (pointer, juce::PathStrokeType (4.2f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded), place);
    g.setColour (juce::Colour (0xfff6f5ef));
    g.strokePath (pointer, juce::PathStrokeType (2.6f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded), place);

    // Specular glint on the cap.
    g.setGradientFill ({ juce::Colours::white.withAlpha (0.14f), c.x - 6.0f, c.y - 8.0f, juce::Colours::white.withAlpha (0.0f), c.x - 6.0f, c.y + 2.0f, true });
    g.fillEllipse (c.x - 15.0f, c.y - 16.0f, 18.0f, 12.0f);
}
}
