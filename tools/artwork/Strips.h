#pragma once

#include "Fonts.h"

#include <vector>

namespace artwork
{
struct Picture
{
    juce::String fileName;
    juce::Image image;
};

// All ten pictures of the editor: the background and the nine strips, frames stacked top to
// bottom. Every frame is the finished pedal cut out at the control's rectangle, so the frames
// are opaque and join the background without a seam.
std::vector<Picture> renderAllPictures (const Fonts& fonts);
}
