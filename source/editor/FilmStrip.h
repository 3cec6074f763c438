#pragma once

#include <juce_graphics/juce_graphics.h>

// A view of one image as a strip of equal frames, stacked top to bottom or side by side.
// It does not own the image, which must outlive it.
class FilmStrip
{
public:
    // With a null image the strip stays empty and draws nothing.
    FilmStrip (juce::Image* image, int numFrames, bool isHorizontal);

    // The same strip with twice the pixels in each direction, drawn instead on scaled displays
    // (see drawPictureArea). It must outlive the strip as well; null for none.
    void setDoubledImage (const juce::Image* doubledImage) { doubled = doubledImage; }

    // Draws frame `frameIndex` at the origin of g at its natural size.
    void drawFrame (juce::Graphics& g, int frameIndex) const;

    // Draws frame `frameIndex` at the origin of g, scaled to width × height.
    void drawFrameScaled (juce::Graphics& g, int frameIndex, int width, int height) const;

    // Source rectangle of frame k inside the image.
    juce::Rectangle<int> frameBounds (int frameIndex) const;

    int getFrameWidth() const  { return frameWidth; }
    int getFrameHeight() const { return frameHeight; }

    // Frame size of n equal frames over an image (a null or failed image counts as 0 x 0).
    static juce::Point<int> frameSizeOf (const juce::Image* image, int numFrames, bool isHorizontal);

    // Source rectangle of frame k for a given frame size and orientation.
    static juce::Rectangle<int> frameBoundsOf (int frameIndex, int frameWidth, int frameHeight, bool isHorizontal);

protected:
    juce::Image* image = nullptr;
    int numFrames = 0;
    bool isHorizontal = false;
    int frameWidth = 0;
    int frameHeight = 0;
    const juce::Image* doubled = nullptr;
};
