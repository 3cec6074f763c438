#include "Drawing.h"

namespace artwork
{
float pixelScale (juce::Graphics& g)
{
    return g.getInternalContext().getPhysicalPixelScaleFactor();
}

void drawShadow (juce::Graphics& g, const juce::DropShadow& shadow, const juce::Path& path)
{
    const float scale = pixelScale (g);
    if (scale == 1.0f)
    {
        shadow.drawForPath (g, path);
        return;
    }

    // Blur in picture pixels: undo the scale, and scale the path, radius and offset instead.
    juce::Graphics::ScopedSaveState state (g);
    g.addTransform (juce::AffineTransform::scale (1.0f / scale));
    auto scaledPath = path;
    scaledPath.applyTransform (juce::AffineTransform::scale (scale));
    const juce::DropShadow scaled (shadow.colour, juce::roundToInt ((float) shadow.radius * scale),
                                   (shadow.offset.toFloat() * scale).roundToInt());
    scaled.drawForPath (g, scaledPath);
}
}
