#include "Editor.h"

#include "EditorImages.h"
#include "PictureDrawing.h"
#include "processor/FloatParameter.h"
#include "processor/Processor.h"

namespace
{
bool isSwitchedOn (float normalised)
{
    return (int) (normalised + 0.5f) != 0;
}

// The ends of the range, which hosts record and show as they are; both land on the same
// switch position as any value on their side of the middle.
float switchValue (const juce::Button& button)
{
    return button.getToggleState() ? 1.0f : 0.0f;
}

void showParameter (juce::Slider& slider, const FloatParameter& parameter)
{
    const double lo = slider.getMinimum(), hi = slider.getMaximum();
    slider.setValue ((double) parameter.getValue() * (hi - lo) + lo, juce::dontSendNotification);
}

template <class Button>
std::unique_ptr<Button> makeButton (juce::Component& parent, const juce::String& name)
{
    auto button = std::make_unique<Button> (name);
    parent.addAndMakeVisible (*button);
    button->setButtonText (juce::String());
    return button;
}
}

Editor::Editor (Processor& p)
    : juce::AudioProcessorEditor (p),
      processorRef (p)
{
    // The background picture covers every pixel. Declared, so that where the editor is a window
    // of its own inside a host's window (the AAX module) it is a plain child window on Windows,
    // not a layered one, which Wine does not show.
    setOpaque (true);
    driveKnob = std::make_unique<KnobTSDrive>();
    toneKnob = std::make_unique<KnobTSTone>();
    levelKnob = std::make_unique<KnobTSLevel>();
    for (juce::Slider* knob : { (juce::Slider*) driveKnob.get(), (juce::Slider*) toneKnob.get(), (juce::Slider*) levelKnob.get() })
    {
        addAndMakeVisible (*knob);
        knob->setRange (0.0, 127.0, 1.0);
        knob->setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
        knob->setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        knob->addListener (this);
    }

    ledToggle = makeButton<juce::ToggleButton> (*this, "led_toggle");

    qualitySwitch = std::make_unique<juce::Slider> ("quality_sw");
    addAndMakeVisible (*qualitySwitch);
    qualitySwitch->setRange (0.0, 1.0, 1.0);
    qualitySwitch->setSliderStyle (juce::Slider::LinearHorizontal);
    qualitySwitch->setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    qualitySwitch->addListener (this);

    stereoToggle = makeButton<juce::ToggleButton> (*this, "stereo_toggle");
    stereoToggle->addListener (this);

    inputGain = std::make_unique<juce::Slider> ("input_gain");
    addAndMakeVisible (*inputGain);
    inputGain->setRange (0.0, 10.0, 0.1);
    inputGain->setSliderStyle (juce::Slider::LinearBar);
    inputGain->setTextBoxStyle (juce::Slider::TextBoxRight, false, 30, 20);
    inputGain->setColour (juce::Slider::backgroundColourId, juce::Colour (0x00000000));
    inputGain->setColour (juce::Slider::thumbColourId, juce::Colour (0xff515054));
    inputGain->setColour (juce::Slider::textBoxTextColourId, juce::Colour (0xff8c8b94));
    inputGain->setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0xff444246));
    inputGain->addListener (this);

    footSwitch = makeButton<KnobTSOnoff> (*this, "knob_toggle");
    footSwitch->addListener (this);

    modSwitch = makeButton<juce::ToggleButton> (*this, "mod_sw");
    modSwitch->addListener (this);

    modBackground = makeButton<juce::ToggleButton> (*this, "mod_bg");

    setSize (width, height);

    background = EditorImages::background();
    doubledBackground = EditorImages::background (EditorImages::Resolution::doubled);

    driveKnob->setDoubleClickReturnValue (true, 64.0);
    toneKnob->setDoubleClickReturnValue (true, 64.0);
    levelKnob->setDoubleClickReturnValue (true, 64.0);
    inputGain->setDoubleClickReturnValue (true, 5.0);

    ledLook = std::make_unique<ToggleLF_led>();
    ledToggle->setLookAndFeel (ledLook.get());
    stereoLook = std::make_unique<ToggleLF_stereo>();
    stereoToggle->setLookAndFeel (stereoLook.get());
    qualityLook = std::make_unique<KnobLF_quality_sw>();
    qualitySwitch->setLookAndFeel (qualityLook.get());
    inputGainLook = std::make_unique<SliderLF>();
    inputGain->setLookAndFeel (inputGainLook.get());
    modLook = std::make_unique<ToggleLF_mod>();
    modSwitch->setLookAndFeel (modLook.get());
    modBackgroundLook = std::make_unique<ToggleLF_mod_bg>();
    modBackground->setLookAndFeel (modBackgroundLook.get());

    ledToggle->setEnabled (false);
    modBackground->setEnabled (false);

    timerCallback();
    startTimer (pollIntervalMs);
}

