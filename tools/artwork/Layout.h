#pragma once

#include "editor/EditorLayout.h"

#include <juce_graphics/juce_graphics.h>

namespace artwork
{
// The pedal picture is 370 x 476 pixels. Every control sits in a fixed rectangle of it, and one
// frame of the control's strip is exactly that rectangle, cut out of the finished picture.
namespace layout
{
    // The controls' rectangles, shared with the editor.
    using namespace EditorLayout;

    // The enclosure and the dark bar above it.
    inline juce::Rectangle<float> enclosure()  { return { 29.0f, 52.0f, 311.0f, 418.0f }; }
    inline juce::Rectangle<float> topBar()     { return { 0.0f, 0.0f, 370.0f, 46.0f }; }

    // The lid of the enclosure: the walls show around it, more of the lower one (seen a little
    // from the front).
    inline juce::Rectangle<float> lid()
    {
        return enclosure().withTrimmedLeft (6.0f).withTrimmedRight (6.0f).withTrimmedTop (4.0f).withTrimmedBottom (13.0f);
    }
    constexpr float lidCorner = 17.0f;

    // Knob turn: frame 0 points to 7 o'clock, the last frame to 5 o'clock, clockwise.
    constexpr int   knobFrames   = 65;
    constexpr float knobMinAngle = -150.0f;
    constexpr float knobMaxAngle = 150.0f;
}
}
