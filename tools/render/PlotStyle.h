#pragma once

#include "Failure.h"
#include "Spectrum.h"

#include <juce_graphics/juce_graphics.h>

#include <optional>

namespace Render::Plot
{
// The palette of every picture: a dark page, slightly lighter panels, quiet grid lines.
namespace colours
{
const juce::Colour page { 0xff14161b };
const juce::Colour panel { 0xff1d2027 };
const juce::Colour panelEdge { 0xff2c303a };
const juce::Colour grid { 0xff2f3440 };
const juce::Colour gridStrong { 0xff444b5a };
const juce::Colour text { 0xffe8e9ec };
const juce::Colour dimText { 0xff9aa0ac };
const juce::Colour input { 0xffb9bec8 };
}

// One colour per factory program, in slot order.
juce::Colour programColour (int slot);

juce::Font font (float height, bool bold = false);

// Typographic characters as JUCE strings.
juce::String emDash();
juce::String middleDot();
juce::String minusSign();

// "1.5k", "200", "20k".
juce::String frequencyLabel (double hz);

// A value with a real minus sign.
juce::String signedText (double v, int decimals);

// A frequency axis from lo to hi on a log scale and a dB axis, over an area.
struct FrequencyAxes
{
    juce::Rectangle<float> area;
    double lowHz = 20.0, highHz = 20000.0;
    double lowDb = -100.0, highDb = 0.0;

    float x (double hz) const;
    float y (double db) const;
};

// Panel background with a title in its top-left corner; returns the plotting area inside.
juce::Rectangle<float> drawPanel (juce::Graphics& g, juce::Rectangle<float> bounds, const juce::String& title);

// Decade and 1-2-5 grid lines with labels under and left of the area.
void drawFrequencyGrid (juce::Graphics& g, const FrequencyAxes& axes, double dbStep);

// The spectrum as a line (and, when fill is not transparent, filled down to the axis).
void drawSpectrum (juce::Graphics& g, const FrequencyAxes& axes, const Spectrum& s, juce::Colour line, float thickness,
                   juce::Colour fill = juce::Colours::transparentBlack);

// Encodes the image as PNG and writes it through a temporary file.
std::optional<Failure> writePng (const juce::Image& image, const juce::File& target, bool overwrite);
}
