// The embedded pictures and the film-strip drawing of the knobs and the foot switch.
#include "support/EditorHarness.h"

using namespace EditorHarness;

namespace
{
// An image of `frames` stacked (or side-by-side) frames, each filled with its own colour.
juce::Image numberedStrip (int frameW, int frameH, int frames, bool horizontal)
{
    juce::Image strip (juce::Image::ARGB, horizontal ? frameW * frames : frameW,
                       horizontal ? frameH : frameH * frames, true);
    juce::Graphics g (strip);
    for (int k = 0; k < frames; ++k)
    {
        g.setColour (juce::Colour ((juce::uint8) (40 * k + 20), (juce::uint8) (200 - 30 * k), 90));
        g.fillRect (FilmStrip::frameBoundsOf (k, frameW, frameH, horizontal));
    }
    return strip;
}

juce::Image drawn (int w, int h, const std::function<void (juce::Graphics&)>& paint)
{
    juce::Image out (juce::Image::ARGB, w, h, true);
    juce::Graphics g (out);
    paint (g);
    return out;
}

bool allTransparent (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;
    return true;
}

struct Picture
{
    const char* name;
    juce::Image image;
    int width, height, frames;
};

std::vector<Picture> pictures()
{
    return {
        { "background", EditorImages::background(), 370, 476, 1 },
        { "drive", EditorImages::driveStrip(), 65, 4225, 65 },
        { "tone", EditorImages::toneStrip(), 65, 4225, 65 },
        { "level", EditorImages::levelStrip(), 65, 4225, 65 },
        { "foot switch", EditorImages::footSwitchStrip(), 105, 160, 2 },
        { "led", EditorImages::ledStrip(), 65, 130, 2 },
        { "stereo", EditorImages::stereoStrip(), 30, 42, 2 },
        { "model switch", EditorImages::modSwitchStrip(), 59, 80, 2 },
        { "model strip", EditorImages::modBackgroundStrip(), 59, 52, 2 },
        { "quality", EditorImages::qualityStrip(), 48, 34, 2 },
    };
}
}

TEST (EditorImages, TenPicturesWithTheTableSizes)
{
    for (const auto& pic : pictures())
    {
        ASSERT_TRUE (pic.image.isValid()) << pic.name;
        EXPECT_EQ (pic.image.getWidth(), pic.width) << pic.name;
        EXPECT_EQ (pic.image.getHeight(), pic.height) << pic.name;
        EXPECT_EQ (pic.image.getHeight() % pic.frames, 0) << pic.name;
    }
}

TEST (EditorImages, TheCacheDecodesEachPictureOnce)
{
    const auto a = EditorImages::driveStrip();
    const auto b = EditorImages::driveStrip();
    EXPECT_EQ (a.getPixelData(), b.getPixelData());
    EXPECT_NE (EditorImages::driveStrip().getPixelData(), EditorImages::toneStrip().getPixelData());
}

