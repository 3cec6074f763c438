#include "AaxEffect.h"

#include <cmath>
#include <cstring>
#include <limits>

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

namespace
{
// Set while the host's own value or chunk is being applied, so that it is not reported back to
// the host as a change made inside the effect.
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

AaxEffect::AaxEffect (const VeskAaxProcessingComponent& component, const Host& h)
    : processor (createProcessorForAax()),
      numInputs ((int) component.inputChannels),
      numOutputs ((int) component.outputChannels),
      host (h)
{
    // The channel configuration of the component; the rate and block size come with prepare.
    processor->setPlayConfigDetails (numInputs, numOutputs, 0.0, 0);

    processorParameters = processor->getParameters();
    inGesture.assign ((size_t) processorParameters.size(), 0);
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
    if (applyingHostValue || host.parameterChanged == nullptr)
        return;

    // A change outside a gesture of the editor's (a switch clicked) is a gesture of its own.
    const bool alone = host.parameterGesture != nullptr
                       && juce::MessageManager::getInstance()->isThisTheMessageThread()
                       && juce::isPositiveAndBelow (parameterIndex, (int) inGesture.size())
                       && inGesture[(size_t) parameterIndex] == 0;
    if (alone)
        host.parameterGesture (host.context, parameterIndex, 1);
    host.parameterChanged (host.context, parameterIndex, newValue);
    if (alone)
        host.parameterGesture (host.context, parameterIndex, 0);
}

void AaxEffect::parameterGestureChanged (int parameterIndex, bool starting)
{
    if (juce::isPositiveAndBelow (parameterIndex, (int) inGesture.size()))
        inGesture[(size_t) parameterIndex] = starting ? 1 : 0;
    if (host.parameterGesture != nullptr)
        host.parameterGesture (host.context, parameterIndex, starting ? 1 : 0);
}

bool AaxEffect::prepare (double sampleRate, int maximumBlockSize)
{
    if (! (sampleRate > 0.0 && std::isfinite (sampleRate)) || maximumBlockSize < 1)
        return false;

    const juce::ScopedLock lock (processor->getCallbackLock());
    processor->setPlayConfigDetails (numInputs, numOutputs, sampleRate, maximumBlockSize);
    processor->prepareToPlay (sampleRate, maximumBlockSize);
    preparedBlockSize = maximumBlockSize;
    preparedRate = sampleRate;
    return true;
}

void AaxEffect::process (const VeskAaxProcessContext& context) noexcept
{
    const int n = context.numSamples;
    if (n <= 0 || context.outputs == nullptr)
        return;
    for (int c = 0; c < numOutputs; ++c)
        if (context.outputs[c] == nullptr)
            return;

    const juce::ScopedLock lock (processor->getCallbackLock());

    // Only a prepared effect processes: preparing allocates, so it never happens here.
    const bool ready = preparedBlockSize > 0 && (context.sampleRate == preparedRate || context.sampleRate == 0.0);

    // In place on the host's output buffers; outputs without an input start silent.
    for (int c = 0; c < numOutputs; ++c)
    {
        float* out = context.outputs[c];
        if (ready && c < numInputs && context.inputs != nullptr && context.inputs[c] != nullptr)
        {
            if (context.inputs[c] != out)
                std::memcpy (out, context.inputs[c], sizeof (float) * (size_t) n);
        }
        else
        {
            std::memset (out, 0, sizeof (float) * (size_t) n);
        }
    }
    if (! ready)
        return;

    // A block longer than prepared goes through in prepared-size pieces.
    const bool bypassed = masterBypass.load() >= 0.5f;
    for (int start = 0; start < n; start += preparedBlockSize)
    {
        juce::AudioBuffer<float> piece (context.outputs, numOutputs, start, juce::jmin (preparedBlockSize, n - start));
        if (bypassed)
            processor->processBlockBypassed (piece, midi);
        else
            processor->processBlock (piece, midi);
    }
}

uint32_t AaxEffect::getChunkSize()
{
    juce::MemoryBlock state;
    processor->getStateInformation (state);
    return (uint32_t) state.getSize();
}

bool AaxEffect::copyChunk (void* data, uint32_t capacity, uint32_t& written)
{
    juce::MemoryBlock state;
    processor->getStateInformation (state);
    written = (uint32_t) state.getSize();
    if (capacity < state.getSize())
        return false;
    std::memcpy (data, state.getData(), state.getSize());
    return true;
}

void AaxEffect::setChunk (const void* data, uint32_t size)
{
    applyingHostValue = true;
    processor->setStateInformation (data, (int) size);
    applyingHostValue = false;

    // The chunk may have changed every parameter: the host hears each new value once.
    if (host.parameterChanged != nullptr)
        for (int i = 0; i < processorParameters.size(); ++i)
            host.parameterChanged (host.context, i, processorParameters[i]->getValue());
}

bool AaxEffect::openEditor (void* parentWindow, int& width, int& height)
{
    if (editor != nullptr && parentWindow != editorParent)
    {
        // Another parent window: the editor moves into it.
        editor->removeFromDesktop();
        editor->addToDesktop (0, parentWindow);
        editor->setVisible (true);
        editorParent = parentWindow;
    }
    if (editor == nullptr)
    {
        editor.reset (processor->createEditorIfNeeded());
        if (editor == nullptr)
            return false;
        editor->addToDesktop (0, parentWindow);
        editor->setVisible (true);
        editorParent = parentWindow;
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
        editorParent = nullptr;
    }
}
