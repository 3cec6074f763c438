#pragma once

#include "Fonts.h"

namespace artwork
{
// Pixels per unit of pedal coordinates of the picture g draws into: 1 for the normal set, 2 for
// the set drawn at twice the resolution.
float pixelScale (juce::Graphics& g);

// A drop shadow blurred at the resolution of the picture, not enlarged from a 1x blur.
void drawShadow (juce::Graphics& g, const juce::DropShadow& shadow, const juce::Path& path);

// Everything of the pedal that never changes: backdrop, top bar, enclosure, jacks and print.
void drawBase (juce::Graphics& g, const Fonts& fonts);

// A faint deterministic grain over the whole picture, like a powder coat; one grain covers
// scale x scale pixels.
void addPowderCoat (juce::Image& picture, int scale);

// The controls, each drawn in pedal coordinates inside its own rectangle and never outside it.
void drawKnob (juce::Graphics& g, juce::Rectangle<int> bounds, int frame);
void drawLed (juce::Graphics& g, juce::Rectangle<int> bounds, bool lit);
void drawFootSwitch (juce::Graphics& g, juce::Rectangle<int> bounds, bool pressed);
void drawStereoRings (juce::Graphics& g, juce::Rectangle<int> bounds, bool stereo);
void drawQualityWords (juce::Graphics& g, juce::Rectangle<int> bounds, const Fonts& fonts, bool high);

// The model switch: its labels and its lever, on a transparent layer.
void drawModelSwitch (juce::Graphics& g, juce::Rectangle<int> bounds, const Fonts& fonts, bool modded);

// The faded, mirrored picture of the model switch on the enclosure below it.
void drawModelReflection (juce::Graphics& g, juce::Rectangle<int> bounds, const Fonts& fonts, bool modded);
}
