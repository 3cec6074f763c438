#pragma once

#include "EditorLayout.h"
#include "KnobLF_quality_sw.h"
#include "KnobTSOnoff.h"
#include "PedalKnobs.h"
#include "SliderLF.h"
#include "ToggleLooks.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

class Processor;

// The pedal window: a fixed 370 x 476 picture with ten controls on it. User actions on the
// controls are sent to the processor's parameters; every 150 ms the controls are moved to the
// parameters' values, so host automation, program changes and restored states show up.
class Editor final : public juce::AudioProcessorEditor,
                     public juce::ChangeListener,
                     public juce::TextEditor::Listener,
                     public juce::Timer,
                     public juce::Slider::Listener,
                     public juce::Button::Listener
{
public:
    static constexpr int width = EditorLayout::width;
    static constexpr int height = EditorLayout::height;
    static constexpr int pollIntervalMs = 150;

    explicit Editor (Processor& p);
    ~Editor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    void timerCallback() override;

    void sliderValueChanged (juce::Slider* slider) override;
    void sliderDragStarted (juce::Slider* slider) override;
    void sliderDragEnded (juce::Slider* slider) override;

    void buttonClicked (juce::Button* button) override;
    void buttonStateChanged (juce::Button*) override {}

    void changeListenerCallback (juce::ChangeBroadcaster*) override {}
    void textEditorTextChanged (juce::TextEditor&) override {}
    void textEditorReturnKeyPressed (juce::TextEditor&) override {}
    void textEditorEscapeKeyPressed (juce::TextEditor&) override {}
    void textEditorFocusLost (juce::TextEditor&) override {}

private:
    // The parameter index a slider writes, or -1 for a component that writes none.
    int parameterOf (const juce::Slider* slider) const;

    Processor& processorRef;

    std::unique_ptr<ToggleLF_led> ledLook;
    std::unique_ptr<ToggleLF_stereo> stereoLook;
    std::unique_ptr<KnobLF_quality_sw> qualityLook;
    std::unique_ptr<SliderLF> inputGainLook;
    std::unique_ptr<ToggleLF_mod> modLook;
    std::unique_ptr<ToggleLF_mod_bg> modBackgroundLook;

    juce::Image background;
    juce::Image doubledBackground;   // the same picture at twice the resolution, for scaled displays

    std::unique_ptr<KnobTSDrive> driveKnob;
    std::unique_ptr<KnobTSTone> toneKnob;
    std::unique_ptr<KnobTSLevel> levelKnob;
    std::unique_ptr<juce::ToggleButton> ledToggle;
    std::unique_ptr<juce::Slider> qualitySwitch;
    std::unique_ptr<juce::ToggleButton> stereoToggle;
    std::unique_ptr<juce::Slider> inputGain;
    std::unique_ptr<KnobTSOnoff> footSwitch;
    std::unique_ptr<juce::ToggleButton> modSwitch;
    std::unique_ptr<juce::ToggleButton> modBackground;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Editor)
};
