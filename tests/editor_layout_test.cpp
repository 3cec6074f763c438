// How the editor is put together: its ten controls, their names, places, ranges, looks and
// colours, and what is enabled.
#include "support/EditorHarness.h"

using namespace EditorHarness;

namespace
{
struct EditorLayout : ::testing::Test
{
    void SetUp() override
    {
        open = std::make_unique<OpenEditor> (p);
        ASSERT_NE (open->editor, nullptr);
        c = open->controls;
        for (auto* control : c.all())
            ASSERT_NE (control, nullptr);
    }

    Processor p;
    std::unique_ptr<OpenEditor> open;
    Controls c;
};
}

TEST_F (EditorLayout, ProcessorCreatesThePedalEditor)
{
    EXPECT_TRUE (p.hasEditor());
    EXPECT_EQ (open->editor->getWidth(), 370);
    EXPECT_EQ (open->editor->getHeight(), 476);
    EXPECT_EQ (&open->editor->processor, &p);
}

TEST_F (EditorLayout, TenControlsInOrderWithNamesAndBounds)
{
    struct Row { juce::Component* control; const char* name; juce::Rectangle<int> bounds; };
    const Row rows[] = {
        { c.drive, "", { 87, 61, 65, 65 } },
        { c.tone, "", { 152, 114, 65, 65 } },
        { c.level, "", { 217, 61, 65, 65 } },
        { c.led, "led_toggle", { 152, 35, 65, 65 } },
        { c.quality, "quality_sw", { 270, 19, 48, 17 } },
        { c.stereo, "stereo_toggle", { 61, 18, 30, 21 } },
        { c.inputGain, "input_gain", { 107, 22, 150, 14 } },
        { c.foot, "knob_toggle", { 138, 340, 105, 80 } },
        { c.mod, "mod_sw", { 92, 143, 59, 40 } },
        { c.modBackground, "mod_bg", { 92, 192, 59, 26 } },
    };
    ASSERT_EQ (open->editor->getNumChildComponents(), 10);
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_EQ (open->editor->getChildComponent (i), rows[i].control) << "z-order " << i;
        EXPECT_EQ (rows[i].control->getName(), rows[i].name);
        EXPECT_EQ (rows[i].control->getBounds(), rows[i].bounds) << rows[i].name;
        EXPECT_TRUE (rows[i].control->isVisible());
    }
    for (auto* button : { (juce::Button*) c.led, (juce::Button*) c.stereo, (juce::Button*) c.foot,
                          (juce::Button*) c.mod, (juce::Button*) c.modBackground })
        EXPECT_EQ (button->getButtonText(), "") << button->getName();
}

TEST_F (EditorLayout, SliderRangesStylesAndValueBoxes)
{
    for (juce::Slider* knob : { (juce::Slider*) c.drive, (juce::Slider*) c.tone, (juce::Slider*) c.level })
    {
        EXPECT_EQ (knob->getMinimum(), 0.0);
        EXPECT_EQ (knob->getMaximum(), 127.0);
        EXPECT_EQ (knob->getInterval(), 1.0);
        EXPECT_EQ (knob->getSliderStyle(), juce::Slider::RotaryHorizontalVerticalDrag);
        EXPECT_EQ (knob->getTextBoxPosition(), juce::Slider::NoTextBox);
        EXPECT_TRUE (knob->isDoubleClickReturnEnabled());
        EXPECT_EQ (knob->getDoubleClickReturnValue(), 64.0);
        EXPECT_FALSE (knob->getVelocityBasedMode());
        EXPECT_EQ (knob->getMouseDragSensitivity(), 250);
        EXPECT_TRUE (knob->isScrollWheelEnabled());
    }

    EXPECT_EQ (c.quality->getMinimum(), 0.0);
    EXPECT_EQ (c.quality->getMaximum(), 1.0);
    EXPECT_EQ (c.quality->getInterval(), 1.0);
    EXPECT_EQ (c.quality->getSliderStyle(), juce::Slider::LinearHorizontal);
    EXPECT_EQ (c.quality->getTextBoxPosition(), juce::Slider::NoTextBox);
    EXPECT_FALSE (c.quality->isDoubleClickReturnEnabled());

    EXPECT_EQ (c.inputGain->getMinimum(), 0.0);
    EXPECT_EQ (c.inputGain->getMaximum(), 10.0);
    EXPECT_EQ (c.inputGain->getInterval(), 0.1);
    EXPECT_EQ (c.inputGain->getSliderStyle(), juce::Slider::LinearBar);
    EXPECT_EQ (c.inputGain->getTextBoxPosition(), juce::Slider::TextBoxRight);
    EXPECT_TRUE (c.inputGain->isTextBoxEditable());
    EXPECT_EQ (c.inputGain->getTextBoxWidth(), 30);
    EXPECT_EQ (c.inputGain->getTextBoxHeight(), 20);
    EXPECT_TRUE (c.inputGain->isDoubleClickReturnEnabled());
    EXPECT_EQ (c.inputGain->getDoubleClickReturnValue(), 5.0);
    EXPECT_EQ (c.inputGain->getNumDecimalPlacesToDisplay(), 1);
    EXPECT_EQ (c.inputGain->getTextFromValue (5.0), "5.0");
}

