#pragma once

#include "VeskAax.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

// One effect instance of the AAX module: a Processor created through createPluginFilter, its
// eight parameters and the module's own master bypass, processing for one channel
// configuration, chunks and the editor.
class AaxEffect final : private juce::AudioProcessorParameter::Listener
{
public:
    // The host's callbacks, whichever way the host handed them over.
    struct Host
    {
        void* context = nullptr;
        void (*parameterChanged) (void*, int32_t, float) = nullptr;
        void (*parameterGesture) (void*, int32_t, int32_t) = nullptr;
    };

    AaxEffect (const VeskAaxProcessingComponent& component, const Host& host);
    ~AaxEffect() override;

    int getNumParameters() const noexcept { return (int) infos.size(); }
    int getMasterBypassIndex() const noexcept { return (int) processorParameters.size(); }
    bool getParameterInfo (int index, VeskAaxParameterInfo& info) const;
    float getParameterValue (int index) const;
    bool setParameterValue (int index, float value);
    static juce::String getParameterText (float value);

    int getLatencySamples() const { return processor->getLatencySamples(); }
    double getTailSeconds() const { return processor->getTailLengthSeconds(); }

    bool prepare (double sampleRate, int maximumBlockSize);
    void process (const VeskAaxProcessContext& context) noexcept;

    uint32_t getChunkSize();
    bool copyChunk (void* data, uint32_t capacity, uint32_t& written);
    void setChunk (const void* data, uint32_t size);

    // Message thread only.
    bool openEditor (void* parentWindow, int& width, int& height);
    void closeEditor();

private:
    struct ParameterText
    {
        std::string identifier, name, shortName;
    };

    void parameterValueChanged (int parameterIndex, float newValue) override;
    void parameterGestureChanged (int parameterIndex, bool starting) override;

    std::unique_ptr<juce::AudioProcessor> processor;
    const int numInputs;
    const int numOutputs;
    const Host host;

    juce::Array<juce::AudioProcessorParameter*> processorParameters;
    std::vector<ParameterText> texts;
    std::vector<VeskAaxParameterInfo> infos;
    std::atomic<float> masterBypass { 0.0f };

    // Parameters inside a gesture begun in the editor (message thread).
    std::vector<char> inGesture;

    // Written by prepare and read by process, both under the processor's callback lock.
    int preparedBlockSize = 0;
    double preparedRate = 0.0;
    juce::MidiBuffer midi;

    std::unique_ptr<juce::AudioProcessorEditor> editor;
    void* editorParent = nullptr;
};
