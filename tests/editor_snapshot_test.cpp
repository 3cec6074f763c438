// What the editor window shows: every control's frame at the four factory programs and after
// host changes, compared pixel by pixel with the frames of the embedded strips, and the
// background everywhere else. Also saves a screenshot of the pedal on "4 Fat".
#include "support/EditorHarness.h"

#include <iostream>

using namespace EditorHarness;

namespace
{
// What the factory programs show on the three knobs and the input-gain bar.
struct ProgramView
{
    int program;
    double drive, tone, level, inputGain;
    bool modded;
};

const ProgramView programViews[] = {
    { 0, 0.0, 64.0, 127.0, 3.3, false },   // "1 Default"
    { 1, 0.0, 64.0, 88.0, 3.2, false },    // "2 TS9 Drive@Min": 0.5 x 127 = 63.5 -> 64, 0.69 x 127 -> 88
    { 2, 0.0, 64.0, 127.0, 5.0, true },    // "3 Clean"
    { 3, 127.0, 64.0, 64.0, 5.0, false },  // "4 Fat"
};

int knobFrame (double value) { return (int) (value * 64.0 / 127.0); }

EditorImages::Resolution resolutionOf (int scale)
{
    return scale == 1 ? EditorImages::Resolution::normal : EditorImages::Resolution::doubled;
}

// Pixels of control `c` hidden by a control above it (added later to the editor); points in
// pixels of a snapshot `scale` times the editor's size.
std::function<bool (juce::Point<int>)> hiddenBySiblingsAbove (const Controls& controls, juce::Component* c, int scale)
{
    std::vector<juce::Rectangle<int>> above;
    bool seen = false;
    for (auto* other : controls.all())
    {
        if (seen)
            above.push_back (other->getBounds());
        seen = seen || other == c;
    }
    return [above, scale] (juce::Point<int> p)
    {
        for (const auto& r : above)
            if ((r * scale).contains (p))
                return true;
        return false;
    };
}

struct Expected
{
    juce::Component* control;
    juce::Image strip;
    int frames;
    int frame;
};

// At scale 1 the window shows the normal pictures 1:1; at scale 2 (a display at 200 %) it is
// twice the size in pixels and shows the doubled pictures 1:1.
void expectShows (Editor& editor, const std::vector<Expected>& expected, const char* when, int scale = 1)
{
    const auto controls = controlsOf (editor);
    const auto shot = snapshotOf (editor, (float) scale);
    ASSERT_EQ (shot.getWidth(), 370 * scale);
    ASSERT_EQ (shot.getHeight(), 476 * scale);

    for (const auto& e : expected)
    {
        ASSERT_TRUE (e.strip.isValid());
        const auto bounds = e.control->getBounds() * scale;
        const auto source = frameOf (e.strip, e.frames, e.frame);
        ASSERT_EQ (bounds.getWidth(), source.getWidth());
        ASSERT_EQ (bounds.getHeight(), source.getHeight());
        EXPECT_EQ (differences (shot, bounds, e.strip, source, hiddenBySiblingsAbove (controls, e.control, scale)), "")
            << when << ": " << e.control->getName() << " should show frame " << e.frame
            << " of its strip (control at " << bounds.toString() << ")";
    }

    // Everywhere no control covers, the window shows the background picture 1:1.
    const auto background = EditorImages::background (resolutionOf (scale));
    const auto outsideControls = [&controls, scale] (juce::Point<int> p)
    {
        for (auto* c : controls.all())
            if ((c->getBounds() * scale).contains (p))
                return true;
        return false;
    };
    EXPECT_EQ (differences (shot, shot.getBounds(), background, background.getBounds(), outsideControls), "") << when;
}

std::vector<Expected> expectedFor (const Controls& c, double drive, double tone, double level,
                                   bool on, bool stereo, bool high, bool modded, int scale = 1)
{
    const auto r = resolutionOf (scale);
    return {
        { c.drive, EditorImages::driveStrip (r), 65, knobFrame (drive) },
        { c.tone, EditorImages::toneStrip (r), 65, knobFrame (tone) },
        { c.level, EditorImages::levelStrip (r), 65, knobFrame (level) },
        { c.led, EditorImages::ledStrip (r), 2, on ? 1 : 0 },
        { c.quality, EditorImages::qualityStrip (r), 2, high ? 1 : 0 },
        { c.stereo, EditorImages::stereoStrip (r), 2, stereo ? 1 : 0 },
        { c.foot, EditorImages::footSwitchStrip (r), 2, 0 },
        { c.mod, EditorImages::modSwitchStrip (r), 2, modded ? 1 : 0 },
        { c.modBackground, EditorImages::modBackgroundStrip (r), 2, modded ? 1 : 0 },
    };
}
}