TEST_F (EditorLayout, InputGainColours)
{
    EXPECT_EQ (c.inputGain->findColour (juce::Slider::backgroundColourId), juce::Colour (0x00000000));
    EXPECT_EQ (c.inputGain->findColour (juce::Slider::thumbColourId), juce::Colour (0xff515054));
    EXPECT_EQ (c.inputGain->findColour (juce::Slider::textBoxTextColourId), juce::Colour (0xff8c8b94));
    EXPECT_EQ (c.inputGain->findColour (juce::Slider::textBoxOutlineColourId), juce::Colour (0xff444246));
}

TEST_F (EditorLayout, EachSwitchHasItsOwnLookAndTheKnobsPaintThemselves)
{
    EXPECT_NE (dynamic_cast<ToggleLF_led*> (&c.led->getLookAndFeel()), nullptr);
    EXPECT_NE (dynamic_cast<ToggleLF_stereo*> (&c.stereo->getLookAndFeel()), nullptr);
    EXPECT_NE (dynamic_cast<KnobLF_quality_sw*> (&c.quality->getLookAndFeel()), nullptr);
    EXPECT_NE (dynamic_cast<SliderLF*> (&c.inputGain->getLookAndFeel()), nullptr);
    EXPECT_NE (dynamic_cast<ToggleLF_mod*> (&c.mod->getLookAndFeel()), nullptr);
    EXPECT_NE (dynamic_cast<ToggleLF_mod_bg*> (&c.modBackground->getLookAndFeel()), nullptr);

    auto& fallback = juce::LookAndFeel::getDefaultLookAndFeel();
    for (auto* self : { (juce::Component*) c.drive, (juce::Component*) c.tone, (juce::Component*) c.level, (juce::Component*) c.foot })
        EXPECT_EQ (&self->getLookAndFeel(), &fallback);
    EXPECT_EQ (&open->editor->getLookAndFeel(), &fallback);
}

TEST_F (EditorLayout, OnlyTheLedAndTheModelStripAreDisabled)
{
    for (auto* control : c.all())
    {
        const bool displayOnly = control == c.led || control == c.modBackground;
        EXPECT_EQ (control->isEnabled(), ! displayOnly) << control->getName();
    }
}

TEST_F (EditorLayout, KnobFramesAreTheSizeOfTheControls)
{
    for (FilmStripKnob* knob : { (FilmStripKnob*) c.drive, (FilmStripKnob*) c.tone, (FilmStripKnob*) c.level })
    {
        EXPECT_EQ (knob->getFrameWidth(), 65);
        EXPECT_EQ (knob->getFrameHeight(), 65);
    }
    EXPECT_EQ (c.foot->getFrameWidth(), 105);
    EXPECT_EQ (c.foot->getFrameHeight(), 80);
}
