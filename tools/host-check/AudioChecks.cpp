#include "HostCheck.h"
#include "ScenarioRun.h"

namespace hostcheck
{
namespace
{
juce::AudioProcessor::BusesLayout layoutOf (int inputs, int outputs)
{
    juce::AudioProcessor::BusesLayout l;
    l.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (inputs));
    l.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (outputs));
    return l;
}

int hostProgramIndex (juce::AudioPluginInstance& p, int factoryProgram)
{
    // LV2 lists its presets in its own order; the others keep the plug-in's.
    for (int i = 0; i < p.getNumPrograms(); ++i)
        if (p.getProgramName (i) == expected::programNames[(size_t) factoryProgram])
            return i;
    return factoryProgram;
}

juce::String describe (const Scenario& s)
{
    juce::String d;
    d << s.inputs << "->" << s.outputs << " @" << s.sampleRate << " prepare " << s.prepareBlock << " blocks ";
    for (size_t i = 0; i < s.blocks.size(); ++i)
        d << (i ? "," : "") << s.blocks[i];
    if (s.program >= 0)
        d << " program " << s.program;
    for (auto& [k, v] : s.settings)
        d << " " << expected::names[(size_t) k] << "=" << v;
    for (auto& m : s.moves)
        d << ", block " << m.block << ": " << expected::names[(size_t) m.parameter] << "=" << m.value;
    if (s.bypass)
        d << " bypassed";
    return d;
}

// Where two runs first differ, or -1.
juce::String firstDifference (const Channels& a, const Channels& b)
{
    if (a.size() != b.size())
        return "channel count " + juce::String ((int) a.size()) + " vs " + juce::String ((int) b.size());
    for (size_t c = 0; c < a.size(); ++c)
    {
        if (a[c].size() != b[c].size())
            return "length of channel " + juce::String ((int) c);
        for (size_t n = 0; n < a[c].size(); ++n)
            if (std::memcmp (&a[c][n], &b[c][n], sizeof (float)) != 0)
                return "channel " + juce::String ((int) c) + " sample " + juce::String ((int) n) + ": " + juce::String (a[c][n], 9)
                     + " vs reference " + juce::String (b[c][n], 9);
    }
    return {};
}

bool sameChannel (const Channels& out, size_t a, size_t b)
{
    return out.size() > std::max (a, b) && out[a].size() == out[b].size()
        && std::memcmp (out[a].data(), out[b].data(), out[a].size() * sizeof (float)) == 0;
}

// The dry path: every output is its input (outputs beyond the inputs: input 0) 15 samples later.
bool isDelayedDry (const Scenario& s, const Channels& out)
{
    constexpr int delay = 15;
    for (int c = 0; c < s.outputs; ++c)
    {
        const auto in = testSignal (s, c < s.inputs ? c : 0);
        for (int n = 0; n < s.totalSamples; ++n)
        {
            const float wanted = n < delay ? 0.0f : in[(size_t) (n - delay)];
            if (std::memcmp (&out[(size_t) c][(size_t) n], &wanted, sizeof (float)) != 0)
                return false;
        }
    }
    return true;
}
}

bool applyLayout (juce::AudioPluginInstance& p, int inputs, int outputs)
{
    return p.setBusesLayout (layoutOf (inputs, outputs));
}

std::unique_ptr<juce::AudioPluginInstance> preparedInstance (Loader& loader, const Scenario& s)
{
    auto p = loader.create (s.sampleRate, s.prepareBlock);
    if (p == nullptr)
        return {};
    if (! applyLayout (*p, s.inputs, s.outputs))
        return {};
    p->setRateAndBufferSizeDetails (s.sampleRate, s.prepareBlock);
    p->prepareToPlay (s.sampleRate, s.prepareBlock);
    return p;
}

void settle (juce::AudioPluginInstance& p, int blocks)
{
    const int n = juce::jmax (1, juce::jmin (p.getBlockSize(), 256));
    juce::AudioBuffer<float> buffer (juce::jmax (p.getTotalNumInputChannels(), p.getTotalNumOutputChannels()), n);
    juce::MidiBuffer midi;
    for (int i = 0; i < blocks; ++i)
    {
        buffer.clear();
        p.processBlock (buffer, midi);
    }
}

Channels runOn (juce::AudioPluginInstance& p, const Scenario& s)
{
    if (s.program >= 0)
        p.setCurrentProgram (hostProgramIndex (p, s.program));
    const auto params = findParameters (p);
    for (auto& [k, v] : s.settings)
        if (params[(size_t) k] != nullptr)
            params[(size_t) k]->setValue (v);

    // A host bypasses through the format's bypass control where there is one (JUCE's LV2 host
    // leaves setting it to the caller), then calls processBlockBypassed.
    if (s.bypass)
        if (auto* bypass = p.getBypassParameter())
            bypass->setValue (1.0f);

    return playScenario (p, s, juce::jmax (s.inputs, s.outputs, p.getTotalNumInputChannels(), p.getTotalNumOutputChannels()),
                         [&] (int index, float value)
                         {
                             if (params[(size_t) index] != nullptr)
                                 params[(size_t) index]->setValue (value);
                         });
}

