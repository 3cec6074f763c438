#include "AaxPluginInstance.h"
#include "HostCheck.h"

namespace hostcheck
{
namespace
{
// VST, VST3 and LV2 through JUCE's format manager, as a JUCE-based DAW loads them.
class FormatManagerLoader final : public Loader
{
public:
    bool init (const Target& t, juce::String& error)
    {
        formats.addFormat (new juce::VSTPluginFormat());
        formats.addFormat (new juce::VST3PluginFormat());
       #if JUCE_PLUGINHOST_LV2
        formats.addFormat (new juce::LV2PluginFormat());   // no LV2 build on Windows
       #endif

        const juce::String wanted = t.format == Format::vst2 ? "VST" : t.format == Format::vst3 ? "VST3" : "LV2";
        juce::AudioPluginFormat* format = nullptr;
        for (auto* f : formats.getFormats())
            if (f->getName() == wanted)
                format = f;
        if (format == nullptr)
        {
            error = "no " + wanted + " format in this host";
            return false;
        }

        const auto id = t.format == Format::lv2 ? t.lv2Uri : t.binary.getFullPathName();
        juce::OwnedArray<juce::PluginDescription> types;
        format->findAllTypesForFile (types, id);
        if (types.isEmpty())
        {
            error = wanted + " format found no plug-in in " + id;
            return false;
        }
        desc = *types[0];
        return true;
    }

    std::unique_ptr<juce::AudioPluginInstance> create (double rate, int blockSize) override
    {
        juce::String error;
        auto p = formats.createPluginInstance (desc, rate, blockSize, error);
        if (p == nullptr)
            report().expect (false, "instance created (" + error + ")");
        return p;
    }

    juce::PluginDescription description() const override { return desc; }

private:
    juce::AudioPluginFormatManager formats;
    juce::PluginDescription desc;
};

class AaxLoader final : public Loader
{
public:
    bool init (const Target& t, juce::String& error)
    {
        module = AaxModule::open (t.binary, error);
        if (module == nullptr)
            return false;
        desc = AaxPluginInstance (module).getPluginDescription();
        return true;
    }

    std::unique_ptr<juce::AudioPluginInstance> create (double rate, int blockSize) override
    {
        auto p = std::make_unique<AaxPluginInstance> (module);
        p->setRateAndBufferSizeDetails (rate, blockSize);
        return p;
    }

    juce::PluginDescription description() const override { return desc; }

private:
    std::shared_ptr<AaxModule> module;
    juce::PluginDescription desc;
};
}

std::unique_ptr<Loader> makeLoader (const Target& target, juce::String& error)
{
    if (target.format == Format::aax)
    {
        auto l = std::make_unique<AaxLoader>();
        if (! l->init (target, error))
            return {};
        return l;
    }

    auto l = std::make_unique<FormatManagerLoader>();
    if (! l->init (target, error))
        return {};
    return l;
}
}
