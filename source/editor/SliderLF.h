#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Look of the input-gain bar: a plain fill from the left edge to the value with a thin marker
// at the value, and a transparent value label over it whose text entry has green text, no
// outline and no pop-up menu.
class SliderLF final : public juce::LookAndFeel_V3
{
public:
    // The bar's value label. The framework lays it over the whole bar and passes its mouse events
    // on to the bar, so a drag moves the value and a double-click returns the bar to its default.
    // A plain click opens the value for typing once the double-click time has passed without a
    // second click: opening it at once would put the text entry under the second click of a
    // double-click, which would then never reach the bar. The label swallows mouse-wheel events
    // that reach it directly.
    class SliderLabelComp final : public juce::Label, private juce::Timer
    {
    public:
        SliderLabelComp();
        void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override;
        void mouseUp (const juce::MouseEvent&) override;
        void mouseDoubleClick (const juce::MouseEvent&) override;

    private:
        void timerCallback() override;
    };

    void drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                           float sliderPos, float minSliderPos, float maxSliderPos,
                           juce::Slider::SliderStyle style, juce::Slider& slider) override;

    void drawLinearSliderBackground (juce::Graphics&, int x, int y, int width, int height,
                                     float sliderPos, float minSliderPos, float maxSliderPos,
                                     juce::Slider::SliderStyle, juce::Slider&) override;

    juce::Label* createSliderTextBox (juce::Slider& slider) override;

    void fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor) override;
    void drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor) override;

    // The colour of the one-unit marker at the value.
    static juce::Colour markerColour (const juce::Slider& slider);
};
