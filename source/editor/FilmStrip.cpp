#include "FilmStrip.h"

#include "PictureDrawing.h"

FilmStrip::FilmStrip (juce::Image* imageToView, int frames, bool horizontal)
    : image (imageToView)
{
    if (image == nullptr)
        return;

    numFrames = frames;
    isHorizontal = horizontal;
    const auto size = frameSizeOf (image, numFrames, isHorizontal);
    frameWidth = size.x;
    frameHeight = size.y;
}

juce::Point<int> FilmStrip::frameSizeOf (const juce::Image* image, int numFrames, bool isHorizontal)
{
    const int w = (image != nullptr && image->isValid()) ? image->getWidth() : 0;
    const int h = (image != nullptr && image->isValid()) ? image->getHeight() : 0;
    if (numFrames <= 0)
        return { 0, 0 };
    return isHorizontal ? juce::Point<int> (w / numFrames, h) : juce::Point<int> (w, h / numFrames);
}

juce::Rectangle<int> FilmStrip::frameBoundsOf (int frameIndex, int frameWidth, int frameHeight, bool isHorizontal)
{
    return isHorizontal ? juce::Rectangle<int> (frameIndex * frameWidth, 0, frameWidth, frameHeight)
                        : juce::Rectangle<int> (0, frameIndex * frameHeight, frameWidth, frameHeight);
}

juce::Rectangle<int> FilmStrip::frameBounds (int frameIndex) const
{
    return frameBoundsOf (frameIndex, frameWidth, frameHeight, isHorizontal);
}

void FilmStrip::drawFrame (juce::Graphics& g, int frameIndex) const
{
    drawFrameScaled (g, frameIndex, frameWidth, frameHeight);
}

void FilmStrip::drawFrameScaled (juce::Graphics& g, int frameIndex, int width, int height) const
{
    if (image == nullptr || ! image->isValid())
        return;

    drawPictureArea (g, *image, doubled, frameBounds (frameIndex), { 0, 0, width, height });
}
