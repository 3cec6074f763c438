#pragma once

#include <juce_graphics/juce_graphics.h>

namespace artwork
{
// The typefaces of the printed labels, read from font files so that the pictures do not depend
// on what the font configuration of the machine prefers.
struct Fonts
{
    juce::Typeface::Ptr label;      // condensed bold sans: knob and switch labels
    juce::Typeface::Ptr bar;        // sans bold: top-bar labels
    juce::Typeface::Ptr logo;       // serif bold: the name on the enclosure

    bool loadFrom (const juce::File& folder, juce::String& error);

    static juce::Font make (const juce::Typeface::Ptr& face, float height, float extraKerning = 0.0f);
};

// Outline of a line of text whose baseline starts at the origin.
juce::Path textOutline (const juce::String& text, const juce::Font& font);

// Outline of a line of text centred horizontally on x, with its baseline at y.
juce::Path textOutlineAt (const juce::String& text, const juce::Font& font, float centreX, float baselineY);

// Silkscreen print: the ink with a faint edge below it, as paint printed on a powder coat.
void drawPrint (juce::Graphics& g, const juce::Path& outline, juce::Colour ink);
}