TEST (EditorImages, FramesAreOpaqueAndTheirEdgesJoinTheBackground)
{
    // Every frame is drawn over the pedal 1:1, so its edge rows and columns must match the
    // background picture at the control's place in every frame: a frame that reaches its edge
    // (or a stray pixel there) would show a seam when the frame changes.
    const auto background = EditorImages::background();
    struct Placed { juce::Image strip; int frames; juce::Rectangle<int> at; };
    const Placed placed[] = {
        { EditorImages::driveStrip(), 65, { 87, 61, 65, 65 } },
        { EditorImages::toneStrip(), 65, { 152, 114, 65, 65 } },
        { EditorImages::levelStrip(), 65, { 217, 61, 65, 65 } },
        { EditorImages::footSwitchStrip(), 2, { 138, 340, 105, 80 } },
        { EditorImages::ledStrip(), 2, { 152, 35, 65, 65 } },
        { EditorImages::stereoStrip(), 2, { 61, 18, 30, 21 } },
        { EditorImages::modSwitchStrip(), 2, { 92, 143, 59, 40 } },
        { EditorImages::modBackgroundStrip(), 2, { 92, 192, 59, 26 } },
        { EditorImages::qualityStrip(), 2, { 270, 19, 48, 17 } },
    };
    for (const auto& p : placed)
    {
        for (int k = 0; k < p.frames; ++k)
        {
            const auto frame = frameOf (p.strip, p.frames, k);
            const auto interior = [&] (juce::Point<int> q)
            {
                const int x = q.x - frame.getX(), y = q.y - frame.getY();
                return x > 0 && y > 0 && x < frame.getWidth() - 1 && y < frame.getHeight() - 1;
            };
            EXPECT_EQ (differences (p.strip, frame, background, p.at, interior), "")
                << "edge of frame " << k << " of the strip at " << p.at.toString();
            for (int y = frame.getY(); y < frame.getBottom(); ++y)
                for (int x = 0; x < frame.getWidth(); ++x)
                    ASSERT_EQ (p.strip.getPixelAt (x, y).getAlpha(), 255);
        }
    }
}

TEST (EditorImages, KnobFramesDifferFromFrameToFrame)
{
    const auto strip = EditorImages::driveStrip();
    for (int k = 1; k < 65; ++k)
        EXPECT_NE (differences (strip, frameOf (strip, 65, k), strip, frameOf (strip, 65, k - 1)), "") << k;
}

TEST (FilmStrip, StackedFramesOfAThirtyByFortyTwoImage)
{
    auto image = numberedStrip (30, 21, 2, false);
    ASSERT_EQ (image.getHeight(), 42);
    FilmStrip strip (&image, 2, false);
    EXPECT_EQ (strip.getFrameWidth(), 30);
    EXPECT_EQ (strip.getFrameHeight(), 21);
    EXPECT_EQ (strip.frameBounds (1), juce::Rectangle<int> (0, 21, 30, 21));

    const auto out = drawn (40, 30, [&] (juce::Graphics& g) { strip.drawFrame (g, 1); });
    EXPECT_EQ (differences (out, { 0, 0, 30, 21 }, image, { 0, 21, 30, 21 }), "");
    EXPECT_EQ (out.getPixelAt (30, 5).getAlpha(), 0) << "drawn at its natural size only";
    EXPECT_EQ (out.getPixelAt (5, 21).getAlpha(), 0);
}

TEST (FilmStrip, SideBySideFramesAndTruncatingDivision)
{
    auto image = numberedStrip (20, 9, 3, true);
    FilmStrip strip (&image, 3, true);
    EXPECT_EQ (strip.getFrameWidth(), 20);
    EXPECT_EQ (strip.getFrameHeight(), 9);
    EXPECT_EQ (strip.frameBounds (2), juce::Rectangle<int> (40, 0, 20, 9));
    const auto out = drawn (20, 9, [&] (juce::Graphics& g) { strip.drawFrame (g, 2); });
    EXPECT_EQ (differences (out, { 0, 0, 20, 9 }, image, { 40, 0, 20, 9 }), "");

    juce::Image odd (juce::Image::ARGB, 7, 11, true);
    FilmStrip oddStrip (&odd, 2, false);
    EXPECT_EQ (oddStrip.getFrameHeight(), 5);
}

TEST (FilmStrip, NullOrEmptyImageDrawsNothing)
{
    FilmStrip none (nullptr, 2, false);
    EXPECT_TRUE (allTransparent (drawn (30, 30, [&] (juce::Graphics& g) { none.drawFrame (g, 0); })));

    juce::Image failed;   // what a PNG that does not decode gives
    FilmStrip empty (&failed, 2, false);
    EXPECT_EQ (empty.getFrameWidth(), 0);
    EXPECT_EQ (empty.getFrameHeight(), 0);
    EXPECT_TRUE (allTransparent (drawn (30, 30, [&] (juce::Graphics& g) { empty.drawFrame (g, 1); })));
}

