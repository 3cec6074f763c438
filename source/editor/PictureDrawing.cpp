#include "PictureDrawing.h"

namespace
{
bool usesDoubled (float physicalPixelScale, const juce::Image& normal, const juce::Image* doubled)
{
    return physicalPixelScale > 1.0f && doubled != nullptr && doubled->isValid()
           && doubled->getWidth() == 2 * normal.getWidth() && doubled->getHeight() == 2 * normal.getHeight();
}
}

void drawPictureArea (juce::Graphics& g, const juce::Image& normal, const juce::Image* doubled,
                      juce::Rectangle<int> source, juce::Rectangle<int> destination)
{
    if (! normal.isValid())
        return;

    if (! usesDoubled (g.getInternalContext().getPhysicalPixelScaleFactor(), normal, doubled))
    {
        g.drawImage (normal, destination.getX(), destination.getY(), destination.getWidth(), destination.getHeight(),
                     source.getX(), source.getY(), source.getWidth(), source.getHeight(), false);
        return;
    }

    const auto area = source * 2;
    juce::Graphics::ScopedSaveState state (g);
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
    g.drawImage (*doubled, destination.getX(), destination.getY(), destination.getWidth(), destination.getHeight(),
                 area.getX(), area.getY(), area.getWidth(), area.getHeight(), false);
}
