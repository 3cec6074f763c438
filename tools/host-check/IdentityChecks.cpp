#include "AaxPluginInstance.h"
#include "HostCheck.h"
#include "Vst2Probe.h"

namespace hostcheck
{
namespace
{
juce::String layoutText (int in, int out) { return "(" + juce::String (in) + " in, " + juce::String (out) + " out)"; }

juce::AudioProcessor::BusesLayout layoutOf (int inputs, int outputs)
{
    juce::AudioProcessor::BusesLayout l;
    l.inputBuses.add (inputs == 0 ? juce::AudioChannelSet::disabled() : juce::AudioChannelSet::canonicalChannelSet (inputs));
    l.outputBuses.add (outputs == 0 ? juce::AudioChannelSet::disabled() : juce::AudioChannelSet::canonicalChannelSet (outputs));
    return l;
}

struct AEffectFinder final : juce::ExtensionsVisitor
{
    void visitVSTClient (const VSTClient& c) override { effect = c.getAEffectPtr(); }
    void* effect = nullptr;
};

void checkParameters (const Target& t, juce::AudioPluginInstance& p)
{
    report().section (formatName (t.format) + ": parameters as the host sees them");
    auto& all = p.getParameters();
    juce::StringArray names;
    for (auto* param : all)
        names.add (param->getName (1024));
    report().saw (juce::String (all.size()) + " parameters: " + names.joinIntoString (", "));

    const int expectedCount = t.format == Format::vst2 ? 8 : t.format == Format::aax ? 9 : -1;
    if (expectedCount > 0)
        report().expectInt (all.size(), expectedCount, "number of parameters");

    const auto found = findParameters (p);
    for (size_t k = 0; k < 8; ++k)
    {
        auto* param = found[k];
        if (! report().expect (param != nullptr, juce::String ("parameter \"") + expected::names[k] + "\" present"))
            continue;

        // In index order; JUCE's LV2 layer puts its "enabled" port (the host's Bypass) first.
        report().expectInt (param->getParameterIndex(), (int) k + (t.format == Format::lv2 ? 1 : 0), juce::String (expected::names[k]) + " index");
        report().expect (param->isAutomatable(), juce::String (expected::names[k]) + " automatable");

        const auto label = param->getLabel();
        const auto text = param->getCurrentValueAsText();
        report().saw (juce::String (expected::names[k]) + ": value " + juce::String (param->getValue(), 9) + ", default "
                      + juce::String (param->getDefaultValue(), 9) + ", text \"" + text + "\", label \"" + label + "\", steps "
                      + juce::String (param->getNumSteps()));

        // LV2 hosts start from the metadata's defaults; JUCE's LV2 host restores the state on
        // prepareToPlay, and the plug-in then reports every value (Input Gain 0.32999998, not the
        // metadata's 0.33).
        report().expectFloat (param->getValue(), expected::programValues[0][k], juce::String (expected::names[k]) + " value");

        switch (t.format)
        {
            case Format::vst2:
                // VST 2 has no default values; the host takes the value it finds at load. JUCE's
                // host trims the label (the raw answer is checked with the dispatcher).
                report().expectText (label, juce::String (expected::labelsProgram0[k]).trim(), juce::String (expected::names[k]) + " label");
                report().expectText (text, expected::textsProgram0[k], juce::String (expected::names[k]) + " text");
                break;
            case Format::vst3:
                report().expectFloat (param->getDefaultValue(), expected::defaults[k], juce::String (expected::names[k]) + " default");
                report().expectText (label, expected::labelsProgram0[k], juce::String (expected::names[k]) + " label (units)");
                report().expectText (text, expected::textsProgram0[k], juce::String (expected::names[k]) + " text");
                report().expectText (param->getText (0.5f, 1024), "0.50", juce::String (expected::names[k]) + " text of 0.5");
                break;
            case Format::lv2:
                // LV2 metadata carries no label or text: the host prints the number itself.
                report().expectFloat (param->getDefaultValue(), expected::defaults[k], juce::String (expected::names[k]) + " default");
                report().expect (label.isEmpty(), juce::String (expected::names[k]) + " has no label in LV2");
                break;
            case Format::aax:
            {
                report().expectFloat (param->getDefaultValue(), expected::defaults[k], juce::String (expected::names[k]) + " default");
                static const char* const aaxTexts[8] = { "1.000", "0.000", "0.500", "1.000", "0.330", "0.000", "1.000", "0.000" };
                report().expectText (text, aaxTexts[k], juce::String (expected::names[k]) + " text (three decimals)");
                report().expectText (param->getText (0.25f, 1024), "0.250", juce::String (expected::names[k]) + " text of 0.25");
                report().expectInt (param->getNumSteps(), 2147483647, juce::String (expected::names[k]) + " steps (continuous)");
                break;
            }
        }
    }

    if (auto* bypass = p.getBypassParameter())
        report().saw ("host bypass parameter \"" + bypass->getName (1024) + "\"");
    else
        report().saw ("no host bypass parameter");
}

void checkPrograms (const Target& t, juce::AudioPluginInstance& p)
{
    report().section (formatName (t.format) + ": programs");
    if (t.format == Format::aax)
    {
        report().saw ("no program calls in the AAX layer; factory programs are reached through chunks (state group)");
        return;
    }

    juce::StringArray names;
    for (int i = 0; i < p.getNumPrograms(); ++i)
        names.add (p.getProgramName (i));
    report().saw (juce::String (p.getNumPrograms()) + " programs: " + names.joinIntoString (" | "));
    report().expectInt (p.getNumPrograms(), 4, "number of programs");

    if (t.format == Format::lv2)
    {
        // LV2 presets come in the order the host's RDF store lists them.
        juce::StringArray sorted (names);
        sorted.sort (false);
        juce::StringArray wanted;
        for (auto* n : expected::programNames)
            wanted.add (n);
        report().expect (sorted == wanted, "the four factory program names (any order)");
    }
    else
    {
        for (int i = 0; i < 4; ++i)
            report().expectText (p.getProgramName (i), expected::programNames[(size_t) i], "program " + juce::String (i) + " name");
        report().expectInt (p.getCurrentProgram(), 0, "current program after loading");
    }

    // Selecting each factory program through the host's program call: the host's parameter
    // values are the program's, and the host heard that the display needs updating.
    struct DisplayUpdates final : juce::AudioProcessorListener
    {
        void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override {}
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override { ++count; }
        std::atomic<int> count { 0 };
    } updates;
    p.addListener (&updates);

    const auto params = findParameters (p);
    const auto readValues = [&params] (int program, juce::String& values)
    {
        bool allMatch = true;
        values.clear();
        for (size_t k = 0; k < 8; ++k)
        {
            if (params[k] == nullptr)
                continue;
            const float v = params[k]->getValue();
            values << juce::String (v, 6) << " ";
            allMatch = allMatch && v == expected::programValues[(size_t) program][k];
        }
        return allMatch;
    };
    // The order goes from the last program to the first and back to "4 Fat", so that each
    // switch changes values.
    for (int i : { 3, 2, 1, 0, 3 })
    {
        int programIndex = i;
        if (t.format == Format::lv2)
            programIndex = names.indexOf (expected::programNames[(size_t) i]);
        if (programIndex < 0)
            continue;
        updates.count = 0;
        p.setCurrentProgram (programIndex);
        settle (p);

        // Host and plug-in deliver their notices through their message loops.
        juce::String values;
        bool allMatch = readValues (i, values);
        for (int wait = 0; wait < 40 && (! allMatch || updates.count.load() == 0); ++wait)
        {
            juce::MessageManager::getInstance()->runDispatchLoopUntil (25);
            settle (p);
            allMatch = readValues (i, values);
        }
        if (params[4] != nullptr)
            values << "(Input Gain label \"" << params[4]->getLabel() << "\")";
        const juce::String name (expected::programNames[(size_t) i]);
        report().saw ("after selecting \"" + name + "\": " + values + "; " + juce::String (updates.count.load()) + " display updates");
        report().expect (allMatch, "the host reads program \"" + name + "\"'s eight values right after the switch");
        // JUCE's LV2 layer has no way to report a program change; it sends the new values only.
        if (t.format != Format::lv2)
            report().expect (updates.count.load() > 0, "the host is told to update its display after selecting \"" + name + "\"");
        if (params[4] != nullptr && i == 1 && t.format == Format::vst2)
            report().expectText (params[4]->getLabel(), "[15]", "Input Gain label in program 2 (trimmed by the host)");
    }
    p.removeListener (&updates);
    p.setCurrentProgram (0);
}

void checkLayouts (const Target& t, juce::AudioPluginInstance& p)
{
    report().section (formatName (t.format) + ": channel layouts");
    const int accepted[][2] = { { 1, 1 }, { 1, 2 }, { 2, 2 } };
    const int refused[][2] = { { 2, 1 }, { 0, 2 }, { 2, 0 }, { 3, 3 }, { 6, 6 } };

    for (auto& l : accepted)
    {
        const bool ok = p.checkBusesLayoutSupported (layoutOf (l[0], l[1]));
        if (t.format == Format::lv2)
        {
            // LV2 ports are fixed in the metadata: JUCE declares the default layout only.
            report().saw (layoutText (l[0], l[1]) + (ok ? " accepted" : " refused"));
            if (l[0] == 2 && l[1] == 2)
                report().expect (ok, "LV2 " + layoutText (2, 2) + " accepted");
        }
        else if (t.format != Format::vst2)
        {
            report().expect (ok, layoutText (l[0], l[1]) + " accepted");
        }
    }
    if (t.format == Format::vst2)
        return;   // raw speaker-arrangement calls in the VST 2 group

    for (auto& l : refused)
    {
        const bool ok = p.checkBusesLayoutSupported (layoutOf (l[0], l[1]));
        if (t.format == Format::vst3 && (l[0] == 0 || l[1] == 0))
        {
            // VST3 hosts may deactivate a bus whatever the plug-in prefers; JUCE's layer then
            // hands the processor silence (or discards its output) on the other layout.
            report().saw (layoutText (l[0], l[1]) + (ok ? " accepted as a deactivated bus" : " refused"));
            continue;
        }
        report().expect (! ok, layoutText (l[0], l[1]) + " refused");
    }
}
}

void checkVst2Binary (juce::AudioPluginInstance& p)
{
    report().section ("VST: the AEffect record and dispatcher answers");
    AEffectFinder finder;
    p.getExtensions (finder);
    if (! report().expect (finder.effect != nullptr, "the host exposes the AEffect"))
        return;

    const std::vector<std::string> canDoStrings {
        "receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents",
        "sendVstEvents", "sendVstMidiEvent", "sendVstMidiEvents",
        "receiveVstTimeInfo", "conformsToWindowRules", "bypass", "openCloseAnyThread",
        "offline", "sendVstTimeInfo", "midiProgramNames", "1in1out", "2in2out", "noRealTime", "MPE",
        "supportsViewDpiScaling", "hasCockosExtensions"
    };
    const auto f = probeVst2 (finder.effect, canDoStrings);

    report().expectInt (f.magic, 0x56737450, "magic 'VstP'");
    report().expectInt (f.uniqueId, 0x56736B32, "unique ID 'Vsk2'");
    report().expectInt (f.version, 110, "AEffect version");
    report().expectInt (f.vendorVersion, 110, "vendor version");
    report().expectText (f.effectName, "Vesk 1.1", "effect name");
    report().expectText (f.productString, "Vesk 1.1", "product string");
    report().expectText (f.vendorString, "Ferrow", "vendor string");
    report().expectInt (f.category, 1, "plug-in category (kPlugCategEffect)");
    report().expectInt (f.vstVersion, 2400, "VST version");
    report().expectInt (f.numPrograms, 4, "number of programs");
    report().expectInt (f.numParams, 8, "number of parameters");
    report().expectInt (f.numInputs, 2, "initial inputs");
    report().expectInt (f.numOutputs, 2, "initial outputs");
    report().expectInt (f.initialDelay, 15, "initial delay (samples)");
    report().expectInt (f.tailSize, 0, "tail size (samples)");

    const long long hasEditor = 1 << 0, canReplacing = 1 << 4, programChunks = 1 << 5, isSynth = 1 << 8,
                    noSoundInStop = 1 << 9, canDoubleReplacing = 1 << 12;
    report().saw ("flags 0x" + juce::String::toHexString ((juce::int64) f.flags));
    report().expect ((f.flags & hasEditor) != 0, "flag: has editor");
    report().expect ((f.flags & canReplacing) != 0, "flag: can process replacing");
    report().expect ((f.flags & programChunks) != 0, "flag: programs are chunks");
    report().expect ((f.flags & isSynth) == 0, "flag: not a synth");
    report().expect ((f.flags & canDoubleReplacing) == 0, "flag: no double-precision processing");
    report().saw (juce::String ("flag: no sound in stop ") + ((f.flags & noSoundInStop) != 0 ? "set" : "clear")
                  + " (JUCE sets it for a tail of 0 s)");
    report().expect ((f.flags & ~(hasEditor | canReplacing | programChunks | noSoundInStop)) == 0, "no other flags");

    for (auto& [s, answer] : f.canDo)
    {
        long long wanted = 0;
        if (s.rfind ("receiveVst", 0) == 0 || s.rfind ("sendVstMidi", 0) == 0 || s == "sendVstEvents")
            wanted = s == "receiveVstTimeInfo" ? 1 : -1;
        if (s == "conformsToWindowRules" || s == "bypass")
            wanted = 1;
        if (s == "openCloseAnyThread")
            wanted = -1;
        if (s == "supportsViewDpiScaling" || s == "hasCockosExtensions")
        {
            // Answered by JUCE's layer before it asks the plug-in (see the README).
            report().saw ("canDo \"" + juce::String (s) + "\": " + juce::String (answer) + " (JUCE's own answer)");
            continue;
        }
        report().expectInt (answer, wanted, "canDo \"" + juce::String (s) + "\"");
    }

    for (auto& a : f.arrangements)
    {
        const bool wanted = (a.inputs == 1 && a.outputs == 1) || (a.inputs == 1 && a.outputs == 2) || (a.inputs == 2 && a.outputs == 2);
        report().expect (a.accepted == wanted, "speaker arrangement " + layoutText (a.inputs, a.outputs) + (a.accepted ? " accepted" : " refused"));
    }

    // The numbers of the VST 2.4 interface: arrangement mono 0 with the centre speaker 3, stereo 1
    // with left 1 and right 2.
    for (auto& s : f.speakers)
    {
        const auto what = "effGetSpeakerArrangement after " + layoutText (s.inputs, s.outputs);
        const auto numbers = [] (const std::vector<int>& v)
        {
            juce::StringArray a;
            for (int x : v)
                a.add (juce::String (x));
            return "[" + a.joinIntoString (", ") + "]";
        };
        report().saw (what + ": answer " + juce::String (s.answer) + ", input type " + juce::String (s.inType) + " speakers "
                      + numbers (s.inSpeakers) + ", output type " + juce::String (s.outType) + " speakers " + numbers (s.outSpeakers));
        report().expectInt (s.answer, 1, what + ": answered");
        const auto wanted = [] (int channels) { return channels == 1 ? std::vector<int> { 3 } : std::vector<int> { 1, 2 }; };
        report().expectInt (s.inType, s.inputs == 1 ? 0 : 1, what + ": input arrangement type");
        report().expectInt (s.outType, s.outputs == 1 ? 0 : 1, what + ": output arrangement type");
        report().expect (s.inSpeakers == wanted (s.inputs), what + ": input speaker types " + numbers (wanted (s.inputs)));
        report().expect (s.outSpeakers == wanted (s.outputs), what + ": output speaker types " + numbers (wanted (s.outputs)));
    }

    for (int i = 0; i < (int) f.programNames.size() && i < 4; ++i)
        report().expectText (f.programNames[(size_t) i], expected::programNames[(size_t) i], "effGetProgramNameIndexed " + juce::String (i));

    for (size_t k = 0; k < f.paramNames.size() && k < 8; ++k)
    {
        report().expectText (f.paramNames[k], expected::names[k], "effGetParamName " + juce::String ((int) k));
        report().expectText (f.paramLabels[k], expected::labelsProgram0[k], "effGetParamLabel " + juce::String ((int) k));
        report().expectText (f.paramDisplays[k], expected::textsProgram0[k], "effGetParamDisplay " + juce::String ((int) k));
        report().expectFloat (f.paramValues[k], expected::programValues[0][k], "getParameter " + juce::String ((int) k));
    }

    report().expectInt (f.bypassOn, 1, "effSetBypass (44) on accepted");
    report().expectInt (f.bypassOff, 1, "effSetBypass (44) off accepted");

    const auto block = expected::stateBlock (0);
    report().expectInt (f.chunkSize, (juce::int64) block.getSize(), "effGetChunk size");
    report().expect (f.chunk.size() == block.getSize() && std::memcmp (f.chunk.data(), block.getData(), block.getSize()) == 0,
                     "effGetChunk gives the factory state block byte for byte");

    report().expect (f.programChunk == f.chunk, "effGetChunk for one program gives the same whole state");
    report().saw ("effSetChunk for one program answered " + juce::String (f.setProgramChunk));
    report().expectInt (f.programAfterChunk, 2, "effGetProgram after loading a chunk with program 2");
    report().expectInt (f.programAfterSet, 1, "effGetProgram after effSetProgram 1");
    report().expectFloat (f.levelAfterProgram, 0.69f, "TS Level after effSetProgram 1");
    report().expectText (f.gainLabelAfterProgram, " [15]", "Input Gain label after effSetProgram 1");
}

void checkAaxModule (const Target& t)
{
    report().section ("AAX: the module's entry points and records");
    juce::String error;
    auto m = AaxModule::open (t.binary, error);
    if (! report().expect (m != nullptr, "module loads and starts (" + error + ")"))
        return;

    uint64_t sdk = 0;
    report().expectInt (m->getSdkVersion (&sdk), VESK_ACF_OK, "ACFGetSDKVersion");
    report().expectInt ((juce::int64) sdk, (juce::int64) VESK_AAX_INTERFACE_VERSION, "interface version");

    const auto& c = *m->collection;
    report().saw (juce::String ("effect identifier ") + c.effectIdentifier);
    report().expect (juce::String (c.effectIdentifier).matchesWildcard ("*.*.*", true) && ! juce::String (c.effectIdentifier).containsChar (' '),
                     "effect identifier is reverse-domain");
    report().expectText (c.manufacturerName, "Ferrow", "manufacturer name");
    report().expectInt (c.numPackageNames, 2, "package names added");
    for (uint32_t i = 0; i < c.numPackageNames; ++i)
        report().expectText (c.packageNames[i], "Vesk 1.1", "package name " + juce::String ((int) i));
    report().expectInt (c.packageVersion, 0x00010100, "package version");
    report().expectInt (c.numEffects, 1, "effects in the collection");

    const auto& d = c.effects[0];
    report().expectText (d.description, "Vesk 1.1", "descriptor description");
    report().expectText (d.name, "Vesk 1.1", "descriptor name");
    report().expectInt (d.category, 0x40, "category (Harmonic)");
    report().expectInt (d.manufacturerId, 0x46727277, "manufacturer ID 'Frrw'");
    report().expectInt (d.productId, 0x56736B32, "product ID 'Vsk2'");
    report().expect (d.canBypass != 0, "can bypass");
    report().expect (d.supportsMultiMono != 0, "multi-mono support");
    report().expectInt (d.numMidiInputNodes, 0, "MIDI input nodes");
    report().expectInt (d.numMidiOutputNodes, 0, "MIDI output nodes");

    const uint32_t expectedChannels[3][2] = { { 1, 1 }, { 2, 2 }, { 1, 2 } };
    report().expectInt (d.numProcessingComponents, 3, "processing components");
    for (uint32_t i = 0; i < 3 && i < d.numProcessingComponents; ++i)
    {
        const VeskAaxProcessingComponent* pc = nullptr;
        report().expectInt (m->registerComponent (nullptr, i, &pc), VESK_ACF_OK, "ACFRegisterComponent " + juce::String ((int) i));
        if (pc == nullptr)
            continue;
        report().expect (pc == &d.processingComponents[i], "component " + juce::String ((int) i) + " is the descriptor's");
        report().expectInt (pc->inputChannels, expectedChannels[i][0], "component " + juce::String ((int) i) + " inputs");
        report().expectInt (pc->outputChannels, expectedChannels[i][1], "component " + juce::String ((int) i) + " outputs");
        report().expectInt (pc->nativeId, VESK_FOURCC ('j', 'c', 'a', 'a') + i, "component " + juce::String ((int) i) + " native ID");
        report().expectInt (pc->audioSuiteId, VESK_FOURCC ('j', 'y', 'a', 'a') + i, "component " + juce::String ((int) i) + " AudioSuite ID");
    }
    const VeskAaxProcessingComponent* none = nullptr;
    report().expectInt (m->registerComponent (nullptr, 3, &none), VESK_ACF_E_OUTOFRANGE, "no fourth component");

    const void* factory = nullptr;
    report().expectInt (m->getClassFactory (nullptr, "org.example.other", VESK_AAX_EFFECT_INTERFACE_ID, &factory), VESK_ACF_E_NOINTERFACE,
                        "class factory refuses another effect identifier");
    report().expectInt (m->getClassFactory (nullptr, c.effectIdentifier, "some.other.interface", &factory), VESK_ACF_E_NOINTERFACE,
                        "class factory refuses another interface");

    // Instances: one per component; parameters; unloading only when none is alive.
    const auto& api = *m->effect;
    report().expect (api.create (3, nullptr) == nullptr, "no instance for a fourth component");
    auto* e = api.create (2, nullptr);
    if (! report().expect (e != nullptr, "instance for component 2"))
        return;
    report().expectInt (m->canUnloadNow (nullptr), VESK_ACF_FALSE, "ACFCanUnloadNow with an instance alive");
    report().expectInt (api.getNumParameters (e), 9, "parameters (eight and the master bypass)");
    report().expectInt (api.getMasterBypassIndex (e), 8, "master bypass index");
    for (int i = 0; i < api.getNumParameters (e); ++i)
    {
        VeskAaxParameterInfo info {};
        api.getParameterInfo (e, i, &info);
        report().saw ("parameter " + juce::String (i) + ": id \"" + info.identifier + "\", name \"" + info.name + "\", short \""
                      + info.shortName + "\", default " + juce::String (info.defaultValue, 6) + ", steps " + juce::String (info.numSteps));
        const juce::String n = i < 8 ? juce::String (expected::names[(size_t) i]) : juce::String ("Master Bypass");
        report().expectText (info.name, n, "parameter " + juce::String (i) + " name");
        report().expectText (info.shortName, i < 8 ? n : juce::String ("Bypass"), "parameter " + juce::String (i) + " short name");
        report().expect (info.minimum == 0.0f && info.maximum == 1.0f && info.taper == VESK_AAX_TAPER_LINEAR && info.displayDecimals == 3,
                         "parameter " + juce::String (i) + " linear 0..1, three decimals");
        report().expect (info.numSteps > 1000, "parameter " + juce::String (i) + " continuous");
        report().expect (info.automatable != 0, "parameter " + juce::String (i) + " automatable");
    }
    VeskAaxParameterInfo info {};
    report().expectInt (api.getParameterInfo (e, 9, &info), VESK_ACF_E_OUTOFRANGE, "no tenth parameter");
    report().expectInt (api.getLatencySamples (e), 15, "latency (samples)");
    report().expect (api.getTailSeconds (e) == 0.0, "tail 0 s");
    api.destroy (e);
    report().expectInt (m->canUnloadNow (nullptr), VESK_ACF_OK, "ACFCanUnloadNow with no instance");
}

void checkIdentity (const Target& t, Loader& loader)
{
    report().section (formatName (t.format) + ": identity");
    const auto d = loader.description();
    report().saw ("name \"" + d.name + "\", descriptive \"" + d.descriptiveName + "\", format " + d.pluginFormatName + ", category \""
                  + d.category + "\", manufacturer \"" + d.manufacturerName + "\", version \"" + d.version + "\", uid 0x"
                  + juce::String::toHexString (d.uniqueId) + ", " + juce::String (d.numInputChannels) + " in / "
                  + juce::String (d.numOutputChannels) + " out, instrument " + (d.isInstrument ? "yes" : "no") + ", file "
                  + d.fileOrIdentifier);
    if (t.format == Format::vst2)
    {
        // A Linux VST 2 host names the plug-in after its file; the effect name is the long name.
        report().expectText (d.name, "Vesk", "name (the file's)");
        report().expectText (d.descriptiveName, "Vesk 1.1", "effect name");
    }
    else
    {
        report().expectText (d.name, "Vesk 1.1", "name");
    }
    report().expectText (d.manufacturerName, "Ferrow", "manufacturer");
    report().expect (! d.isInstrument, "not an instrument");
    report().expectInt (d.numInputChannels, 2, "inputs");
    report().expectInt (d.numOutputChannels, 2, "outputs");

    switch (t.format)
    {
        case Format::vst2:
            report().expectInt (d.uniqueId, 0x56736B32, "unique ID 'Vsk2'");
            report().expectText (d.category, "Effect", "category");
            // JUCE's host reads a vendor version below 10000 digit by digit.
            report().expectText (d.version, "0.1.1.0", "version as JUCE's host reads 110");
            break;
        case Format::vst3:
            report().expectText (d.version, "1.1.0", "version");
            report().expectText (d.category, "Fx|Distortion", "category");
            break;
        case Format::lv2:
            // JUCE's LV2 host takes no version from the metadata (lv2:minorVersion 1, lv2:microVersion 0).
            report().expectText (d.fileOrIdentifier, t.lv2Uri, "URI");
            report().expect (juce::URL (d.fileOrIdentifier).isWellFormed() && d.fileOrIdentifier.startsWith ("https://")
                             && ! d.fileOrIdentifier.containsChar (' '), "URI is a well-formed https URI");
            break;
        case Format::aax:
            report().expectText (d.version, "1.1.0", "version");
            report().expectText (d.category, "Harmonic", "category");
            report().expectInt (d.uniqueId, 0x56736B32, "product ID 'Vsk2'");
            break;
    }

    auto p = loader.create (48000.0, 512);
    if (p == nullptr)
        return;

    report().expect (! p->acceptsMidi() && ! p->producesMidi(), "no MIDI in or out");
    report().expect (p->hasEditor(), "has an editor");
    report().expect (p->getTailLengthSeconds() == 0.0, "tail 0 s");

    checkLayouts (t, *p);
    if (t.format == Format::vst2)
        checkVst2Binary (*p);

    p->prepareToPlay (48000.0, 512);
    settle (*p);
    report().expectInt (p->getLatencySamples(), 15, "latency reported to the host (samples)");

    checkParameters (t, *p);
    checkPrograms (t, *p);
    p->releaseResources();
}
}
