#include "ToggleLooks.h"

#include "EditorImages.h"

StripToggleLook::StripToggleLook (const juce::Image& stripImage)
    : image (stripImage),
      strip (&image, 2, false)
{
}

StripToggleLook::~StripToggleLook()
{
    image = {};
}

void StripToggleLook::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool, bool)
{
    strip.drawFrame (g, button.getToggleState() ? 1 : 0);
}

ToggleLF_led::ToggleLF_led()       : StripToggleLook (EditorImages::ledStrip()) {}
ToggleLF_stereo::ToggleLF_stereo() : StripToggleLook (EditorImages::stereoStrip()) {}
ToggleLF_mod::ToggleLF_mod()       : StripToggleLook (EditorImages::modSwitchStrip()) {}
ToggleLF_mod_bg::ToggleLF_mod_bg() : StripToggleLook (EditorImages::modBackgroundStrip()) {}
