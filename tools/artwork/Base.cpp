#include "Drawing.h"
#include "Layout.h"
#include "Palette.h"

namespace artwork
{
namespace
{
    void drawBackdrop (juce::Graphics& g)
    {
        g.setGradientFill ({ palette::backdropTop, 0.0f, 0.0f, palette::backdropBottom, 0.0f, (float) layout::height, false });
        g.fillAll();
    }

    void drawPocket (juce::Graphics& g, juce::Rectangle<float> r, float corner)
    {
        g.setColour (juce::Colour (0xff070708));
        g.fillRoundedRectangle (r, corner);
        g.setColour (juce::Colours::white.withAlpha (0.07f));
        g.drawLine (r.getX() + corner, r.getBottom() + 0.5f, r.getRight() - corner, r.getBottom() + 0.5f, 1.0f);
    }

    void drawTopBar (juce::Graphics& g, const Fonts& fonts)
    {
        const auto bar = layout::topBar();
        g.setGradientFill ({ palette::barTop, 0.0f, bar.getY(), palette::barBottom, 0.0f, bar.getBottom(), false });
        g.fillRect (bar);
        g.setColour (juce::Colours::white.withAlpha (0.08f));
        g.fillRect (bar.withHeight (1.0f));
        g.setColour (juce::Colours::black.withAlpha (0.9f));
        g.fillRect (bar.withTop (bar.getBottom() - 1.0f));

        const auto font = Fonts::make (fonts.bar, 9.0f, 0.12f);
        auto label = [&] (const char* text, juce::Rectangle<int> control)
        {
            g.setColour (palette::barText);
            g.fillPath (textOutlineAt (text, font, control.toFloat().getCentreX(), 13.0f));
        };
        label ("STEREO", layout::stereo());
        label ("INPUT GAIN", layout::inputGain());
        label ("QUALITY", layout::quality());

        drawPocket (g, layout::stereo().toFloat().expanded (2.0f, 1.0f), 4.0f);
        drawPocket (g, layout::quality().toFloat().expanded (2.0f, 1.0f), 4.0f);

        // The slot of the input-gain bar: the bar itself draws a black fill over it up to the value.
        const auto slot = layout::inputGain().toFloat();
        g.setColour (juce::Colour (0xff050506));
        g.fillRect (slot.expanded (1.0f));
        g.setGradientFill ({ juce::Colour (0xff3d6541), 0.0f, slot.getY(), juce::Colour (0xff27452b), 0.0f, slot.getBottom(), false });
        g.fillRect (slot);
        g.setColour (juce::Colours::white.withAlpha (0.18f));
        g.fillRect (slot.withHeight (1.0f));
    }

    juce::Path rounded (juce::Rectangle<float> r, float corner)
    {
        juce::Path p;
        p.addRoundedRectangle (r, corner);
        return p;
    }

    void drawEnclosure (juce::Graphics& g)
    {
        const auto box = layout::enclosure();
        const auto outline = rounded (box, 22.0f);

        drawShadow (g, juce::DropShadow (juce::Colours::black.withAlpha (0.8f), 18, { 0, 8 }), outline);

        // The side walls: seen slightly from the front, so more of the lower wall shows.
        g.setGradientFill ({ palette::greenSide.brighter (0.3f), 0.0f, box.getY(), palette::greenSide.darker (0.6f), 0.0f, box.getBottom(), false });
        g.fillPath (outline);

        // Light catches the lower wall's rounded top edge.
        g.setGradientFill ({ juce::Colours::white.withAlpha (0.0f), 0.0f, box.getBottom() - 20.0f, juce::Colours::white.withAlpha (0.12f), 0.0f, box.getBottom() - 4.0f, false });
        g.fillPath (outline);

        const auto face = layout::lid();
        const auto faceOutline = rounded (face, layout::lidCorner);
        drawShadow (g, juce::DropShadow (juce::Colours::black.withAlpha (0.45f), 4, { 0, 2 }), faceOutline);
        juce::ColourGradient coat (palette::greenLight, face.getX(), face.getY(), palette::greenDark, face.getRight(), face.getBottom(), false);
        coat.addColour (0.45, palette::greenMid);
        g.setGradientFill (coat);
        g.fillPath (faceOutline);

        // Soft sheen of the lacquer, brightest towards the upper left.
        g.setGradientFill ({ juce::Colours::white.withAlpha (0.16f), 95.0f, 110.0f, juce::Colours::white.withAlpha (0.0f), 330.0f, 330.0f, true });
        g.fillPath (faceOutline);

        // Rounded edge of the lid: lit from above, in shade below.
        juce::ColourGradient rim (juce::Colours::white.withAlpha (0.55f), 0.0f, face.getY(), juce::Colours::white.withAlpha (0.0f), 0.0f, face.getY() + 60.0f, false);
        g.setGradientFill (rim);
        g.strokePath (rounded (face.reduced (0.75f), layout::lidCorner - 0.5f), juce::PathStrokeType (1.5f));
        juce::ColourGradient shade (juce::Colours::black.withAlpha (0.0f), 0.0f, face.getBottom() - 80.0f, juce::Colours::black.withAlpha (0.45f), 0.0f, face.getBottom(), false);
        g.setGradientFill (shade);
        g.strokePath (rounded (face.reduced (0.75f), layout::lidCorner - 0.5f), juce::PathStrokeType (2.0f));

        // Edge of the casting against the backdrop.
        juce::ColourGradient edge (juce::Colours::white.withAlpha (0.3f), 0.0f, box.getY(), juce::Colours::white.withAlpha (0.0f), 0.0f, box.getY() + 40.0f, false);
        g.setGradientFill (edge);
        g.strokePath (rounded (box.reduced (0.5f), 21.5f), juce::PathStrokeType (1.0f));
    }

