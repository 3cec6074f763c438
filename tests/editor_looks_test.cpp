// The look-and-feel classes of the switches, the LED, the quality switch and the input-gain bar.
#include "support/EditorHarness.h"

using namespace EditorHarness;

namespace
{
juce::Image drawnToggle (juce::LookAndFeel& look, juce::ToggleButton& button, bool over, bool down, int w, int h)
{
    juce::Image out (juce::Image::ARGB, w, h, true);
    juce::Graphics g (out);
    look.drawToggleButton (g, button, over, down);
    return out;
}

// A bar like the editor's input gain, but without the value label on it.
struct BareBar
{
    BareBar()
    {
        bar.setRange (0.0, 10.0, 0.1);
        bar.setSliderStyle (juce::Slider::LinearBar);
        bar.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
        bar.setColour (juce::Slider::backgroundColourId, juce::Colour (0x00000000));
        bar.setColour (juce::Slider::thumbColourId, juce::Colour (0xff515054));
        bar.setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0x00000000));   // the frame of a bar without label
        bar.setLookAndFeel (&look);
        bar.setSize (150, 14);
    }
    ~BareBar() { bar.setLookAndFeel (nullptr); }

    // The bar painted over a white card.
    juce::Image paintedOnWhite()
    {
        juce::Image out (juce::Image::ARGB, 150, 14, true);
        juce::Graphics g (out);
        g.fillAll (juce::Colours::white);
        bar.paintEntireComponent (g, true);
        return out;
    }

    SliderLF look;
    juce::Slider bar;
};

void expectNear (juce::Colour got, juce::Colour want, const std::string& where)
{
    EXPECT_NEAR (got.getRed(), want.getRed(), 1) << where;
    EXPECT_NEAR (got.getGreen(), want.getGreen(), 1) << where;
    EXPECT_NEAR (got.getBlue(), want.getBlue(), 1) << where;
    EXPECT_EQ (got.getAlpha(), want.getAlpha()) << where;
}
}

TEST (ToggleLooks, OnDrawsFrameOneOffFrameZeroWhateverTheMouseAndEnabledState)
{
    struct Case { std::unique_ptr<juce::LookAndFeel> look; juce::Image strip; int w, h; };
    Case cases[4] = {
        { std::make_unique<ToggleLF_led>(), EditorImages::ledStrip(), 65, 65 },
        { std::make_unique<ToggleLF_stereo>(), EditorImages::stereoStrip(), 30, 21 },
        { std::make_unique<ToggleLF_mod>(), EditorImages::modSwitchStrip(), 59, 40 },
        { std::make_unique<ToggleLF_mod_bg>(), EditorImages::modBackgroundStrip(), 59, 26 },
    };
    for (auto& c : cases)
    {
        juce::ToggleButton button ("some text");
        button.setSize (c.w, c.h);
        for (bool enabled : { true, false })
            for (bool over : { false, true })
                for (bool down : { false, true })
                {
                    button.setEnabled (enabled);
                    for (bool on : { false, true })
                    {
                        button.setToggleState (on, juce::dontSendNotification);
                        const auto out = drawnToggle (*c.look, button, over, down, c.w, c.h);
                        EXPECT_EQ (differences (out, { 0, 0, c.w, c.h }, c.strip, frameOf (c.strip, 2, on ? 1 : 0)), "")
                            << c.w << "x" << c.h << " on " << on << " enabled " << enabled << " over " << over << " down " << down;
                    }
                }
    }
}

TEST (ToggleLooks, TheStripsHaveTheirFrameSizes)
{
    EXPECT_EQ (ToggleLF_led().getStrip().getFrameWidth(), 65);
    EXPECT_EQ (ToggleLF_led().getStrip().getFrameHeight(), 65);
    EXPECT_EQ (ToggleLF_stereo().getStrip().getFrameHeight(), 21);
    EXPECT_EQ (ToggleLF_stereo().getStrip().frameBounds (1), juce::Rectangle<int> (0, 21, 30, 21));
    EXPECT_EQ (ToggleLF_mod().getStrip().getFrameHeight(), 40);
    EXPECT_EQ (ToggleLF_mod_bg().getStrip().getFrameHeight(), 26);
}

