// The pedal on scaled displays: how sharp the window is at 1x, 1.5x and 2x compared with the
// normal pictures stretched, and the fall-back to the normal pictures when a doubled one is
// missing or broken.
#include "support/EditorHarness.h"

#include "editor/FilmStrip.h"

#include <cmath>
#include <complex>
#include <iostream>

using namespace EditorHarness;

namespace
{
// Share of the brightness variation of an image area that lies above a quarter cycle per editor
// unit (half the Nyquist frequency of the normal pictures), over the rows and the columns, each
// line with its mean removed and a Hann window. `pixelsPerUnit` is the snapshot's scale.
double sharpness (const juce::Image& image, juce::Rectangle<int> area, float pixelsPerUnit)
{
    auto lineEnergy = [pixelsPerUnit] (std::vector<double> line, double& high, double& all)
    {
        const size_t n = line.size();
        double mean = 0.0;
        for (auto v : line) mean += v / (double) n;
        for (size_t i = 0; i < n; ++i)
            line[i] = (line[i] - mean) * (0.5 - 0.5 * std::cos (2.0 * juce::MathConstants<double>::pi * (double) i / (double) (n - 1)));
        for (size_t k = 1; k <= n / 2; ++k)
        {
            std::complex<double> sum;
            for (size_t i = 0; i < n; ++i)
                sum += line[i] * std::polar (1.0, -2.0 * juce::MathConstants<double>::pi * (double) (k * i) / (double) n);
            const double energy = std::norm (sum);
            const double cyclesPerUnit = (double) k / (double) n * pixelsPerUnit;
            all += energy;
            if (cyclesPerUnit > 0.25)
                high += energy;
        }
    };
    auto brightness = [&image] (int x, int y) { return (double) image.getPixelAt (x, y).getPerceivedBrightness(); };

    double high = 0.0, all = 0.0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
    {
        std::vector<double> row;
        for (int x = area.getX(); x < area.getRight(); ++x) row.push_back (brightness (x, y));
        lineEnergy (row, high, all);
    }
    for (int x = area.getX(); x < area.getRight(); ++x)
    {
        std::vector<double> column;
        for (int y = area.getY(); y < area.getBottom(); ++y) column.push_back (brightness (x, y));
        lineEnergy (column, high, all);
    }
    return high / all;
}

// The normal snapshot enlarged by the framework: what a scaled display showed with 1x pictures.
juce::Image stretched (const juce::Image& normal, float scale)
{
    juce::Image big (juce::Image::ARGB, juce::roundToInt ((float) normal.getWidth() * scale),
                     juce::roundToInt ((float) normal.getHeight() * scale), true);
    juce::Graphics g (big);
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
    g.drawImageTransformed (normal, juce::AffineTransform::scale (scale));
    return big;
}

// A knob with its label, and the model switch with its labels: edges of print, knob and lever.
const juce::Rectangle<int> edgeAreas[] = { { 87, 61, 65, 82 }, { 88, 140, 64, 44 } };
}

TEST (EditorScale, DoubledPicturesAreSharperThanTheNormalOnes)
{
    Processor p;
    p.setCurrentProgram (3);
    OpenEditor open (p);
    ASSERT_NE (open.editor, nullptr);
    const auto normal = snapshotOf (*open.editor, 1.0f);

    for (const auto& area : edgeAreas)
    {
        const double atOne = sharpness (normal, area, 1.0f);
        std::cout << "sharpness of " << area.toString() << " (energy share above half the 1x Nyquist): 1x " << atOne;
        for (const float scale : { 1.5f, 2.0f })
        {
            const auto shot = snapshotOf (*open.editor, scale);
            ASSERT_EQ (shot.getWidth(), juce::roundToInt (370.0f * scale));
            ASSERT_EQ (shot.getHeight(), juce::roundToInt (476.0f * scale));
            const auto scaledArea = (area.toFloat() * scale).getSmallestIntegerContainer();
            const double sharp = sharpness (shot, scaledArea, scale);
            const double blurred = sharpness (stretched (normal, scale), scaledArea, scale);
            std::cout << ", " << scale << "x " << sharp << " (1x pictures stretched: " << blurred << ")";
            EXPECT_GT (sharp, blurred) << scale;
            if (scale == 2.0f)
            {
                EXPECT_GE (sharp, atOne);
            }
        }
        std::cout << std::endl;
    }
}

TEST (EditorScale, MissingOrBrokenDoubledPictureFallsBackToTheNormalOne)
{
    auto normal = EditorImages::ledStrip();
    const auto doubled = EditorImages::ledStrip (EditorImages::Resolution::doubled);
    ASSERT_TRUE (normal.isValid());
    ASSERT_EQ (doubled.getWidth(), 2 * normal.getWidth());
    ASSERT_EQ (doubled.getHeight(), 2 * normal.getHeight());

    auto drawAtTwo = [&normal] (const juce::Image* doubledImage)
    {
        FilmStrip strip (&normal, 2, false);
        strip.setDoubledImage (doubledImage);
        juce::Image shot (juce::Image::ARGB, 2 * strip.getFrameWidth(), 2 * strip.getFrameHeight(), true);
        juce::Graphics g (shot);
        g.addTransform (juce::AffineTransform::scale (2.0f));
        strip.drawFrame (g, 1);
        return shot;
    };
    auto samePixels = [] (const juce::Image& a, const juce::Image& b)
    {
        return differences (a, a.getBounds(), b, b.getBounds()).empty();
    };

    // With the doubled strip: its frame 1:1.
    const auto sharp = drawAtTwo (&doubled);
    EXPECT_EQ (differences (sharp, sharp.getBounds(), doubled, frameOf (doubled, 2, 1)), "");

    // Without it, undecodable, or of the wrong size: the normal frame, enlarged, never nothing.
    const char junk[] = "not a PNG";
    const auto broken = juce::ImageCache::getFromMemory (junk, sizeof (junk));
    const auto wrongSize = normal.rescaled (normal.getWidth() * 3, normal.getHeight() * 3);
    const auto fallback = drawAtTwo (nullptr);
    EXPECT_FALSE (samePixels (fallback, sharp));
    EXPECT_NE (fallback.getPixelAt (65, 65), juce::Colour());
    EXPECT_EQ (fallback.getPixelAt (65, 65).getAlpha(), 255);
    for (const auto* bad : { &broken, &wrongSize })
        EXPECT_TRUE (samePixels (drawAtTwo (bad), fallback));
}
