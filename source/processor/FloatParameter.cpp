#include "FloatParameter.h"

#include "Processor.h"
#include "StateCodec.h"
#include "StepMath.h"
#include "models/PotGrid.h"

#include <cmath>

namespace
{
constexpr float potScale = (float) PotGrid::lastPosition;
constexpr float potToNormalised = PotGrid::travelPerPosition;
constexpr float gainToNormalised = 0.020408163f;   // 1/49 as a float

int clampSlot (int slot) { return slot < FloatParameter::numPrograms ? slot : FloatParameter::numPrograms - 1; }
}

FloatParameter::FloatParameter (Processor& ownerIn, unsigned kindIn, const juce::String& nameIn, float defaultIn)
    : juce::AudioProcessorParameterWithID (juce::ParameterID ("p" + juce::String (kindIn), 1), nameIn),
      owner (&ownerIn), name (nameIn), defaultValue (defaultIn), kind (kindIn)
{
    // Each slot starts at the default as written (the factory programs overwrite all four).
    for (auto& v : programValues)
        v.store (defaultIn, std::memory_order_relaxed);
}

FloatParameter::~FloatParameter() = default;

float FloatParameter::toStep (unsigned k, float x)
{
    switch (k)
    {
        case drive: case tone: case level: return x * potScale;
        case inputGain: return x * 49.0f;
        default: return (float) truncateStep (x + 0.5f);
    }
}

float FloatParameter::fromStep (unsigned k, float step)
{
    switch (k)
    {
        case drive: case tone: case level: return step * potToNormalised;
        case inputGain: return step * gainToNormalised;
        default: return step;
    }
}

float FloatParameter::getValue() const
{
    return getValueForProgram (getProgramSlot());
}

float FloatParameter::getValueForProgram (int slot) const
{
    if (slot < 0)
        slot = 0;
    return fromStep (kind, programValues[clampSlot (slot)].load (std::memory_order_relaxed));
}

float FloatParameter::getStep() const
{
    const int slot = getProgramSlot();
    return programValues[clampSlot (slot < 0 ? 0 : slot)].load (std::memory_order_relaxed);
}

void FloatParameter::setValue (float newValue)
{
    if (setValueForProgram (newValue, getProgramSlot()))
        owner->parameterChanged (kind, newValue);
}

bool FloatParameter::setValueForProgram (float x, int slot)
{
    // A value that is not a number cannot be a position of any control; keep the old one. Values
    // beyond the ends stop at the ends, so that every value a host reads back lies in 0..1.
    if (! std::isfinite (x) || slot < 0)
        return false;

    const float step = toStep (kind, juce::jlimit (0.0f, 1.0f, x));
    auto& stored = programValues[clampSlot (slot)];

    if (stored.load (std::memory_order_relaxed) == step)
        return false;

    stored.store (step, std::memory_order_relaxed);
    return true;
}

void FloatParameter::setProgramSlot (int slot)
{
    programSlot.store (clampSlot (slot), std::memory_order_relaxed);
}

float FloatParameter::getDefaultValue() const
{
    return defaultValue;
}

juce::String FloatParameter::getName (int) const
{
    return name;
}

juce::String FloatParameter::getLabel() const
{
    const float step = getStep();
    const bool on = truncateStep (step) != 0;

    switch (kind)
    {
        case onOff: return on ? "Enabled" : "Disabled";
        case processing: return on ? "Stereo" : "Mono";
        case quality: return on ? "High" : "Low";
        case model: return on ? "Modded" : "Original";
        case drive: case tone: case level: case inputGain:
            return " [" + juce::String (truncateStep (step)) + "]";
        default: return {};
    }
}

float FloatParameter::getValueForText (const juce::String& text) const
{
    // Typed text that reads beyond the ends stops at them, as a value set by a host does.
    const float x = (float) StateCodec::readNumber (text);
    return std::isnan (x) ? 0.0f : juce::jlimit (0.0f, 1.0f, x);
}
