#include "FilmStripKnob.h"

#include "FilmStrip.h"

FilmStripKnob::FilmStripKnob() : juce::Slider (juce::String()) {}

FilmStripKnob::~FilmStripKnob() = default;

void FilmStripKnob::setImage (juce::Image* newImage)
{
    image = newImage;
    if (image == nullptr)
        return;

    numFrames = 65;
    isHorizontal = false;
    setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    const auto size = FilmStrip::frameSizeOf (image, numFrames, isHorizontal);
    frameWidth = size.x;
    frameHeight = size.y;
}

int FilmStripKnob::currentFrame() const
{
    const double lo = getMinimum(), hi = getMaximum();
    const double proportion = (getValue() - lo) / (hi - lo);
    return (int) (proportion * (double) (numFrames - 1));
}

void FilmStripKnob::paint (juce::Graphics& g)
{
    if (image == nullptr || ! image->isValid())
        return;

    const auto source = FilmStrip::frameBoundsOf (currentFrame(), frameWidth, frameHeight, isHorizontal);
    g.drawImage (*image, 0, 0, getWidth(), getHeight(),
                 source.getX(), source.getY(), source.getWidth(), source.getHeight(), false);
}

void FilmStripKnob::resized() {}
