#include "FilmStripKnob.h"

FilmStripKnob::FilmStripKnob() : juce::Slider (juce::String()) {}

FilmStripKnob::~FilmStripKnob() = default;

void FilmStripKnob::setImage (juce::Image* newImage, const juce::Image* doubled)
{
    if (newImage == nullptr)
    {
        strip = FilmStrip (nullptr, 0, false);
        return;
    }

    numFrames = 65;
    setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    strip = FilmStrip (newImage, numFrames, false);
    strip.setDoubledImage (doubled);
}

int FilmStripKnob::currentFrame() const
{
    const double lo = getMinimum(), hi = getMaximum();
    const double proportion = (getValue() - lo) / (hi - lo);
    return (int) (proportion * (double) (numFrames - 1));
}

void FilmStripKnob::paint (juce::Graphics& g)
{
    strip.drawFrameScaled (g, currentFrame(), getWidth(), getHeight());
}

void FilmStripKnob::resized() {}
