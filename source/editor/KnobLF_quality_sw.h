#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Look of the two-position quality switch (a horizontal slider 0..1): the whole slider shows
// frame 0 (Lo) or frame 1 (Hi) of its strip.
class KnobLF_quality_sw final : public juce::LookAndFeel_V3
{
public:
    KnobLF_quality_sw();
    ~KnobLF_quality_sw() override;

    void drawLinearSliderBackground (juce::Graphics&, int x, int y, int width, int height,
                                     float sliderPos, float minSliderPos, float maxSliderPos,
                                     juce::Slider::SliderStyle, juce::Slider&) override;

    void drawLinearSliderThumb (juce::Graphics& g, int x, int y, int width, int height,
                                float sliderPos, float minSliderPos, float maxSliderPos,
                                juce::Slider::SliderStyle style, juce::Slider& slider) override;

    // The frame a slider at its current value shows.
    int frameFor (const juce::Slider& slider) const;

    int getFrameWidth() const  { return frameWidth; }
    int getFrameHeight() const { return frameHeight; }

private:
    int numFrames = 2;
    juce::Image image;
    juce::Image doubledImage;   // the same strip at twice the resolution, for scaled displays
    int frameWidth = 0;
    int frameHeight = 0;
};
