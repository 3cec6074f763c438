#pragma once

#include "FilmStrip.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The on/off foot switch: a toggle button that shows its strip's pressed frame while the mouse
// button is held down on it and the resting frame otherwise, whatever its toggle state (the LED
// shows whether the pedal is on).
class KnobTSOnoff final : public juce::ToggleButton, public FilmStrip
{
public:
    explicit KnobTSOnoff (const juce::String& name);
    ~KnobTSOnoff() override;

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown) override;

    bool isShownPressed() const { return isPressed; }

private:
    bool isPressed = false;
    juce::Image image, doubledImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KnobTSOnoff)
};
