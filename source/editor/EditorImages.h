#pragma once

#include <juce_graphics/juce_graphics.h>

// The editor's pictures, decoded from the PNG blocks embedded in the plug-in through the image
// cache (every editor instance shares a decoded picture while it is cached). A picture that is
// missing or fails to decode comes back as a null image.
namespace EditorImages
{
juce::Image background();          // 370 x 476
juce::Image driveStrip();          // 65 x 4225, 65 frames
juce::Image toneStrip();           // 65 x 4225, 65 frames
juce::Image levelStrip();          // 65 x 4225, 65 frames
juce::Image footSwitchStrip();     // 105 x 160, 2 frames: at rest, pressed
juce::Image ledStrip();            // 65 x 130, 2 frames: unlit, lit
juce::Image stereoStrip();         // 30 x 42, 2 frames: mono, stereo
juce::Image modSwitchStrip();      // 59 x 80, 2 frames: 808, MOD
juce::Image modBackgroundStrip();  // 59 x 52, 2 frames: 808, MOD
juce::Image qualityStrip();        // 48 x 34, 2 frames: Lo, Hi
}
