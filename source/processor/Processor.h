#pragma once

#include "FloatParameter.h"
#include "engine/CircuitEngine.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

// The plug-in's audio processor: eight parameters with four program slots each, the saved
// state, and the hand-over of every block and every configuration change to the circuit engine.
class Processor : public juce::AudioProcessor, public juce::ChangeBroadcaster
{
public:
    // The interpolator, circuit and decimator delay the signal by this many host samples; the
    // dry paths (pedal off, host bypass) are delayed by the same amount.
    static constexpr int latencySamples = 15;

    Processor();
    ~Processor() override;

    const juce::String getName() const override;
    void prepareToPlay (double sampleRate, int estimatedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    void processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;
    using juce::AudioProcessor::processBlockBypassed;

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    const juce::String getInputChannelName (int index) const override;
    const juce::String getOutputChannelName (int index) const override;
    bool isInputChannelStereoPair (int index) const override;
    bool isOutputChannelStereoPair (int index) const override;
    bool silenceInProducesSilenceOut() const override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    // Called by a parameter whose value changed through setValue: the engine action of its kind.
    void parameterChanged (unsigned kind, float newValue);

    CircuitEngine engine;
    std::atomic<int> currentProgram { 0 };
    std::atomic<int> seenInputChannels { 0 };
    std::atomic<int> seenOutputChannels { 0 };
    std::vector<FloatParameter*> parameters;

    // The engine's settings as the parameters and the cached channel counts say now. The engine's
    // builder calls this on whatever thread builds; it reads atomics only.
    EngineSettings currentEngineSettings() const noexcept;

private:
    struct SettingsReader final : EngineSettingsSource
    {
        explicit SettingsReader (const Processor& p) : owner (p) {}
        EngineSettings currentEngineSettings() const noexcept override { return owner.currentEngineSettings(); }
        const Processor& owner;
    };

    SettingsReader settingsReader { *this };

    std::array<juce::String, 4> programNames;
    mutable std::mutex programNamesLock;   // names are never touched by the audio thread

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Processor)
};
