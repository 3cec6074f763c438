// A host's start: it reopens the plug-ins it remembers from its last run, scans its default
// folders as a JUCE-based DAW does, and keeps the list for the next start.
//
//   vesk_host_check --scan vst|vst3|lv2 [--cache FILE] [--hold STOPFILE]
//
// FILE is the host's plug-in list (JUCE's KnownPluginList as XML): each remembered plug-in is
// instantiated ("remembered <name> at <file>: loads" or "...: cannot load (<reason>)"), then the
// list is replaced by what the scan found. Every plug-in found is printed as
// "<name> | <manufacturer> | <file or URI>". With --hold, the first one found is instantiated and
// kept playing until STOPFILE exists, at most a minute ("holding <name>" when it starts), as in a
// session that stays open. Exit code 0 whenever the host got through its start, whatever it found; 1 when a held
// instance failed or gave non-finite output.

#include "HostCheck.h"
#include "ScreenGrab.h"

#include <cmath>
#include <iostream>
#include <thread>

namespace hostcheck
{
namespace
{
int scanUsage()
{
    std::cerr << "usage: vesk_host_check --scan vst|vst3|lv2 [--cache FILE] [--hold STOPFILE]\n";
    return 2;
}

// Plays silence with a click every block through a fresh instance until the stop file exists.
bool hold (juce::AudioPluginFormatManager& formats, const juce::PluginDescription& type, const juce::File& stop)
{
    juce::String error;
    auto instance = formats.createPluginInstance (type, 48000.0, 512, error);
    if (instance == nullptr)
    {
        std::cout << "cannot hold " << type.name << " (" << error << ")" << std::endl;
        return false;
    }
    instance->prepareToPlay (48000.0, 512);
    juce::AudioBuffer<float> buffer (juce::jmax (instance->getTotalNumInputChannels(), instance->getTotalNumOutputChannels()), 512);
    juce::MidiBuffer midi;
    std::cout << "holding " << type.name << std::endl;
    const auto start = juce::Time::getMillisecondCounterHiRes();
    int blocks = 0;
    bool finite = true;
    while (! stop.exists() && juce::Time::getMillisecondCounterHiRes() < start + 60000.0)
    {
        buffer.clear();
        for (int c = 0; c < buffer.getNumChannels(); ++c)
            buffer.setSample (c, 0, 0.5f);
        instance->processBlock (buffer, midi);
        for (int c = 0; c < buffer.getNumChannels(); ++c)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                finite = finite && std::isfinite (buffer.getSample (c, i));
        ++blocks;
        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }
    instance->releaseResources();
    std::cout << "held " << type.name << " for " << juce::roundToInt (juce::Time::getMillisecondCounterHiRes() - start)
              << " ms: " << blocks << " blocks"
              << (finite ? "" : ", NON-FINITE OUTPUT") << std::endl;
    return finite && blocks > 0;
}
}

int runScan (int argc, char** argv)
{
    if (argc < 3)
        return scanUsage();
    const juce::String which (argv[2]);
    const juce::String wanted = which == "vst" ? "VST" : which == "vst3" ? "VST3" : which == "lv2" ? "LV2" : "";
    juce::File cache, stop;
    for (int i = 3; i + 1 < argc; i += 2)
    {
        const juce::String k (argv[i]), v (argv[i + 1]);
        if (k == "--cache") cache = juce::File::getCurrentWorkingDirectory().getChildFile (v);
        else if (k == "--hold") stop = juce::File::getCurrentWorkingDirectory().getChildFile (v);
        else return scanUsage();
    }
    if (wanted.isEmpty() || argc % 2 == 0)
        return scanUsage();

    prepareXlibForHosting();
    juce::ScopedJuceInitialiser_GUI juce;
    juce::AudioPluginFormatManager formats;
    formats.addFormat (new juce::VSTPluginFormat());
    formats.addFormat (new juce::VST3PluginFormat());
   #if JUCE_PLUGINHOST_LV2
    formats.addFormat (new juce::LV2PluginFormat());
   #endif
    juce::AudioPluginFormat* format = nullptr;
    for (auto* f : formats.getFormats())
        if (f->getName() == wanted)
            format = f;
    if (format == nullptr)
    {
        std::cerr << "no " << wanted << " format in this host\n";
        return 2;
    }

    if (cache.existsAsFile())
    {
        juce::KnownPluginList remembered;
        if (auto xml = juce::parseXML (cache))
            remembered.recreateFromXml (*xml);
        for (const auto& type : remembered.getTypes())
        {
            juce::String error;
            auto instance = formats.createPluginInstance (type, 48000.0, 512, error);
            std::cout << "remembered " << type.name << " at " << type.fileOrIdentifier << ": "
                      << (instance != nullptr ? juce::String ("loads") : "cannot load (" + error + ")") << "\n";
        }
    }

    juce::KnownPluginList found;
    juce::PluginDirectoryScanner scanner (found, *format, format->getDefaultLocationsToSearch(), true, juce::File());
    juce::String name;
    while (scanner.scanNextFile (true, name)) {}
    for (const auto& type : found.getTypes())
        std::cout << type.name << " | " << type.manufacturerName << " | " << type.fileOrIdentifier << "\n";
    std::cout << found.getNumTypes() << " " << wanted << " plug-ins found in "
              << format->getDefaultLocationsToSearch().toString() << std::endl;
    if (cache != juce::File())
        if (auto xml = found.createXml())
            xml->writeTo (cache);

    const auto types = found.getTypes();
    if (stop != juce::File() && ! types.isEmpty())
        return hold (formats, types.getReference (0), stop) ? 0 : 1;
    return 0;
}
}
