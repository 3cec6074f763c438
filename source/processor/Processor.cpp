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

    // From here on the engine reads its settings from the parameters whenever it builds.
    engine.readSettingsFrom (settingsReader);

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

    seenInputChannels.store (inputs);
    seenOutputChannels.store (outputs);
    engine.holder.hostInputChannels.store (inputs);

    // Publishes the channel counts and the rate together, and returns only once it is published.
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
    engine.holder.processBypassed (buffer, getTotalNumInputChannels());
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
    engine.settingsChanged (true);

    suspendProcessing (false);

    announceNewValues (*this);
}

void Processor::parameterChanged (unsigned kind, float)
{
    // The builder reads every value itself; Input Gain moves only the gain target, every other
    // parameter rebuilds the matrices.
    engine.settingsChanged (kind != FloatParameter::inputGain);
}

EngineSettings Processor::currentEngineSettings() const noexcept
{
    const auto step = [this] (unsigned kind) { return parameters[kind]->getStep(); };
    const int on = switchPosition (step (FloatParameter::onOff));
    const int stereo = switchPosition (step (FloatParameter::processing));
    const int high = switchPosition (step (FloatParameter::quality));
    const int inputs = seenInputChannels.load();
    const int outputs = seenOutputChannels.load();

    EngineSettings s;
    s.inputChannels = (inputs <= 1 ? inputs : stereo + 1) * on;
    s.outputChannels = outputs * on;
    s.qualityCode = high * 2;
    s.model = switchPosition (step (FloatParameter::model));
    s.drive = potPosition (step (FloatParameter::drive));
    s.tone = potPosition (step (FloatParameter::tone));
    s.level = potPosition (step (FloatParameter::level));
    s.inputGainTarget = (double) parameters[FloatParameter::inputGain]->getValue() * inputGainScale;
    s.outputGainTarget = outputGainTarget;
    return s;
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

    // A program number outside the four slots selects the nearest slot, so that the parameters
    // and the sound always agree with the program reported.
    const int program = juce::jlimit (0, getNumPrograms() - 1, loaded->currentProgram);

    {
        const std::lock_guard<std::mutex> lock (programNamesLock);
        for (int slot = 0; slot < loaded->numPrograms; ++slot)
            programNames[(size_t) slot] = loaded->programs[(size_t) slot].name;
    }
    for (int slot = 0; slot < loaded->numPrograms; ++slot)
        for (size_t k = 0; k < 8; ++k)
            parameters[k]->setValueForProgram (loaded->programs[(size_t) slot].values[k], slot);

    setCurrentProgram (program);   // which tells the host of the new values
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new Processor();
}
