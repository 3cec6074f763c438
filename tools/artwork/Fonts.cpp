#include "Fonts.h"

#include "Palette.h"

namespace artwork
{
namespace
{
    juce::Typeface::Ptr loadFace (const juce::File& file, juce::String& error)
    {
        juce::MemoryBlock data;
        if (! file.loadFileAsData (data) || data.getSize() == 0)
        {
            error << "cannot read " << file.getFullPathName() << "\n";
            return {};
        }
        return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
    }
}

bool Fonts::loadFrom (const juce::File& folder, juce::String& error)
{
    label = loadFace (folder.getChildFile ("DejaVuSansCondensed-Bold.ttf"), error);
    bar   = loadFace (folder.getChildFile ("DejaVuSans-Bold.ttf"), error);
    logo  = loadFace (folder.getChildFile ("DejaVuSerif-Bold.ttf"), error);
    return label != nullptr && bar != nullptr && logo != nullptr;
}

juce::Font Fonts::make (const juce::Typeface::Ptr& face, float height, float extraKerning)
{
    juce::Font font (face);
    font.setHeight (height);
    font.setExtraKerningFactor (extraKerning);
    return font;
}

juce::Path textOutline (const juce::String& text, const juce::Font& font)
{
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (font, text, 0.0f, 0.0f);
    juce::Path outline;
    glyphs.createPath (outline);
    return outline;
}

juce::Path textOutlineAt (const juce::String& text, const juce::Font& font, float centreX, float baselineY)
{
    auto outline = textOutline (text, font);
    const auto bounds = outline.getBounds();
    outline.applyTransform (juce::AffineTransform::translation (centreX - bounds.getCentreX(), baselineY));
    return outline;
}

void drawPrint (juce::Graphics& g, const juce::Path& outline, juce::Colour ink)
{
    g.setColour (palette::printShadow);
    g.fillPath (outline, juce::AffineTransform::translation (0.0f, 0.8f));
    g.setColour (ink);
    g.fillPath (outline);
}
}