    // A jack plug in the side of the enclosure; direction -1 points out to the left, +1 to the right.
    void drawJack (juce::Graphics& g, float wallX, float centreY, float direction)
    {
        auto span = [&] (float from, float to, float halfHeight)
        {
            const float x0 = wallX + direction * from, x1 = wallX + direction * to;
            return juce::Rectangle<float>::leftTopRightBottom (juce::jmin (x0, x1), centreY - halfHeight, juce::jmax (x0, x1), centreY + halfHeight);
        };
        auto chrome = [&] (juce::Rectangle<float> r)
        {
            juce::ColourGradient metal (palette::chromeDark, 0.0f, r.getY(), palette::chromeDark.darker (0.5f), 0.0f, r.getBottom(), false);
            metal.addColour (0.25, palette::chromeLight);
            metal.addColour (0.5, palette::chromeMid);
            g.setGradientFill (metal);
            g.fillRect (r);
        };

        // Shadow of the plug on the backdrop.
        juce::Path plug;
        plug.addRoundedRectangle (span (-2.0f, 40.0f, 11.0f), 3.0f);
        drawShadow (g, juce::DropShadow (juce::Colours::black.withAlpha (0.7f), 6, { 0, 4 }), plug);

        // Hex nut against the wall, then the sleeve and the moulded plug body with its cable.
        chrome (span (-2.0f, 5.0f, 12.0f));
        g.setColour (juce::Colours::black.withAlpha (0.35f));
        g.fillRect (span (-2.0f, 5.0f, 12.0f).withHeight (1.0f).withY (centreY - 4.0f));
        g.fillRect (span (-2.0f, 5.0f, 12.0f).withHeight (1.0f).withY (centreY + 4.0f));
        chrome (span (5.0f, 11.0f, 6.5f));

        const auto body = span (11.0f, 40.0f, 9.0f);
        juce::ColourGradient rubber (juce::Colour (0xff3a3a3e), 0.0f, body.getY(), juce::Colour (0xff070708), 0.0f, body.getBottom(), false);
        rubber.addColour (0.3, juce::Colour (0xff4a4a50));
        g.setGradientFill (rubber);
        g.fillRoundedRectangle (body, 3.0f);
        for (int ring = 0; ring < 3; ++ring)
        {
            const auto groove = span (14.0f + 3.0f * (float) ring, 15.2f + 3.0f * (float) ring, 9.0f);
            g.setColour (juce::Colours::black.withAlpha (0.5f));
            g.fillRect (groove);
        }
    }