TEST (QualityLook, DrawsTheFrameOfTheValueOverTheWholeSwitch)
{
    KnobLF_quality_sw look;
    EXPECT_EQ (look.getFrameWidth(), 48);
    EXPECT_EQ (look.getFrameHeight(), 17);

    juce::Slider quality;
    quality.setRange (0.0, 1.0, 1.0);
    quality.setSliderStyle (juce::Slider::LinearHorizontal);
    quality.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    quality.setLookAndFeel (&look);
    quality.setSize (48, 17);
    const auto strip = EditorImages::qualityStrip();

    quality.setValue (1.0);
    EXPECT_EQ (look.frameFor (quality), 1);
    EXPECT_EQ (differences (snapshotOf (quality), { 0, 0, 48, 17 }, strip, { 0, 17, 48, 17 }), "") << "Hi";
    quality.setValue (0.0);
    EXPECT_EQ (differences (snapshotOf (quality), { 0, 0, 48, 17 }, strip, { 0, 0, 48, 17 }), "") << "Lo";

    quality.setLookAndFeel (nullptr);
}

TEST (InputGainLook, BarFillsBlackToTheValueWithAMarkerThere)
{
    BareBar b;
    const auto marker = SliderLF::markerColour (b.bar);
    EXPECT_EQ (marker, juce::Colour (0xff515054).withMultipliedAlpha (0.8f).darker (0.2f));
    const auto onWhite = juce::Colours::white.overlaidWith (marker);

    // The bar spans x = 1..149 (the framework keeps a one-pixel border): 0 -> 1, 5 -> 75, 10 -> 149.
    const std::pair<double, int> cases[] = { { 0.0, 1 }, { 5.0, 75 }, { 10.0, 149 } };
    for (auto [value, markerX] : cases)
    {
        b.bar.setValue (value, juce::dontSendNotification);
        const auto out = b.paintedOnWhite();
        for (int y = 1; y < 13; ++y)
        {
            for (int x = 0; x < 150; ++x)
            {
                const auto where = "value " + std::to_string (value) + " at " + std::to_string (x) + "," + std::to_string (y);
                if (x >= 1 && x < markerX)
                    ASSERT_EQ (out.getPixelAt (x, y), juce::Colours::black) << where;
                else if (x == markerX)
                    expectNear (out.getPixelAt (x, y), onWhite, where);
                else
                    ASSERT_EQ (out.getPixelAt (x, y), juce::Colours::white) << where;
            }
        }
        for (int x = 0; x < 150; ++x)
        {
            EXPECT_EQ (out.getPixelAt (x, 0), juce::Colours::white) << "border row stays clear";
            EXPECT_EQ (out.getPixelAt (x, 13), juce::Colours::white);
        }
    }
}

TEST (InputGainLook, MarkerIsPalerWhenDisabled)
{
    BareBar b;
    b.bar.setEnabled (false);
    EXPECT_EQ (SliderLF::markerColour (b.bar), juce::Colour (0xff515054).withMultipliedSaturation (0.5f).withMultipliedAlpha (0.8f).darker (0.2f));
    EXPECT_NE (SliderLF::markerColour (b.bar), juce::Colour (0xff515054).withMultipliedAlpha (0.8f).darker (0.2f));
}

TEST (InputGainLook, OtherSliderStylesGetTheFrameworkThumbAndNoTrack)
{
    SliderLF look;
    juce::Slider plain;
    plain.setRange (0.0, 10.0, 0.1);
    plain.setSliderStyle (juce::Slider::LinearHorizontal);
    plain.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    plain.setLookAndFeel (&look);
    plain.setSize (150, 20);
    plain.setValue (5.0);

    juce::LookAndFeel_V3 reference;
    juce::Image expected (juce::Image::ARGB, 150, 20, true);
    {
        juce::Graphics g (expected);
        reference.drawLinearSliderThumb (g, 9, 0, 132, 20, 75.0f, 0.0f, 0.0f, juce::Slider::LinearHorizontal, plain);
    }
    EXPECT_EQ (differences (snapshotOf (plain), { 0, 0, 150, 20 }, expected, { 0, 0, 150, 20 }), "");
    plain.setLookAndFeel (nullptr);
}

