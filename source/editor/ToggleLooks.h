#pragma once

#include "FilmStrip.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A toggle button look that draws frame 1 of a two-frame strip when the button is on and
// frame 0 when it is off. Mouse-over, pressed and enabled state change nothing; no text and no
// tick box are drawn.
class StripToggleLook : public juce::LookAndFeel_V3
{
public:
    ~StripToggleLook() override;

    void drawToggleButton (juce::Graphics& g, juce::ToggleButton& button,
                           bool isMouseOverButton, bool isButtonDown) override;

    const FilmStrip& getStrip() const { return strip; }

protected:
    StripToggleLook (const juce::Image& stripImage, const juce::Image& doubledStripImage);

private:
    juce::Image image, doubledImage;
    FilmStrip strip;
};

// The LED over the knobs: unlit, lit.
class ToggleLF_led final : public StripToggleLook
{
public:
    ToggleLF_led();
};

// The mono/stereo switch: one ring lit, both rings lit.
class ToggleLF_stereo final : public StripToggleLook
{
public:
    ToggleLF_stereo();
};

// The model switch: lever at 808, lever at MOD.
class ToggleLF_mod final : public StripToggleLook
{
public:
    ToggleLF_mod();
};

// The enclosure under the model switch, with its mirrored labels and the lever's reflection.
class ToggleLF_mod_bg final : public StripToggleLook
{
public:
    ToggleLF_mod_bg();
};