    void drawLogo (juce::Graphics& g, const Fonts& fonts)
    {
        const float cx = layout::enclosure().getCentreX();

        // A printed frame around the name, open at the sides like an engraved plate.
        const juce::Rectangle<float> plate (66.0f, 236.0f, 237.0f, 82.0f);
        juce::Path frame;
        frame.addRoundedRectangle (plate, 6.0f);
        juce::Path inner;
        inner.addRoundedRectangle (plate.reduced (4.0f), 3.5f);
        juce::Path lines;
        juce::PathStrokeType (1.6f).createStrokedPath (lines, frame);
        juce::Path thin;
        juce::PathStrokeType (0.8f).createStrokedPath (thin, inner);
        lines.addPath (thin);
        drawPrint (g, lines, palette::print);

        drawPrint (g, textOutlineAt ("VESK", Fonts::make (fonts.logo, 44.0f, 0.14f), cx, 288.0f), palette::print);
        drawPrint (g, textOutlineAt ("OVERDRIVE", Fonts::make (fonts.label, 12.0f, 0.45f), cx, 307.0f), palette::print);
    }

    void drawLabels (juce::Graphics& g, const Fonts& fonts)
    {
        const auto font = Fonts::make (fonts.label, 12.5f, 0.1f);
        drawPrint (g, textOutlineAt ("DRIVE", font, layout::drive().toFloat().getCentreX(), 137.5f), palette::print);
        drawPrint (g, textOutlineAt ("LEVEL", font, layout::level().toFloat().getCentreX(), 137.5f), palette::print);
        drawPrint (g, textOutlineAt ("TONE", font, layout::tone().toFloat().getCentreX(), 193.0f), palette::print);

        // The jack names run along the side walls.
        const auto small = Fonts::make (fonts.label, 8.5f, 0.25f);
        auto outward = [&] (const char* text, float x, float y, float turn)
        {
            auto outline = textOutlineAt (text, small, 0.0f, 3.0f);
            outline.applyTransform (juce::AffineTransform::rotation (turn).translated (x, y));
            drawPrint (g, outline, palette::print.withAlpha (0.85f));
        };
        outward ("OUTPUT", 44.0f, 150.0f, -juce::MathConstants<float>::halfPi);
        outward ("INPUT", 325.0f, 150.0f, juce::MathConstants<float>::halfPi);
    }

    // The recess in which the foot switch sits.
    void drawFootWell (juce::Graphics& g)
    {
        const juce::Rectangle<float> well (141.5f, 341.0f, 86.0f, 74.0f);
        g.setColour (palette::greenSide.darker (0.5f));
        g.fillRoundedRectangle (well, 9.0f);
        juce::ColourGradient inner (juce::Colours::black.withAlpha (0.55f), 0.0f, well.getY(), juce::Colours::black.withAlpha (0.0f), 0.0f, well.getY() + 18.0f, false);
        g.setGradientFill (inner);
        g.fillRoundedRectangle (well, 9.0f);
        g.setColour (juce::Colours::white.withAlpha (0.22f));
        g.drawLine (well.getX() + 9.0f, well.getBottom() + 0.6f, well.getRight() - 9.0f, well.getBottom() + 0.6f, 1.0f);
    }
}

void drawBase (juce::Graphics& g, const Fonts& fonts)
{
    drawBackdrop (g);
    const auto box = layout::enclosure();
    drawJack (g, box.getX() + 1.0f, 150.0f, -1.0f);
    drawJack (g, box.getRight() - 1.0f, 150.0f, 1.0f);
    drawEnclosure (g);
    drawTopBar (g, fonts);
    drawLabels (g, fonts);
    drawLogo (g, fonts);
    drawFootWell (g);
}

void addPowderCoat (juce::Image& picture, int scale)
{
    // One grain per unit of pedal coordinates, whatever the resolution: the same coat at 2x.
    juce::Random grain (0x7e5c);
    juce::Image::BitmapData pixels (picture, juce::Image::BitmapData::readWrite);
    for (int y = 0; y < pixels.height / scale; ++y)
        for (int x = 0; x < pixels.width / scale; ++x)
        {
            const int delta = grain.nextInt (7) - 3;
            auto shift = [delta] (juce::uint8 v) { return (juce::uint8) juce::jlimit (0, 255, (int) v + delta); };
            for (int py = y * scale; py < (y + 1) * scale; ++py)
                for (int px = x * scale; px < (x + 1) * scale; ++px)
                {
                    const auto c = pixels.getPixelColour (px, py);
                    pixels.setPixelColour (px, py, juce::Colour (shift (c.getRed()), shift (c.getGreen()), shift (c.getBlue()), c.getAlpha()));
                }
        }
}
}