bool runReference (const Target& target, const Scenario& s, Channels& out)
{
    const auto file = target.scratch.getNonexistentChildFile ("reference", ".raw");
    juce::StringArray args;
    args.add (target.reference.getFullPathName());
    for (auto& a : s.toArguments())
        args.add (a);
    args.add ("--output");
    args.add (file.getFullPathName());

    juce::ChildProcess child;
    if (! child.start (args, juce::ChildProcess::wantStdErr))
        return false;
    const auto messages = child.readAllProcessOutput();
    if (! child.waitForProcessToFinish (600000) || child.getExitCode() != 0)
    {
        report().saw ("reference failed: " + messages);
        return false;
    }

    juce::MemoryBlock raw;
    file.loadFileAsData (raw);
    file.deleteFile();
    if (raw.getSize() != (size_t) s.outputs * (size_t) s.totalSamples * sizeof (float))
        return false;
    out.assign ((size_t) s.outputs, std::vector<float> ((size_t) s.totalSamples));
    for (int c = 0; c < s.outputs; ++c)
        std::memcpy (out[(size_t) c].data(), static_cast<const float*> (raw.getData()) + (size_t) c * (size_t) s.totalSamples,
                     (size_t) s.totalSamples * sizeof (float));
    return true;
}

void checkAudio (const Target& t, Loader& loader)
{
    report().section (formatName (t.format) + ": audio against the in-process Processor");

    std::vector<std::pair<int, int>> layouts { { 1, 1 }, { 1, 2 }, { 2, 2 } };
    if (t.format == Format::lv2)
        layouts = { { 2, 2 } };   // the only layout the LV2 metadata declares

    auto compare = [&] (const Scenario& s, Channels* keep = nullptr) -> bool
    {
        auto p = preparedInstance (loader, s);
        if (! report().expect (p != nullptr, "instance for " + describe (s)))
            return false;
        const auto hosted = runOn (*p, s);
        Channels reference;
        if (! report().expect (runReference (t, s, reference), "reference run for " + describe (s)))
            return false;
        const auto diff = firstDifference (hosted, reference);
        if (keep != nullptr)
            *keep = hosted;
        return report().expect (diff.isEmpty(), "bit-identical: " + describe (s) + (diff.isEmpty() ? "" : " -- first difference " + diff));
    };

    for (auto [in, out] : layouts)
    {
        Scenario base;
        base.inputs = in;
        base.outputs = out;
        base.sampleRate = 48000.0;
        base.prepareBlock = 512;
        base.blocks = { 512 };
        base.totalSamples = 9600;

        Channels o;
        compare (base, &o);
        if (out == 2 && o.size() == 2)
            report().expect (sameChannel (o, 0, 1), "Mono processing: both outputs identical " + juce::String (in) + "->2");

        auto shaped = base;
        shaped.settings = { { 1, 0.75f }, { 2, 0.3f }, { 3, 0.6f }, { 4, 0.5f }, { 7, 1.0f } };
        compare (shaped);

        if (in == 2)
        {
            auto stereo = shaped;
            stereo.settings.push_back ({ 5, 1.0f });
            Channels so;
            compare (stereo, &so);
            report().expect (so.size() == 2 && ! sameChannel (so, 0, 1), "Stereo processing: two independent outputs");
        }

        auto low = shaped;
        low.settings.push_back ({ 6, 0.0f });
        compare (low);

        auto off = base;
        off.settings = { { 0, 0.0f } };
        Channels offOut;
        if (compare (off, &offOut))
            report().expect (isDelayedDry (off, offOut), "pedal off: the input 15 samples later " + juce::String (in) + "->" + juce::String (out));

        auto bypass = shaped;
        bypass.bypass = true;
        Channels bypassOut;
        compare (bypass, &bypassOut);
        report().expect (isDelayedDry (bypass, bypassOut), "host bypass: the input 15 samples later " + juce::String (in) + "->" + juce::String (out));

        auto ragged = shaped;
        ragged.blocks = { 1, 7, 64, 333, 512, 3, 128 };
        compare (ragged);

        // Knobs and switches moved while the audio runs: each change fades from the old sound to
        // the new one, and the plug-in must fade exactly as the processor does in process. Two
        // moves land inside one fade (block sizes 64 at 48 kHz, a fade is 10 ms).
        auto moved = shaped;
        moved.blocks = { 64 };
        moved.moves = { { 20, 3, 0.05f }, { 40, 2, 0.9f }, { 44, 1, 0.2f }, { 70, 7, 0.0f },
                        { 85, 6, 0.0f }, { 98, 0, 0.0f }, { 106, 0, 1.0f } };
        compare (moved);
    }

    Scenario programs;
    programs.totalSamples = 9600;
    for (int prog = 1; prog < 4; ++prog)
    {
        programs.program = prog;
        if (t.format != Format::aax)
            compare (programs);
    }

    Scenario fast;
    fast.sampleRate = 96000.0;
    fast.totalSamples = 9600;
    fast.settings = { { 1, 0.5f }, { 4, 0.8f } };
    compare (fast);
}
}