TEST (FilmStripKnob, WithoutAnImagePaintsNothing)
{
    FilmStripKnob bare;
    bare.setRange (0.0, 127.0, 1.0);
    bare.setSize (65, 65);
    bare.setValue (100.0);
    EXPECT_TRUE (allTransparent (snapshotOf (bare)));
    EXPECT_EQ (bare.getName(), "");

    bare.setImage (nullptr);
    EXPECT_TRUE (allTransparent (snapshotOf (bare)));
    EXPECT_EQ (bare.getFrameWidth(), 0);
}

TEST (FilmStripKnob, SetImageMakesSixtyFiveFramesAndRemovesTheValueBox)
{
    auto image = EditorImages::toneStrip();
    FilmStripKnob knob;
    knob.setTextBoxStyle (juce::Slider::TextBoxBelow, true, 50, 20);
    knob.setImage (&image);
    EXPECT_EQ (knob.getFrameWidth(), 65);
    EXPECT_EQ (knob.getFrameHeight(), 65);
    EXPECT_EQ (knob.getTextBoxPosition(), juce::Slider::NoTextBox);
    EXPECT_EQ (knob.getNumChildComponents(), 0);
}

TEST (FilmStripKnob, ValueSelectsTheFrameByTruncation)
{
    KnobTSLevel knob;
    knob.setRange (0.0, 127.0, 1.0);
    knob.setSize (65, 65);
    const auto strip = EditorImages::levelStrip();
    const std::pair<double, int> cases[] = { { 0, 0 }, { 1, 0 }, { 2, 1 }, { 63, 31 }, { 64, 32 }, { 126, 63 }, { 127, 64 } };
    for (auto [value, frame] : cases)
    {
        knob.setValue (value, juce::dontSendNotification);
        EXPECT_EQ (knob.currentFrame(), frame) << value;
        EXPECT_EQ (differences (snapshotOf (knob), { 0, 0, 65, 65 }, strip, frameOf (strip, 65, frame)), "") << value;
    }
}

TEST (FilmStripKnob, PaintScalesTheFrameToTheComponent)
{
    KnobTSDrive knob;
    knob.setRange (0.0, 127.0, 1.0);
    knob.setValue (127.0, juce::dontSendNotification);
    knob.setSize (130, 100);
    const auto shot = snapshotOf (knob);
    for (int y = 0; y < shot.getHeight(); ++y)
        for (int x = 0; x < shot.getWidth(); ++x)
            ASSERT_GT (shot.getPixelAt (x, y).getAlpha(), 0) << "the frame covers the whole knob: " << x << "," << y;
}

TEST (KnobTSOnoff, ShowsThePressedFrameOnlyWhileTheButtonIsHeld)
{
    KnobTSOnoff foot ("knob_toggle");
    EXPECT_EQ (foot.getName(), "knob_toggle");
    EXPECT_EQ (foot.getButtonText(), "knob_toggle");
    foot.setSize (105, 80);
    foot.setVisible (true);
    const auto strip = EditorImages::footSwitchStrip();
    const auto rest = frameOf (strip, 2, 0), pressed = frameOf (strip, 2, 1);

    for (bool startOn : { false, true })
    {
        foot.setToggleState (startOn, juce::dontSendNotification);
        EXPECT_EQ (differences (snapshotOf (foot), rest.withPosition (0, 0), strip, rest), "");
        Mouse mouse (foot);
        mouse.down ({ 50.0f, 40.0f });
        EXPECT_EQ (differences (snapshotOf (foot), rest.withPosition (0, 0), strip, pressed), "") << "pressed, starting " << startOn;
        mouse.up ({ 50.0f, 40.0f });
        EXPECT_EQ (foot.getToggleState(), ! startOn);
        EXPECT_EQ (differences (snapshotOf (foot), rest.withPosition (0, 0), strip, rest), "") << "released";
    }
}
