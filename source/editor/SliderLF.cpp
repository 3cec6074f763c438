#include "SliderLF.h"

SliderLF::SliderLabelComp::SliderLabelComp() : juce::Label (juce::String(), juce::String()) {}

void SliderLF::SliderLabelComp::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) {}

void SliderLF::SliderLabelComp::mouseUp (const juce::MouseEvent& e)
{
    const bool plainClick = e.getNumberOfClicks() == 1 && ! e.mouseWasDraggedSinceMouseDown() && ! e.mods.isPopupMenu()
                            && contains (e.getPosition());
    if (plainClick && isEditable() && isEnabled())
        startTimer (juce::MouseEvent::getDoubleClickTimeout());
    else
        stopTimer();
}

void SliderLF::SliderLabelComp::mouseDoubleClick (const juce::MouseEvent&)
{
    stopTimer();
}

void SliderLF::SliderLabelComp::timerCallback()
{
    stopTimer();
    if (isEditable() && isEnabled() && isShowing())
        showEditor();
}

juce::Colour SliderLF::markerColour (const juce::Slider& slider)
{
    return slider.findColour (juce::Slider::thumbColourId)
        .withMultipliedSaturation (slider.isEnabled() ? 1.0f : 0.5f)
        .withMultipliedAlpha (0.8f)
        .darker (0.2f);
}

void SliderLF::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                                 float sliderPos, float minSliderPos, float maxSliderPos,
                                 juce::Slider::SliderStyle style, juce::Slider& slider)
{
    g.fillAll (slider.findColour (juce::Slider::backgroundColourId));

    const bool vertical = style == juce::Slider::LinearBarVertical;
    if (! vertical && style != juce::Slider::LinearBar)
    {
        drawLinearSliderBackground (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
        juce::LookAndFeel_V3::drawLinearSliderThumb (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
        return;
    }

    const float fx = (float) x, fy = (float) y, fw = (float) width, fh = (float) height;

    // The fill keeps whatever the context holds: black when the framework paints the slider.
    juce::Path fill;
    if (vertical)
        fill.addRectangle (fx, sliderPos, fw, 1.0f + fh - sliderPos);
    else
        fill.addRectangle (fx, fy, sliderPos - fx, fh);
    g.fillPath (fill);

    g.setColour (markerColour (slider));
    if (vertical)
        g.fillRect (juce::Rectangle<float> (fx, sliderPos, fw, 1.0f));
    else
        g.fillRect (juce::Rectangle<float> (sliderPos, fy, 1.0f, fh));
}

void SliderLF::drawLinearSliderBackground (juce::Graphics&, int, int, int, int, float, float, float,
                                           juce::Slider::SliderStyle, juce::Slider&)
{
}

juce::Label* SliderLF::createSliderTextBox (juce::Slider& slider)
{
    auto* label = new SliderLabelComp();
    label->setJustificationType (juce::Justification::centred);
    label->setKeyboardType (juce::TextInputTarget::decimalKeyboard);

    label->setColour (juce::Label::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    label->setColour (juce::Label::backgroundColourId, juce::Colour (0x00000000));
    label->setColour (juce::Label::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::textColourId, juce::Colour (0xff70ba72));
    label->setColour (juce::TextEditor::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::highlightColourId, juce::Colour (0xff63a465));
    label->setColour (juce::CaretComponent::caretColourId, juce::Colour (0xff579159));
    return label;
}

void SliderLF::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    g.setColour (editor.findColour (juce::TextEditor::backgroundColourId));
    g.fillRect (0, 0, width, height);
    editor.setPopupMenuEnabled (false);
}

void SliderLF::drawTextEditorOutline (juce::Graphics&, int, int, juce::TextEditor&) {}
