#include "AaxPluginInstance.h"

#include <juce_gui_extra/juce_gui_extra.h>

namespace hostcheck
{
// The module -----------------------------------------------------------------------------------

std::shared_ptr<AaxModule> AaxModule::open (const juce::File& binary, juce::String& error)
{
    auto m = std::make_shared<AaxModule>();
    m->file = binary;
    if (! m->library.open (binary.getFullPathName()))
    {
        error = "cannot load " + binary.getFullPathName();
        return {};
    }

    auto get = [&m, &error] (const char* name) -> void*
    {
        void* f = m->library.getFunction (name);
        if (f == nullptr)
            error << "missing export " << name << "; ";
        return f;
    };
    m->startup = (VeskACFStartupProc) get ("ACFStartup");
    m->shutdown = (VeskACFShutdownProc) get ("ACFShutdown");
    m->registerPlugin = (VeskACFRegisterPluginProc) get ("ACFRegisterPlugin");
    m->registerComponent = (VeskACFRegisterComponentProc) get ("ACFRegisterComponent");
    m->getClassFactory = (VeskACFGetClassFactoryProc) get ("ACFGetClassFactory");
    m->canUnloadNow = (VeskACFCanUnloadNowProc) get ("ACFCanUnloadNow");
    m->getSdkVersion = (VeskACFGetSDKVersionProc) get ("ACFGetSDKVersion");
    if (error.isNotEmpty())
        return {};

    if (m->startup (nullptr) != VESK_ACF_OK)
    {
        error = "ACFStartup failed";
        return {};
    }
    m->started = true;

    if (m->registerPlugin (nullptr, &m->collection) != VESK_ACF_OK || m->collection == nullptr)
    {
        error = "ACFRegisterPlugin failed";
        return {};
    }
    const void* factory = nullptr;
    if (m->getClassFactory (nullptr, m->collection->effectIdentifier, VESK_AAX_EFFECT_INTERFACE_ID, &factory) != VESK_ACF_OK
        || factory == nullptr)
    {
        error = "ACFGetClassFactory failed";
        return {};
    }
    m->effect = static_cast<const VeskAaxEffectInterface*> (factory);
    if (m->effect->structSize < sizeof (VeskAaxEffectInterface))
    {
        error = "effect interface too small";
        return {};
    }
    return m;
}

AaxModule::~AaxModule()
{
    if (started)
        shutdown (nullptr);
    library.close();
}

// Parameters -----------------------------------------------------------------------------------

class AaxPluginInstance::Parameter final : public juce::HostedAudioProcessorParameter
{
public:
    Parameter (AaxPluginInstance& o, int i, const VeskAaxParameterInfo& info)
        : owner (o), index (i),
          identifier (juce::String::fromUTF8 (info.identifier)),
          name (juce::String::fromUTF8 (info.name)),
          shortName (juce::String::fromUTF8 (info.shortName)),
          defaultValue (info.defaultValue),
          numSteps (info.numSteps),
          automatable (info.automatable != 0)
    {
    }

    float getValue() const override { return owner.api().getParameterValue (owner.effect, index); }
    void setValue (float v) override { owner.api().setParameterValue (owner.effect, index, v); }
    float getDefaultValue() const override { return defaultValue; }
    juce::String getName (int maximumLength) const override { return name.length() <= maximumLength ? name : shortName; }
    juce::String getLabel() const override { return {}; }
    juce::String getText (float v, int) const override
    {
        char text[64] = {};
        owner.api().getParameterText (owner.effect, index, v, text, (int32_t) sizeof (text));
        return juce::String::fromUTF8 (text);
    }
    float getValueForText (const juce::String& t) const override { return t.getFloatValue(); }
    int getNumSteps() const override { return numSteps; }
    bool isAutomatable() const override { return automatable; }
    juce::String getParameterID() const override { return identifier; }

private:
    AaxPluginInstance& owner;
    const int index;
    const juce::String identifier, name, shortName;
    const float defaultValue;
    const int numSteps;
    const bool automatable;
};

// The editor: the module's window inside an X embedding host window ----------------------------

class AaxPluginInstance::EditorHost final : public juce::AudioProcessorEditor
{
public:
    explicit EditorHost (AaxPluginInstance& o) : juce::AudioProcessorEditor (o), owner (o)
    {
       #if ! JUCE_WINDOWS
        addAndMakeVisible (embed);
       #endif
        setSize (100, 100);
    }

