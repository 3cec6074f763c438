#pragma once

#include "VeskAax.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace hostcheck
{
// The AAX module, loaded from disk and started through its own entry points.
class AaxModule
{
public:
    static std::shared_ptr<AaxModule> open (const juce::File& binary, juce::String& error);
    ~AaxModule();

    VeskACFStartupProc startup = nullptr;
    VeskACFShutdownProc shutdown = nullptr;
    VeskACFRegisterPluginProc registerPlugin = nullptr;
    VeskACFRegisterComponentProc registerComponent = nullptr;
    VeskACFGetClassFactoryProc getClassFactory = nullptr;
    VeskACFCanUnloadNowProc canUnloadNow = nullptr;
    VeskACFGetSDKVersionProc getSdkVersion = nullptr;

    const VeskAaxCollection* collection = nullptr;
    const VeskAaxEffectInterface* effect = nullptr;
    juce::File file;

private:
    juce::DynamicLibrary library;
    bool started = false;
};

// An effect instance of the AAX module, seen through JUCE's plug-in instance interface so that the
// same checks run on it as on the other formats. The bus layout selects the processing component;
// changing it creates the effect again for the new component and carries the state over.
class AaxPluginInstance final : public juce::AudioPluginInstance
{
public:
    explicit AaxPluginInstance (std::shared_ptr<AaxModule> module);
    ~AaxPluginInstance() override;

    void fillInPluginDescription (juce::PluginDescription&) const override;
    const juce::String getName() const override;

    void prepareToPlay (double rate, int blockSize) override;
    void releaseResources() override {}
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    void processBlockBypassed (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using juce::AudioPluginInstance::processBlock;
    using juce::AudioPluginInstance::processBlockBypassed;

    bool isBusesLayoutSupported (const BusesLayout&) const override;
    void numChannelsChanged() override;
    juce::AudioProcessorParameter* getBypassParameter() const override;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }

    bool hasEditor() const override { return true; }
    juce::AudioProcessorEditor* createEditor() override;

    // The layer publishes no program calls: the host's presets are chunks.
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock&) override;
    void setStateInformation (const void*, int) override;

    VeskAaxEffect* getEffect() const noexcept { return effect; }
    const VeskAaxEffectInterface& api() const noexcept { return *module->effect; }
    int getComponentIndex() const noexcept { return componentIndex; }

    // Values the effect reported to the host on its own (from its editor).
    std::atomic<int> notificationsFromEffect { 0 };

private:
    class Parameter;
    class EditorHost;

    static int componentFor (int inputs, int outputs, const VeskAaxCollection&);
    void createEffect (int component);
    void process (juce::AudioBuffer<float>&, bool bypassed);
    static void parameterChangedByEffect (void* context, int32_t index, float value);

    std::shared_ptr<AaxModule> module;
    VeskAaxEffect* effect = nullptr;
    int componentIndex = -1;
    juce::SpinLock effectLock;   // held while processing and while the effect is replaced
    VeskAaxHostInterface callbacks {};
    double preparedRate = 0.0;
    int preparedBlockSize = 0;
};
}
