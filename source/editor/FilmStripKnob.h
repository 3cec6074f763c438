#pragma once

#include "FilmStrip.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A slider that paints itself as one frame of a vertical strip of knob pictures: the frame
// follows the value's proportion of the range, from the first frame at the minimum to the last
// at the maximum. The strip image belongs to the subclass.
class FilmStripKnob : public juce::Slider
{
public:
    FilmStripKnob();
    ~FilmStripKnob() override;

    // Views newImage as 65 stacked frames and removes the value box. A null image leaves the knob
    // without a picture (it paints nothing and has no frame size). `doubled`, if given, is the
    // same strip at twice the resolution, drawn on scaled displays.
    void setImage (juce::Image* newImage, const juce::Image* doubled = nullptr);

    void paint (juce::Graphics& g) override;
    void resized() override;

    // The frame the current value shows.
    int currentFrame() const;

    int getFrameWidth() const  { return strip.getFrameWidth(); }
    int getFrameHeight() const { return strip.getFrameHeight(); }

private:
    FilmStrip strip { nullptr, 0, false };
    int numFrames = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FilmStripKnob)
};