    ~EditorHost() override
    {
        if (opened)
            owner.api().closeEditor (owner.effect);
    }

   #if ! JUCE_WINDOWS
    void resized() override { embed.setBounds (getLocalBounds()); }
   #endif
    void visibilityChanged() override { openWhenShowing(); }
    void parentHierarchyChanged() override { openWhenShowing(); }

private:
    void openWhenShowing()
    {
        if (opened || ! isShowing() || getPeer() == nullptr)
            return;
        int32_t w = 0, h = 0;
       #if JUCE_WINDOWS
        // The module's window becomes a child of the host's own window, where this editor sits
        // at the top left.
        const auto window = (juce::pointer_sized_uint) getPeer()->getNativeHandle();
       #else
        const auto window = embed.getHostWindowID();
       #endif
        if (owner.api().openEditor (owner.effect, (void*) (juce::pointer_sized_uint) window, &w, &h) == VESK_ACF_OK)
        {
            opened = true;
            setSize (w, h);
        }
    }

    AaxPluginInstance& owner;
   #if ! JUCE_WINDOWS
    juce::XEmbedComponent embed { true, false };
   #endif
    bool opened = false;
};

// The instance ---------------------------------------------------------------------------------

AaxPluginInstance::AaxPluginInstance (std::shared_ptr<AaxModule> m)
    : juce::AudioPluginInstance (BusesProperties()
                                     .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                     .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      module (std::move (m))
{
    callbacks.structSize = sizeof (callbacks);
    callbacks.context = this;
    callbacks.parameterChanged = parameterChangedByEffect;
    createEffect (componentFor (2, 2, *module->collection));

    const int n = api().getNumParameters (effect);
    for (int i = 0; i < n; ++i)
    {
        VeskAaxParameterInfo info {};
        if (api().getParameterInfo (effect, i, &info) == VESK_ACF_OK)
            addHostedParameter (std::make_unique<Parameter> (*this, i, info));
    }
}

AaxPluginInstance::~AaxPluginInstance()
{
    if (effect != nullptr)
        api().destroy (effect);
}

int AaxPluginInstance::componentFor (int inputs, int outputs, const VeskAaxCollection& c)
{
    const auto& d = c.effects[0];
    for (uint32_t i = 0; i < d.numProcessingComponents; ++i)
        if ((int) d.processingComponents[i].inputChannels == inputs && (int) d.processingComponents[i].outputChannels == outputs)
            return (int) i;
    return -1;
}

void AaxPluginInstance::createEffect (int component)
{
    juce::MemoryBlock state;
    if (effect != nullptr)
        getStateInformation (state);

    auto* fresh = api().createWithHost ((uint32_t) component, &callbacks);
    if (fresh == nullptr)
        return;
    if (preparedBlockSize > 0)
        api().prepare (fresh, preparedRate, preparedBlockSize);
    if (! state.isEmpty())
        api().setChunk (fresh, state.getData(), (uint32_t) state.getSize());

    VeskAaxEffect* old = nullptr;
    {
        const juce::SpinLock::ScopedLockType l (effectLock);
        old = effect;
        effect = fresh;
        componentIndex = component;
    }
    if (old != nullptr)
        api().destroy (old);
}

void AaxPluginInstance::parameterChangedByEffect (void* context, int32_t, float)
{
    ++static_cast<AaxPluginInstance*> (context)->notificationsFromEffect;
}

void AaxPluginInstance::fillInPluginDescription (juce::PluginDescription& d) const
{
    const auto& c = *module->collection;
    const auto& e = c.effects[0];
    d.name = juce::String::fromUTF8 (e.name);
    d.descriptiveName = juce::String::fromUTF8 (e.description);
    d.pluginFormatName = "AAX";
    d.category = e.category == VESK_AAX_CATEGORY_HARMONIC ? "Harmonic" : juce::String (e.category);
    d.manufacturerName = juce::String::fromUTF8 (c.manufacturerName);
    d.version = juce::String ((c.packageVersion >> 16) & 0xff) + "." + juce::String ((c.packageVersion >> 8) & 0xff) + "."
              + juce::String (c.packageVersion & 0xff);
    d.fileOrIdentifier = module->file.getFullPathName();
    d.uniqueId = d.deprecatedUid = (int) e.productId;
    d.isInstrument = false;
    d.numInputChannels = getTotalNumInputChannels();
    d.numOutputChannels = getTotalNumOutputChannels();
}

const juce::String AaxPluginInstance::getName() const
{
    return juce::String::fromUTF8 (module->collection->effects[0].name);
}

bool AaxPluginInstance::isBusesLayoutSupported (const BusesLayout& layout) const
{
    return componentFor (layout.getMainInputChannels(), layout.getMainOutputChannels(), *module->collection) >= 0;
}

void AaxPluginInstance::numChannelsChanged()
{
    if (module == nullptr || effect == nullptr)
        return;
    const int c = componentFor (getTotalNumInputChannels(), getTotalNumOutputChannels(), *module->collection);
    if (c >= 0 && c != componentIndex)
        createEffect (c);
}

juce::AudioProcessorParameter* AaxPluginInstance::getBypassParameter() const
{
    const int i = api().getMasterBypassIndex (effect);
    return juce::isPositiveAndBelow (i, getParameters().size()) ? getParameters()[i] : nullptr;
}

double AaxPluginInstance::getTailLengthSeconds() const { return api().getTailSeconds (effect); }

void AaxPluginInstance::prepareToPlay (double rate, int blockSize)
{
    setRateAndBufferSizeDetails (rate, blockSize);
    preparedRate = rate;
    preparedBlockSize = blockSize;
    api().prepare (effect, rate, blockSize);
    setLatencySamples (api().getLatencySamples (effect));
}

void AaxPluginInstance::processBlock (juce::AudioBuffer<float>& b, juce::MidiBuffer&) { process (b, false); }
void AaxPluginInstance::processBlockBypassed (juce::AudioBuffer<float>& b, juce::MidiBuffer&) { process (b, true); }

void AaxPluginInstance::process (juce::AudioBuffer<float>& buffer, bool bypassed)
{
    const juce::SpinLock::ScopedLockType l (effectLock);
    if (effect == nullptr)
        return;

    const int bypassIndex = api().getMasterBypassIndex (effect);
    const float wanted = bypassed ? 1.0f : 0.0f;
    if (api().getParameterValue (effect, bypassIndex) != wanted)
        api().setParameterValue (effect, bypassIndex, wanted);

    const int ins = getTotalNumInputChannels();
    const int outs = getTotalNumOutputChannels();
    if (buffer.getNumChannels() < juce::jmax (ins, outs))
        return;

    float* const* channels = buffer.getArrayOfWritePointers();
    VeskAaxProcessContext context { channels, channels, buffer.getNumSamples(), getSampleRate() };
    api().process (effect, &context);
}

juce::AudioProcessorEditor* AaxPluginInstance::createEditor() { return new EditorHost (*this); }

void AaxPluginInstance::getStateInformation (juce::MemoryBlock& dest)
{
    uint32_t size = 0;
    dest.reset();
    if (api().getChunkSize (effect, &size) != VESK_ACF_OK || size == 0)
        return;
    // The state may grow between the two calls (a value changed meanwhile): the effect then
    // tells the size it needs.
    uint32_t written = 0;
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        dest.setSize (size);
        const auto result = api().getChunk (effect, dest.getData(), size, &written);
        if (result == VESK_ACF_OK)
        {
            dest.setSize (written);
            return;
        }
        if (result != VESK_ACF_E_OUTOFRANGE || written <= size)
            break;
        size = written;
    }
    dest.reset();
}

void AaxPluginInstance::setStateInformation (const void* data, int size)
{
    api().setChunk (effect, data, (uint32_t) size);
}
}
