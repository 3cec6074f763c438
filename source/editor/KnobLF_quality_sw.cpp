#include "KnobLF_quality_sw.h"

#include "EditorImages.h"
#include "PictureDrawing.h"

KnobLF_quality_sw::KnobLF_quality_sw()
    : image (EditorImages::qualityStrip()),
      doubledImage (EditorImages::qualityStrip (EditorImages::Resolution::doubled))
{
    frameWidth = image.isValid() ? image.getWidth() : 0;
    frameHeight = image.isValid() ? image.getHeight() / numFrames : 0;
}

KnobLF_quality_sw::~KnobLF_quality_sw()
{
    image = {};
    doubledImage = {};
}

void KnobLF_quality_sw::drawLinearSliderBackground (juce::Graphics&, int, int, int, int, float, float, float,
                                                    juce::Slider::SliderStyle, juce::Slider&)
{
}

int KnobLF_quality_sw::frameFor (const juce::Slider& slider) const
{
    const double lo = slider.getMinimum(), hi = slider.getMaximum();
    return (int) ((slider.getValue() - lo) / (hi - lo) * (double) (numFrames - 1));
}

void KnobLF_quality_sw::drawLinearSliderThumb (juce::Graphics& g, int, int, int, int, float, float, float,
                                               juce::Slider::SliderStyle, juce::Slider& slider)
{
    drawPictureArea (g, image, &doubledImage, { 0, frameFor (slider) * frameHeight, frameWidth, frameHeight },
                     { 0, 0, slider.getWidth(), slider.getHeight() });
}
