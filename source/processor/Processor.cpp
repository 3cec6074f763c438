#include "Processor.h"

#include "FactoryPrograms.h"
#include "HostAnnouncement.h"
#include "StateCodec.h"
#include "StepMath.h"

namespace
{
struct ParameterInfo
{
    const char* name;
    float defaultValue;
};

constexpr ParameterInfo parameterTable[8] = {
    { "Vesk", 1.0f },
    { "TS Drive", 0.0f },
    { "TS Tone", 0.5f },
    { "TS Level", 1.0f },
    { "Input Gain", 0.33f },
    { "Processing", 0.0f },
    { "Quality", 1.0f },
    { "TS Model", 0.0f },
};

constexpr double inputGainScale = 10.0;
constexpr double outputGainTarget = 0.35;
}

Processor::Processor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
{
    parameters.resize (8);
    for (unsigned k = 0; k < 8; ++k)
    {
        auto* p = new FloatParameter (*this, k, parameterTable[k].name, parameterTable[k].defaultValue);
        parameters[k] = p;
        addParameter (p);
    }

    setLatencySamples (latencySamples);

    // The factory programs take the same road as a saved state.
    if (auto xml = juce::parseXML (juce::String (factoryProgramText)))
    {
        juce::MemoryBlock block;
        StateCodec::writeBlock (*xml, block);
        setStateInformation (block.getData(), (int) block.getSize());
    }
}

Processor::~Processor() = default;

const juce::String Processor::getName() const { return "Vesk 1.1"; }

void Processor::prepareToPlay (double sampleRate, int)
{
    const int inputs = getTotalNumInputChannels();
    const int outputs = getTotalNumOutputChannels();

    if (inputs != seenInputChannels.load() || outputs != seenOutputChannels.load())
    {
        seenInputChannels.store (inputs);
        seenOutputChannels.store (outputs);
        engine.holder.hostInputChannels.store (inputs);
        reconfigureChannels();
    }

    engine.setSampleRate (sampleRate);
}

void Processor::releaseResources() {}

void Processor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;
    engine.holder.process (buffer);
}

void Processor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;
    engine.holder.processDry (buffer, getTotalNumInputChannels());
}

bool Processor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const int in = layouts.getMainInputChannels();
    const int out = layouts.getMainOutputChannels();
    return (in == 1 && out == 1) || (in == 1 && out == 2) || (in == 2 && out == 2);
}

const juce::String Processor::getInputChannelName (int index) const { return juce::String (index + 1); }
const juce::String Processor::getOutputChannelName (int index) const { return juce::String (index + 1); }
bool Processor::isInputChannelStereoPair (int) const { return true; }
bool Processor::isOutputChannelStereoPair (int) const { return true; }
bool Processor::silenceInProducesSilenceOut() const { return false; }
double Processor::getTailLengthSeconds() const { return 0.0; }
bool Processor::acceptsMidi() const { return false; }
bool Processor::producesMidi() const { return false; }
bool Processor::hasEditor() const { return true; }

int Processor::getNumPrograms() { return 4; }
int Processor::getCurrentProgram() { return currentProgram.load(); }

const juce::String Processor::getProgramName (int index)
{
    if (index < 0 || index >= 4)
        return {};
    const std::lock_guard<std::mutex> lock (programNamesLock);
    return programNames[(size_t) index];
}

void Processor::changeProgramName (int index, const juce::String& newName)
{
    if (index < 0 || index >= 4)
        return;
    const std::lock_guard<std::mutex> lock (programNamesLock);
    programNames[(size_t) index] = newName;
}

void Processor::setCurrentProgram (int index)
{
    if (index < 0 || index >= 4)
        return;

    suspendProcessing (true);

    for (auto* p : parameters)
        p->setProgramSlot (index);
    currentProgram.store (index);

    reconfigureChannels();
    applyModelAndPots();
    applyInputGain (parameters[FloatParameter::inputGain]->getValue());

    suspendProcessing (false);
    announceNewValues (*this);
}

void Processor::parameterChanged (unsigned kind, float newValue)
{
    switch (kind)
    {
        case FloatParameter::inputGain:
            applyInputGain (newValue);
            break;
        case FloatParameter::drive:
        case FloatParameter::tone:
        case FloatParameter::level:
        case FloatParameter::model:
            applyModelAndPots();
            break;
        case FloatParameter::onOff:
        case FloatParameter::processing:
        case FloatParameter::quality:
            reconfigureChannels();
            applyModelAndPots();
            break;
        default:
            break;
    }
}

void Processor::reconfigureChannels()
{
    const int on = switchPosition (parameters[FloatParameter::onOff]->getStep());
    const int stereo = switchPosition (parameters[FloatParameter::processing]->getStep());
    const int high = switchPosition (parameters[FloatParameter::quality]->getStep());

    const int inputs = seenInputChannels.load();
    const int outputs = seenOutputChannels.load();

    const int activeInputs = (inputs <= 1 ? inputs : stereo + 1) * on;
    const int activeOutputs = outputs * on;
    engine.configure (activeInputs, activeOutputs, high * 2);
}

void Processor::applyModelAndPots()
{
    engine.setModel (switchPosition (parameters[FloatParameter::model]->getStep()));
    engine.setPots (potPosition (parameters[FloatParameter::drive]->getStep()),
                    potPosition (parameters[FloatParameter::tone]->getStep()),
                    potPosition (parameters[FloatParameter::level]->getStep()));
}

void Processor::applyInputGain (double normalised)
{
    engine.holder.inputGainTarget.store (normalised * inputGainScale);
    engine.holder.outputGainTarget.store (outputGainTarget);
}

void Processor::getStateInformation (juce::MemoryBlock& destData)
{
    StateCodec::Bank bank;
    bank.currentProgram = currentProgram.load();
    {
        const std::lock_guard<std::mutex> lock (programNamesLock);
        for (size_t slot = 0; slot < 4; ++slot)
            bank.programs[slot].name = programNames[slot];
    }
    for (size_t slot = 0; slot < 4; ++slot)
        for (size_t k = 0; k < 8; ++k)
            bank.programs[slot].values[k] = parameters[k]->getValueForProgram ((int) slot);

    sendChangeMessage();
    StateCodec::writeBlock (*StateCodec::toXml (bank), destData);
}

void Processor::setStateInformation (const void* data, int sizeInBytes)
{
    std::array<float, 8> defaults {};
    for (size_t k = 0; k < 8; ++k)
        defaults[k] = parameters[k]->getDefaultValue();

    // A block that is not a state changes nothing.
    const auto loaded = StateCodec::read (data, sizeInBytes, defaults);
    if (! loaded)
        return;

    // A negative program number selects nothing and is reported as 0.
    currentProgram.store (juce::jmax (0, loaded->currentProgram));

    {
        const std::lock_guard<std::mutex> lock (programNamesLock);
        for (int slot = 0; slot < loaded->numPrograms; ++slot)
            programNames[(size_t) slot] = loaded->programs[(size_t) slot].name;
    }
    for (int slot = 0; slot < loaded->numPrograms; ++slot)
        for (size_t k = 0; k < 8; ++k)
            parameters[k]->setValueForProgram (loaded->programs[(size_t) slot].values[k], slot);

    setCurrentProgram (loaded->currentProgram);
    announceNewValues (*this);
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new Processor();
}
