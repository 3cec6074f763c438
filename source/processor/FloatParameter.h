#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

class Processor;

// One of the eight parameters. It keeps one value per program slot, stored as a step value
// (pots × 32, Input Gain × 49, switches rounded to 0 or 1), and drives the engine when a change
// arrives through setValue. Its identifier is the state's attribute name, "p" and the kind: the
// LV2 and VST3 layers name parameters by identifier, and without one they would fall back to the
// index, which LV2 cannot use as a name.
class FloatParameter final : public juce::AudioProcessorParameterWithID
{
public:
    enum Kind : unsigned
    {
        onOff = 0,
        drive = 1,
        tone = 2,
        level = 3,
        inputGain = 4,
        processing = 5,
        quality = 6,
        model = 7
    };

    static constexpr int numPrograms = 4;

    FloatParameter (Processor& owner, unsigned kind, const juce::String& name, float defaultValue);
    ~FloatParameter() override;

    float getValue() const override;
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    juce::String getName (int maximumStringLength) const override;
    juce::String getLabel() const override;
    float getValueForText (const juce::String& text) const override;

    // Stores x (normalised) as the step value of a slot; true when the stored value changed.
    // Performs no engine action.
    bool setValueForProgram (float x, int slot);

    // The normalised value of a slot, as getValue computes it for the current slot.
    float getValueForProgram (int slot) const;

    // The raw step value of the current slot.
    float getStep() const;

    void setProgramSlot (int slot);
    int getProgramSlot() const { return programSlot.load (std::memory_order_relaxed); }
    unsigned getKind() const { return kind; }

    // Step value to normalised value and back, by kind.
    static float toStep (unsigned kind, float normalised);
    static float fromStep (unsigned kind, float step);

private:
    Processor* owner;
    std::atomic<float> programValues[numPrograms];
    juce::String name;
    std::atomic<int> programSlot { 0 };
    float defaultValue;
    unsigned kind;
};