TEST (EditorSnapshot, EachFactoryProgramShowsItsFrames)
{
    for (const auto& view : programViews)
    {
        Processor p;
        p.setCurrentProgram (view.program);
        OpenEditor open (p);
        ASSERT_NE (open.editor, nullptr);
        const auto& c = open.controls;

        EXPECT_EQ (c.drive->getValue(), view.drive);
        EXPECT_EQ (c.tone->getValue(), view.tone);
        EXPECT_EQ (c.level->getValue(), view.level);
        EXPECT_NEAR (c.inputGain->getValue(), view.inputGain, 1e-9);
        EXPECT_EQ (c.quality->getValue(), 1.0);
        EXPECT_TRUE (c.led->getToggleState());
        EXPECT_TRUE (c.foot->getToggleState());
        EXPECT_FALSE (c.stereo->getToggleState());
        EXPECT_EQ (c.mod->getToggleState(), view.modded);
        EXPECT_EQ (c.modBackground->getToggleState(), view.modded);

        for (const int scale : { 1, 2 })
            expectShows (*open.editor, expectedFor (c, view.drive, view.tone, view.level, true, false, true, view.modded, scale),
                         p.getProgramName (view.program).toRawUTF8(), scale);
    }
}

TEST (EditorSnapshot, SwitchFramesFollowTheParametersAfterAPoll)
{
    Processor p;
    p.setCurrentProgram (1);
    OpenEditor open (p);
    ASSERT_NE (open.editor, nullptr);

    // The host turns the pedal off, selects stereo, Low quality and the modded circuit, and
    // moves the knobs to the edges of two frames.
    p.parameters[0]->setValue (0.0f);
    p.parameters[5]->setValue (1.0f);
    p.parameters[6]->setValue (0.0f);
    p.parameters[7]->setValue (1.0f);
    p.parameters[1]->setValue (126.0f / 127.0f);
    p.parameters[2]->setValue (1.0f / 127.0f);
    p.parameters[3]->setValue (63.0f / 127.0f);
    open.editor->timerCallback();

    for (const int scale : { 1, 2 })
        expectShows (*open.editor, expectedFor (open.controls, 126.0, 1.0, 63.0, false, true, false, true, scale),
                     "after host changes", scale);
    EXPECT_EQ (knobFrame (126.0), 63);
    EXPECT_EQ (knobFrame (63.0), 31);
}

TEST (EditorSnapshot, InputGainBarFillsUpToTheValueOverTheBackground)
{
    Processor p;
    p.setCurrentProgram (3);   // Input Gain 0.5: the bar shows 5.0
    OpenEditor open (p);
    ASSERT_NE (open.editor, nullptr);
    const auto shot = snapshotOf (*open.editor);
    const auto background = EditorImages::background();
    const auto bar = open.controls.inputGain->getBounds();

    // The value label's outline runs round the whole bar.
    const juce::Colour outline (0xff444246);
    for (int x = bar.getX(); x < bar.getRight(); ++x)
    {
        EXPECT_EQ (shot.getPixelAt (x, bar.getY()), outline) << x;
        EXPECT_EQ (shot.getPixelAt (x, bar.getBottom() - 1), outline) << x;
    }

    // Inside: black from the left edge towards the value (the bar spans 1..149, so 5.0 is at
    // 75), the picture behind the bar to the right; the text "5.0" sits in the middle.
    for (int y = bar.getY() + 1; y < bar.getBottom() - 1; ++y)
    {
        for (int x = bar.getX() + 1; x < bar.getX() + 55; ++x)
            ASSERT_EQ (shot.getPixelAt (x, y), juce::Colours::black) << x << "," << y;
        for (int x = bar.getX() + 100; x < bar.getRight() - 1; ++x)
            ASSERT_EQ (shot.getPixelAt (x, y), background.getPixelAt (x, y)) << x << "," << y;
    }
}

TEST (EditorSnapshot, ScreenshotOnFat)
{
    Processor p;
    p.setCurrentProgram (3);
    ASSERT_EQ (p.getProgramName (3), "4 Fat");
    OpenEditor open (p);
    ASSERT_NE (open.editor, nullptr);

    for (const int scale : { 1, 2 })
    {
        const auto shot = snapshotOf (*open.editor, (float) scale);
        const auto file = juce::File::getSpecialLocation (juce::File::currentExecutableFile)
                              .getParentDirectory().getChildFile (scale == 1 ? "editor_4_fat.png" : "editor_4_fat_2x.png");
        file.deleteFile();
        {
            juce::FileOutputStream out (file);
            ASSERT_TRUE (out.openedOk());
            juce::PNGImageFormat png;
            ASSERT_TRUE (png.writeImageToStream (shot, out));
        }
        std::cout << "editor screenshot at scale " << scale << ": " << file.getFullPathName() << std::endl;

        const auto reread = juce::ImageFileFormat::loadFrom (file);
        ASSERT_TRUE (reread.isValid());
        EXPECT_EQ (reread.getWidth(), 370 * scale);
        EXPECT_EQ (reread.getHeight(), 476 * scale);
    }
}
