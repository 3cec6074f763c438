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
// are opaque and join the background without a seam. At scale 2 the same drawing is made with
// twice the pixels in each direction; those files are named like knob_drive_2x.png.
std::vector<Picture> renderAllPictures (const Fonts& fonts, int scale);

// The file a picture is written to: "knob_drive" at scale 1 is knob_drive.png, at 2 knob_drive_2x.png.
juce::String fileNameFor (const juce::String& name, int scale);
}
