#include "AaxEffect.h"

#include <cstring>
#include <limits>

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

namespace
{
// Set while the host's own value is being applied, so that it is not reported back to the host.
thread_local bool applyingHostValue = false;

std::unique_ptr<juce::AudioProcessor> createProcessorForAax()
{
    juce::PluginHostType::jucePlugInClientCurrentWrapperType = juce::AudioProcessor::wrapperType_AAX;
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_AAX);
    std::unique_ptr<juce::AudioProcessor> p (createPluginFilter());
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Undefined);
    return p;
}

constexpr int displayDecimals = 3;
}

AaxEffect::AaxEffect (const VeskAaxProcessingComponent& component, const VeskAaxHostCallbacks* callbacks)
    : processor (createProcessorForAax()),
      numInputs ((int) component.inputChannels),
      numOutputs ((int) component.outputChannels)
{
    if (callbacks != nullptr)
        host = *callbacks;

    // The channel configuration of the component; the rate and block size follow with the first
    // processing call.
    processor->setPlayConfigDetails (numInputs, numOutputs, 0.0, 0);

    processorParameters = processor->getParameters();
    texts.resize ((size_t) processorParameters.size() + 1);
    infos.resize (texts.size());

    for (int i = 0; i < processorParameters.size(); ++i)
    {
        auto* p = processorParameters[i];
        auto& t = texts[(size_t) i];
        auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (p);
        t.identifier = (withId != nullptr ? withId->paramID : juce::String (i)).toStdString();
        t.name = p->getName (std::numeric_limits<int>::max()).toStdString();
        t.shortName = p->getName (31).toStdString();

        auto& info = infos[(size_t) i];
        info.defaultValue = p->getDefaultValue();
        info.numSteps = p->getNumSteps();
        info.automatable = p->isAutomatable() ? 1 : 0;
        p->addListener (this);
    }

    auto& bypassText = texts.back();
    bypassText.identifier = "MasterBypassID";
    bypassText.name = "Master Bypass";
    bypassText.shortName = "Bypass";
    infos.back().defaultValue = 0.0f;
    infos.back().numSteps = std::numeric_limits<int>::max();
    infos.back().automatable = 1;

    for (size_t i = 0; i < infos.size(); ++i)
    {
        auto& info = infos[i];
        info.identifier = texts[i].identifier.c_str();
        info.name = texts[i].name.c_str();
        info.shortName = texts[i].shortName.c_str();
        info.minimum = 0.0f;
        info.maximum = 1.0f;
        info.taper = VESK_AAX_TAPER_LINEAR;
        info.displayDecimals = displayDecimals;
    }
}

AaxEffect::~AaxEffect()
{
    for (auto* p : processorParameters)
        p->removeListener (this);
    closeEditor();
}

bool AaxEffect::getParameterInfo (int index, VeskAaxParameterInfo& info) const
{
    if (index < 0 || index >= getNumParameters())
        return false;
    info = infos[(size_t) index];
    return true;
}

float AaxEffect::getParameterValue (int index) const
{
    if (index == getMasterBypassIndex())
        return masterBypass.load();
    if (index < 0 || index >= processorParameters.size())
        return 0.0f;
    return processorParameters[index]->getValue();
}

bool AaxEffect::setParameterValue (int index, float value)
{
    if (index == getMasterBypassIndex())
    {
        masterBypass.store (value);
        return true;
    }
    if (index < 0 || index >= processorParameters.size())
        return false;

    auto* p = processorParameters[index];
    applyingHostValue = true;
    p->setValue (value);
    p->sendValueChangedMessageToListeners (value);
    applyingHostValue = false;
    return true;
}

juce::String AaxEffect::getParameterText (float value)
{
    return juce::String (value, displayDecimals);
}

void AaxEffect::parameterValueChanged (int parameterIndex, float newValue)
{
    if (! applyingHostValue && host.parameterChanged != nullptr)
        host.parameterChanged (host.context, parameterIndex, newValue);
}

void AaxEffect::process (const VeskAaxProcessContext& context) noexcept
{
    const int n = context.numSamples;
    if (n < 0 || context.outputs == nullptr)
        return;

    const juce::ScopedLock lock (processor->getCallbackLock());

    // A new block size (or rate) prepares the processor afresh.
    if (n != preparedBlockSize || context.sampleRate != preparedRate)
    {
        if (processor->getTotalNumInputChannels() != numInputs || processor->getTotalNumOutputChannels() != numOutputs)
            processor->setPlayConfigDetails (numInputs, numOutputs, context.sampleRate, n);
        else
            processor->setRateAndBufferSizeDetails (context.sampleRate, n);
        processor->prepareToPlay (context.sampleRate, n);
        preparedBlockSize = n;
        preparedRate = context.sampleRate;
    }

    // In place on the host's output buffers; outputs without an input start silent.
    for (int c = 0; c < numOutputs; ++c)
    {
        float* out = context.outputs[c];
        if (c < numInputs && context.inputs != nullptr && context.inputs[c] != nullptr)
        {
            if (context.inputs[c] != out)
                std::memcpy (out, context.inputs[c], sizeof (float) * (size_t) n);
        }
        else
        {
            std::memset (out, 0, sizeof (float) * (size_t) n);
        }
    }

    juce::AudioBuffer<float> buffer (context.outputs, numOutputs, n);
    if (masterBypass.load() >= 0.5f)
        processor->processBlockBypassed (buffer, midi);
    else
        processor->processBlock (buffer, midi);
}

uint32_t AaxEffect::takeChunkSnapshot()
{
    const std::lock_guard<std::mutex> l (chunkLock);
    chunk.reset();
    processor->getStateInformation (chunk);
    return (uint32_t) chunk.getSize();
}

bool AaxEffect::copyChunk (void* data, uint32_t capacity, uint32_t& written)
{
    const std::lock_guard<std::mutex> l (chunkLock);
    if (chunk.isEmpty())
        processor->getStateInformation (chunk);
    if (capacity < chunk.getSize())
        return false;
    std::memcpy (data, chunk.getData(), chunk.getSize());
    written = (uint32_t) chunk.getSize();
    return true;
}

void AaxEffect::setChunk (const void* data, uint32_t size)
{
    processor->setStateInformation (data, (int) size);
}

bool AaxEffect::openEditor (void* parentWindow, int& width, int& height)
{
    if (editor == nullptr)
    {
        editor.reset (processor->createEditorIfNeeded());
        if (editor == nullptr)
            return false;
        editor->addToDesktop (0, parentWindow);
        editor->setVisible (true);
    }
    width = editor->getWidth();
    height = editor->getHeight();
    return true;
}

void AaxEffect::closeEditor()
{
    if (editor != nullptr)
    {
        editor->removeFromDesktop();
        editor.reset();
    }
}
