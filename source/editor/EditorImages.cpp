#include "EditorImages.h"

#if VESK_HAS_IMAGES
 #include "VeskImages.h"
 #define VESK_EMBEDDED_IMAGE(name) \
     (resolution == Resolution::doubled ? juce::ImageCache::getFromMemory (VeskImages::name##_2x_png, VeskImages::name##_2x_pngSize) \
                                        : juce::ImageCache::getFromMemory (VeskImages::name##_png, VeskImages::name##_pngSize))
#else
 #define VESK_EMBEDDED_IMAGE(name) ((void) resolution, juce::Image())
#endif

namespace EditorImages
{
juce::Image background(Resolution resolution)         { return VESK_EMBEDDED_IMAGE (background); }
juce::Image driveStrip(Resolution resolution)         { return VESK_EMBEDDED_IMAGE (knob_drive); }
juce::Image toneStrip(Resolution resolution)          { return VESK_EMBEDDED_IMAGE (knob_tone); }
juce::Image levelStrip(Resolution resolution)         { return VESK_EMBEDDED_IMAGE (knob_level); }
juce::Image footSwitchStrip(Resolution resolution)    { return VESK_EMBEDDED_IMAGE (footswitch); }
juce::Image ledStrip(Resolution resolution)           { return VESK_EMBEDDED_IMAGE (led); }
juce::Image stereoStrip(Resolution resolution)        { return VESK_EMBEDDED_IMAGE (stereo); }
juce::Image modSwitchStrip(Resolution resolution)     { return VESK_EMBEDDED_IMAGE (mod_switch); }
juce::Image modBackgroundStrip(Resolution resolution) { return VESK_EMBEDDED_IMAGE (mod_bg); }
juce::Image qualityStrip(Resolution resolution)       { return VESK_EMBEDDED_IMAGE (quality); }
}
