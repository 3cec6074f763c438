#include "EditorImages.h"

#if VESK_HAS_IMAGES
 #include "VeskImages.h"
 #define VESK_EMBEDDED_IMAGE(name) juce::ImageCache::getFromMemory (VeskImages::name##_png, VeskImages::name##_pngSize)
#else
 #define VESK_EMBEDDED_IMAGE(name) juce::Image()
#endif

namespace EditorImages
{
juce::Image background()         { return VESK_EMBEDDED_IMAGE (background); }
juce::Image driveStrip()         { return VESK_EMBEDDED_IMAGE (knob_drive); }
juce::Image toneStrip()          { return VESK_EMBEDDED_IMAGE (knob_tone); }
juce::Image levelStrip()         { return VESK_EMBEDDED_IMAGE (knob_level); }
juce::Image footSwitchStrip()    { return VESK_EMBEDDED_IMAGE (footswitch); }
juce::Image ledStrip()           { return VESK_EMBEDDED_IMAGE (led); }
juce::Image stereoStrip()        { return VESK_EMBEDDED_IMAGE (stereo); }
juce::Image modSwitchStrip()     { return VESK_EMBEDDED_IMAGE (mod_switch); }
juce::Image modBackgroundStrip() { return VESK_EMBEDDED_IMAGE (mod_bg); }
juce::Image qualityStrip()       { return VESK_EMBEDDED_IMAGE (quality); }
}
