#pragma once

#include <juce_graphics/juce_graphics.h>

// Draws the area `source` (in pixels of `normal`) of a picture into `destination`. Where the
// context has more than one physical pixel per unit (a scaled display, or a host that scales the
// window) and `doubled` is the same picture with exactly twice the pixels in each direction, the
// same area is taken from `doubled` instead: copied 1:1 at scale 2, resampled with high quality
// at scales between 1 and 2 or above 2. A missing or broken doubled picture leaves `normal`.
void drawPictureArea (juce::Graphics& g, const juce::Image& normal, const juce::Image* doubled,
                      juce::Rectangle<int> source, juce::Rectangle<int> destination);
