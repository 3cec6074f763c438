#pragma once

#include <juce_graphics/juce_graphics.h>

// Where every control sits on the 370 × 476 pedal picture. The editor places its components
// here, and the artwork generator cuts each control's frames out of the same rectangles.
namespace EditorLayout
{
constexpr int width  = 370;
constexpr int height = 476;

inline juce::Rectangle<int> drive()         { return { 87, 61, 65, 65 }; }
inline juce::Rectangle<int> tone()          { return { 152, 114, 65, 65 }; }
inline juce::Rectangle<int> level()         { return { 217, 61, 65, 65 }; }
inline juce::Rectangle<int> led()           { return { 152, 35, 65, 65 }; }
inline juce::Rectangle<int> quality()       { return { 270, 19, 48, 17 }; }
inline juce::Rectangle<int> stereo()        { return { 61, 18, 30, 21 }; }
inline juce::Rectangle<int> inputGain()     { return { 107, 22, 150, 14 }; }
inline juce::Rectangle<int> footSwitch()    { return { 138, 340, 105, 80 }; }
inline juce::Rectangle<int> modSwitch()     { return { 92, 143, 59, 40 }; }
inline juce::Rectangle<int> modBackground() { return { 92, 192, 59, 26 }; } // the switch's reflection
} // namespace EditorLayout
