#include "KnobTSOnoff.h"

#include "EditorImages.h"

KnobTSOnoff::KnobTSOnoff (const juce::String& name)
    : juce::ToggleButton (name),
      FilmStrip (nullptr, 0, false)
{
    isPressed = false;
    image = EditorImages::footSwitchStrip();
    doubledImage = EditorImages::footSwitchStrip (EditorImages::Resolution::doubled);
    static_cast<FilmStrip&> (*this) = FilmStrip (&image, 2, false);
    setDoubledImage (&doubledImage);
}

KnobTSOnoff::~KnobTSOnoff()
{
    image = {};
    doubledImage = {};
}

void KnobTSOnoff::mouseDown (const juce::MouseEvent& e)
{
    isPressed = true;
    juce::ToggleButton::mouseDown (e);
}

void KnobTSOnoff::mouseUp (const juce::MouseEvent& e)
{
    isPressed = false;
    juce::ToggleButton::mouseUp (e);
}

void KnobTSOnoff::paintButton (juce::Graphics& g, bool, bool)
{
    drawFrame (g, isPressed ? 1 : 0);
}
