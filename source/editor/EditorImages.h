#pragma once

#include <juce_graphics/juce_graphics.h>

// The editor's pictures, decoded from the PNG blocks embedded in the plug-in through the image
// cache (every editor instance shares a decoded picture while it is cached). A picture that is
// missing or fails to decode comes back as a null image.
namespace EditorImages
{
// Every picture exists twice: as drawn for one physical pixel per unit, and the same drawing
// with twice the pixels in each direction for scaled displays.
enum class Resolution { normal, doubled };

juce::Image background(Resolution resolution = Resolution::normal);          // 370 x 476
juce::Image driveStrip(Resolution resolution = Resolution::normal);          // 65 x 4225, 65 frames
juce::Image toneStrip(Resolution resolution = Resolution::normal);           // 65 x 4225, 65 frames
juce::Image levelStrip(Resolution resolution = Resolution::normal);          // 65 x 4225, 65 frames
juce::Image footSwitchStrip(Resolution resolution = Resolution::normal);     // 105 x 160, 2 frames: at rest, pressed
juce::Image ledStrip(Resolution resolution = Resolution::normal);            // 65 x 130, 2 frames: unlit, lit
juce::Image stereoStrip(Resolution resolution = Resolution::normal);         // 30 x 42, 2 frames: mono, stereo
juce::Image modSwitchStrip(Resolution resolution = Resolution::normal);      // 59 x 80, 2 frames: 808, MOD
juce::Image modBackgroundStrip(Resolution resolution = Resolution::normal);  // 59 x 52, 2 frames: 808, MOD
juce::Image qualityStrip(Resolution resolution = Resolution::normal);        // 48 x 34, 2 frames: Lo, Hi
}