TEST (InputGainLook, ValueLabelColoursAndItsTextEntry)
{
    SliderLF look;
    juce::Slider gain ("input_gain");
    gain.setRange (0.0, 10.0, 0.1);
    gain.setSliderStyle (juce::Slider::LinearBar);
    gain.setTextBoxStyle (juce::Slider::TextBoxRight, false, 30, 20);
    gain.setColour (juce::Slider::textBoxTextColourId, juce::Colour (0xff8c8b94));
    gain.setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0xff444246));
    gain.setLookAndFeel (&look);
    gain.setSize (150, 14);
    gain.setValue (5.0);

    auto* label = dynamic_cast<SliderLF::SliderLabelComp*> (gain.getChildComponent (0));
    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->getName(), "");
    EXPECT_EQ (label->getText(), "5.0");
    EXPECT_EQ (label->getBounds(), gain.getLocalBounds()) << "the label covers the whole bar";
    EXPECT_EQ (label->getJustificationType(), juce::Justification (juce::Justification::centred));
    EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colour (0xff8c8b94));
    EXPECT_EQ (label->findColour (juce::Label::backgroundColourId), juce::Colour (0x00000000));
    EXPECT_EQ (label->findColour (juce::Label::outlineColourId), juce::Colour (0xff444246));
    EXPECT_EQ (label->findColour (juce::TextEditor::textColourId), juce::Colour (0xff70ba72));
    EXPECT_EQ (label->findColour (juce::TextEditor::outlineColourId), juce::Colour (0xff444246));
    EXPECT_EQ (label->findColour (juce::TextEditor::highlightColourId), juce::Colour (0xff63a465));
    EXPECT_EQ (label->findColour (juce::CaretComponent::caretColourId), juce::Colour (0xff579159));
    EXPECT_EQ (label->findColour (juce::TextEditor::backgroundColourId), juce::Label().findColour (juce::TextEditor::backgroundColourId))
        << "the look leaves the text entry's background to the framework";

    label->showEditor();
    auto* entry = label->getCurrentTextEditor();
    ASSERT_NE (entry, nullptr);
    EXPECT_EQ (&entry->getLookAndFeel(), &look);
    EXPECT_EQ (entry->findColour (juce::TextEditor::textColourId), juce::Colour (0xff70ba72));
    EXPECT_EQ (entry->findColour (juce::CaretComponent::caretColourId), juce::Colour (0xff579159));
    EXPECT_EQ (entry->getKeyboardType(), juce::TextInputTarget::decimalKeyboard);
    EXPECT_TRUE (entry->isPopupMenuEnabled());

    // Painting the entry fills its background, draws no outline and switches its menu off.
    entry->setSize (150, 14);
    const auto shot = snapshotOf (*entry);
    const auto fill = entry->findColour (juce::TextEditor::backgroundColourId);
    EXPECT_EQ (shot.getPixelAt (0, 0), fill);
    EXPECT_EQ (shot.getPixelAt (149, 13), fill);
    EXPECT_EQ (shot.getPixelAt (149, 0), fill);
    EXPECT_FALSE (entry->isPopupMenuEnabled());

    label->hideEditor (true);
    gain.setLookAndFeel (nullptr);
}

TEST (InputGainLook, TheLabelSwallowsWheelEventsThatReachIt)
{
    juce::Slider parent;
    parent.setRange (0.0, 10.0, 0.1);
    parent.setValue (5.0);
    parent.setSize (150, 14);

    SliderLF::SliderLabelComp label;
    parent.addAndMakeVisible (label);
    label.setBounds (parent.getLocalBounds());
    Mouse (label).wheel ({ 10.0f, 5.0f }, 0.5f);
    EXPECT_EQ (parent.getValue(), 5.0);

    juce::Label ordinary;   // a plain label passes the wheel on to the slider under it
    parent.addAndMakeVisible (ordinary);
    ordinary.setBounds (parent.getLocalBounds());
    Mouse (ordinary).wheel ({ 10.0f, 5.0f }, 0.5f);
    EXPECT_NE (parent.getValue(), 5.0);
    parent.removeAllChildren();
}
