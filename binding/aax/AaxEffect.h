#pragma once

#include "VeskAax.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// One effect instance of the AAX module: a Processor created through createPluginFilter, its
// eight parameters and the module's own master bypass, processing for one channel
// configuration, chunks and the editor.
class AaxEffect final : private juce::AudioProcessorParameter::Listener
{
public:
    AaxEffect (const VeskAaxProcessingComponent& component, const VeskAaxHostCallbacks* callbacks);
    ~AaxEffect() override;

    int getNumParameters() const noexcept { return (int) infos.size(); }
    int getMasterBypassIndex() const noexcept { return (int) processorParameters.size(); }
    bool getParameterInfo (int index, VeskAaxParameterInfo& info) const;
    float getParameterValue (int index) const;
    bool setParameterValue (int index, float value);
    static juce::String getParameterText (float value);

    int getLatencySamples() const { return processor->getLatencySamples(); }
    double getTailSeconds() const { return processor->getTailLengthSeconds(); }

    void process (const VeskAaxProcessContext& context) noexcept;

    uint32_t takeChunkSnapshot();
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
    void parameterGestureChanged (int, bool) override {}

    std::unique_ptr<juce::AudioProcessor> processor;
    const int numInputs;
    const int numOutputs;
    VeskAaxHostCallbacks host {};

    juce::Array<juce::AudioProcessorParameter*> processorParameters;
    std::vector<ParameterText> texts;
    std::vector<VeskAaxParameterInfo> infos;
    std::atomic<float> masterBypass { 0.0f };

    int preparedBlockSize = -1;   // audio thread
    double preparedRate = 0.0;    // audio thread
    juce::MidiBuffer midi;

    std::mutex chunkLock;
    juce::MemoryBlock chunk;

    std::unique_ptr<juce::AudioProcessorEditor> editor;
};