Editor::~Editor()
{
    // The controls go first, in the order they were declared, so that no control outlives the
    // look it is drawn with; then the looks, then the picture.
    driveKnob.reset();
    toneKnob.reset();
    levelKnob.reset();
    ledToggle.reset();
    qualitySwitch.reset();
    stereoToggle.reset();
    inputGain.reset();
    footSwitch.reset();
    modSwitch.reset();
    modBackground.reset();

    qualityLook.reset();
    stereoLook.reset();
    ledLook.reset();
    inputGainLook.reset();
    modLook.reset();
    modBackgroundLook.reset();

    background = {};
    doubledBackground = {};
}

void Editor::paint (juce::Graphics& g)
{
    drawPictureArea (g, background, &doubledBackground, background.getBounds(), { 0, 0, width, height });
}

void Editor::resized()
{
    driveKnob->setBounds (EditorLayout::drive());
    toneKnob->setBounds (EditorLayout::tone());
    levelKnob->setBounds (EditorLayout::level());
    ledToggle->setBounds (EditorLayout::led());
    qualitySwitch->setBounds (EditorLayout::quality());
    stereoToggle->setBounds (EditorLayout::stereo());
    inputGain->setBounds (EditorLayout::inputGain());
    footSwitch->setBounds (EditorLayout::footSwitch());
    modSwitch->setBounds (EditorLayout::modSwitch());
    modBackground->setBounds (EditorLayout::modBackground());
}

int Editor::parameterOf (const juce::Slider* slider) const
{
    if (slider == driveKnob.get())     return FloatParameter::drive;
    if (slider == toneKnob.get())      return FloatParameter::tone;
    if (slider == levelKnob.get())     return FloatParameter::level;
    if (slider == qualitySwitch.get()) return FloatParameter::quality;
    if (slider == inputGain.get())     return FloatParameter::inputGain;
    return -1;
}

void Editor::sliderValueChanged (juce::Slider* slider)
{
    const int index = parameterOf (slider);
    if (index < 0)
        return;
    const double normalised = slider->getValue() / slider->getMaximum();
    processorRef.parameters[(size_t) index]->setValueNotifyingHost ((float) normalised);
}

void Editor::sliderDragStarted (juce::Slider* slider)
{
    const int index = parameterOf (slider);
    if (index >= 0)
        processorRef.parameters[(size_t) index]->beginChangeGesture();
}

void Editor::sliderDragEnded (juce::Slider* slider)
{
    const int index = parameterOf (slider);
    if (index >= 0)
        processorRef.parameters[(size_t) index]->endChangeGesture();
}

void Editor::buttonClicked (juce::Button* button)
{
    auto& parameters = processorRef.parameters;
    if (button == stereoToggle.get())
    {
        parameters[FloatParameter::processing]->setValueNotifyingHost (switchValue (*stereoToggle));
    }
    else if (button == footSwitch.get())
    {
        ledToggle->setToggleState (footSwitch->getToggleState(), juce::dontSendNotification);
        parameters[FloatParameter::onOff]->setValueNotifyingHost (switchValue (*footSwitch));
    }
    else if (button == modSwitch.get())
    {
        modBackground->setToggleState (modSwitch->getToggleState(), juce::dontSendNotification);
        parameters[FloatParameter::model]->setValueNotifyingHost (switchValue (*modSwitch));
    }
}

void Editor::timerCallback()
{
    const auto& parameters = processorRef.parameters;
    showParameter (*driveKnob, *parameters[FloatParameter::drive]);
    showParameter (*toneKnob, *parameters[FloatParameter::tone]);
    showParameter (*levelKnob, *parameters[FloatParameter::level]);
    showParameter (*qualitySwitch, *parameters[FloatParameter::quality]);
    showParameter (*inputGain, *parameters[FloatParameter::inputGain]);

    const bool on = isSwitchedOn (parameters[FloatParameter::onOff]->getValue());
    ledToggle->setToggleState (on, juce::dontSendNotification);
    footSwitch->setToggleState (on, juce::dontSendNotification);
    stereoToggle->setToggleState (isSwitchedOn (parameters[FloatParameter::processing]->getValue()), juce::dontSendNotification);
    const bool modded = isSwitchedOn (parameters[FloatParameter::model]->getValue());
    modSwitch->setToggleState (modded, juce::dontSendNotification);
    modBackground->setToggleState (modded, juce::dontSendNotification);
}
