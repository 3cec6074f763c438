#include "Strips.h"

#include "Drawing.h"
#include "Layout.h"

#include <functional>

namespace artwork
{
namespace
{
    using Painter = std::function<void (juce::Graphics&)>;

    void copyPixels (const juce::Image& from, juce::Rectangle<int> area, juce::Image& to, juce::Point<int> at)
    {
        const juce::Image::BitmapData src (from, juce::Image::BitmapData::readOnly);
        juce::Image::BitmapData dst (to, juce::Image::BitmapData::writeOnly);
        for (int y = 0; y < area.getHeight(); ++y)
            for (int x = 0; x < area.getWidth(); ++x)
                dst.setPixelColour (at.x + x, at.y + y, src.getPixelColour (area.getX() + x, area.getY() + y));
    }

    // A graphics context drawing pedal coordinates into a picture `scale` times their size, whose
    // top left corner is the pedal point `origin`.
    struct PedalGraphics
    {
        PedalGraphics (juce::Image& picture, juce::Point<int> origin, int scale) : g (picture)
        {
            g.setOrigin (-origin * scale);
            if (scale != 1)
                g.addTransform (juce::AffineTransform::scale ((float) scale));
        }
        juce::Graphics g;
    };

    // One frame: the base picture under the control's rectangle with the control drawn on it.
    juce::Image cutFrame (const juce::Image& base, juce::Rectangle<int> area, int scale, const Painter& paint)
    {
        juce::Image frame (juce::Image::ARGB, area.getWidth() * scale, area.getHeight() * scale, true);
        copyPixels (base, area * scale, frame, {});
        PedalGraphics pedal (frame, area.getPosition(), scale);
        pedal.g.reduceClipRegion (area);
        paint (pedal.g);
        return frame;
    }

    juce::Image stack (const std::vector<juce::Image>& frames)
    {
        const int w = frames.front().getWidth(), h = frames.front().getHeight();
        juce::Image strip (juce::Image::ARGB, w, h * (int) frames.size(), true);
        for (size_t k = 0; k < frames.size(); ++k)
            copyPixels (frames[k], frames[k].getBounds(), strip, { 0, h * (int) k });
        return strip;
    }

    struct Control
    {
        juce::String name;
        juce::Rectangle<int> area;
        int frames;
        int shownInBackground;
        std::function<void (juce::Graphics&, int frame)> paint;
    };
}

juce::String fileNameFor (const juce::String& name, int scale)
{
    return scale == 1 ? name + ".png" : name + "_" + juce::String (scale) + "x.png";
}

std::vector<Picture> renderAllPictures (const Fonts& fonts, int scale)
{
    juce::Image base (juce::Image::ARGB, layout::width * scale, layout::height * scale, true);
    {
        PedalGraphics pedal (base, {}, scale);
        drawBase (pedal.g, fonts);
    }
    addPowderCoat (base, scale);

    auto knob = [] (juce::Rectangle<int> area) { return [area] (juce::Graphics& g, int k) { drawKnob (g, area, k); }; };

    // The background shows the "1 Default" program: drive at minimum, tone centred, level full.
    const std::vector<Control> controls {
        { "knob_drive",  layout::drive(),  layout::knobFrames, 0,  knob (layout::drive()) },
        { "knob_tone",   layout::tone(),   layout::knobFrames, 32, knob (layout::tone()) },
        { "knob_level",  layout::level(),  layout::knobFrames, 64, knob (layout::level()) },
        { "footswitch",  layout::footSwitch(), 2, 0, [] (juce::Graphics& g, int k) { drawFootSwitch (g, layout::footSwitch(), k == 1); } },
        { "led",         layout::led(),    2, 1, [] (juce::Graphics& g, int k) { drawLed (g, layout::led(), k == 1); } },
        { "stereo",      layout::stereo(), 2, 0, [] (juce::Graphics& g, int k) { drawStereoRings (g, layout::stereo(), k == 1); } },
        { "mod_switch",  layout::modSwitch(), 2, 0, [&fonts] (juce::Graphics& g, int k) { drawModelSwitch (g, layout::modSwitch(), fonts, k == 1); } },
        { "mod_bg",      layout::modBackground(), 2, 0, [&fonts] (juce::Graphics& g, int k) { drawModelReflection (g, layout::modBackground(), fonts, k == 1); } },
        { "quality",     layout::quality(), 2, 1, [&fonts] (juce::Graphics& g, int k) { drawQualityWords (g, layout::quality(), fonts, k == 1); } },
    };

    std::vector<Picture> pictures;
    juce::Image background = base.createCopy();
    for (const auto& control : controls)
    {
        std::vector<juce::Image> frames;
        for (int k = 0; k < control.frames; ++k)
            frames.push_back (cutFrame (base, control.area, scale, [&] (juce::Graphics& g) { control.paint (g, k); }));
        copyPixels (frames[(size_t) control.shownInBackground], frames.front().getBounds(), background, control.area.getPosition() * scale);
        pictures.push_back ({ fileNameFor (control.name, scale), stack (frames) });
    }
    pictures.insert (pictures.begin(), { fileNameFor ("background", scale), background });
    return pictures;
}
}
