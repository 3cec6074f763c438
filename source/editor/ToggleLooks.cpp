#include "ToggleLooks.h"

#include "EditorImages.h"

StripToggleLook::StripToggleLook (const juce::Image& stripImage, const juce::Image& doubledStripImage)
    : image (stripImage),
      doubledImage (doubledStripImage),
      strip (&image, 2, false)
{
    strip.setDoubledImage (&doubledImage);
}

StripToggleLook::~StripToggleLook()
{
    image = {};
    doubledImage = {};
}

void StripToggleLook::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool, bool)
{
    strip.drawFrame (g, button.getToggleState() ? 1 : 0);
}

ToggleLF_led::ToggleLF_led()       : StripToggleLook (EditorImages::ledStrip(), EditorImages::ledStrip (EditorImages::Resolution::doubled)) {}
ToggleLF_stereo::ToggleLF_stereo() : StripToggleLook (EditorImages::stereoStrip(), EditorImages::stereoStrip (EditorImages::Resolution::doubled)) {}
ToggleLF_mod::ToggleLF_mod()       : StripToggleLook (EditorImages::modSwitchStrip(), EditorImages::modSwitchStrip (EditorImages::Resolution::doubled)) {}
ToggleLF_mod_bg::ToggleLF_mod_bg() : StripToggleLook (EditorImages::modBackgroundStrip(), EditorImages::modBackgroundStrip (EditorImages::Resolution::doubled)) {}
