#include "HostCheck.h"

namespace hostcheck
{
namespace
{
juce::MemoryBlock stateOf (juce::AudioPluginInstance& p)
{
    juce::MemoryBlock b;
    p.getStateInformation (b);
    return b;
}

juce::String preview (const juce::MemoryBlock& b)
{
    auto s = b.toString().replaceCharacters ("\r\n\t", "   ");
    return juce::String ((int) b.getSize()) + " bytes: " + (s.length() > 160 ? s.substring (0, 160) + "..." : s);
}

bool sameAudio (const Channels& a, const Channels& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t c = 0; c < a.size(); ++c)
        if (a[c].size() != b[c].size() || std::memcmp (a[c].data(), b[c].data(), a[c].size() * sizeof (float)) != 0)
            return false;
    return true;
}
}

void checkState (const Target& t, Loader& loader)
{
    report().section (formatName (t.format) + ": state");

    Scenario s;
    s.totalSamples = 9600;
    const std::vector<std::pair<int, float>> settings { { 1, 0.75f }, { 2, 0.3f }, { 3, 0.6f }, { 4, 0.5f }, { 5, 1.0f }, { 7, 1.0f } };

    auto a = preparedInstance (loader, s);
    if (! report().expect (a != nullptr, "instance A"))
        return;

    const auto factory = stateOf (*a);
    report().saw ("host state after loading: " + preview (factory));
    const auto block = findStateBlock (factory);
    report().expect (block == expected::stateBlock (0), "the plug-in's block in the host state is the factory state, byte for byte");
    if (block != expected::stateBlock (0))
        report().saw ("plug-in block: " + preview (block));

    // Save in one instance, restore into a fresh one.
    const auto params = findParameters (*a);
    for (auto& [k, v] : settings)
        params[(size_t) k]->setValue (v);
    settle (*a);
    const auto saved = stateOf (*a);
    const auto savedBlock = findStateBlock (saved);
    report().expect (! savedBlock.isEmpty() && savedBlock != block, "the saved state carries the changed values");
    report().saw ("plug-in block after changes: " + preview (savedBlock));

    auto b = preparedInstance (loader, s);
    if (! report().expect (b != nullptr, "instance B"))
        return;
    b->setStateInformation (saved.getData(), (int) saved.getSize());
    const auto restored = stateOf (*b);
    report().expect (restored == saved, "restored state: identical host bytes (" + juce::String ((int) restored.getSize()) + ")");
    report().expect (findStateBlock (restored) == savedBlock, "restored state: identical plug-in block");

    // Identical audio: the restored instance against the reference with the same settings.
    const auto restoredAudio = runOn (*b, s);

    const auto bParams = findParameters (*b);
    bool valuesMatch = true;
    for (size_t k = 0; k < 8; ++k)
        valuesMatch = valuesMatch && bParams[k] != nullptr && bParams[k]->getValue() == params[k]->getValue();
    // LV2 included: the plug-in sends each new value as a patch:Set message with its next block.
    report().expect (valuesMatch, "restored instance shows the saved parameter values");
    auto withSettings = s;
    withSettings.settings = settings;
    Channels reference;
    if (report().expect (runReference (t, withSettings, reference), "reference run"))
        report().expect (sameAudio (restoredAudio, reference), "restored instance: audio bit-identical to the reference with the same settings");

    // get -> randomise -> set -> get gives the first bytes, from the factory state and from a changed one.
    juce::Random random (1234);
    for (int round = 0; round < 2; ++round)
    {
        auto c = preparedInstance (loader, s);
        if (c == nullptr)
            return;
        const auto cParams = findParameters (*c);
        if (round == 1)
            c->setStateInformation (saved.getData(), (int) saved.getSize());
        const auto first = stateOf (*c);
        for (int i = 0; i < 40; ++i)
            if (auto* param = cParams[(size_t) random.nextInt (8)])
                param->setValue (random.nextFloat());
        if (t.format != Format::aax && random.nextBool())
            c->setCurrentProgram (random.nextInt (4));
        settle (*c);
        report().expect (stateOf (*c) != first, "randomised state differs (round " + juce::String (round) + ")");
        c->setStateInformation (first.getData(), (int) first.getSize());
        const auto again = stateOf (*c);
        report().expect (again == first, "get, randomise, set, get: the first bytes (round " + juce::String (round) + ")");
    }

    if (t.format == Format::aax)
    {
        // AAX hosts keep presets as chunks: each factory program is a chunk with its number.
        for (int prog = 0; prog < 4; ++prog)
        {
            auto c = preparedInstance (loader, s);
            if (c == nullptr)
                return;
            const auto chunk = expected::stateBlock (prog);
            c->setStateInformation (chunk.getData(), (int) chunk.getSize());
            const auto cParams = findParameters (*c);
            bool match = true;
            for (size_t k = 0; k < 8; ++k)
                match = match && cParams[k]->getValue() == expected::programValues[(size_t) prog][k];
            report().expect (match, "chunk with program " + juce::String (prog) + " selects \"" + expected::programNames[(size_t) prog] + "\"");
            report().expect (stateOf (*c) == chunk, "chunk with program " + juce::String (prog) + " reads back byte for byte");

            const auto audio = runOn (*c, s);
            auto programmed = s;
            programmed.program = prog;
            Channels ref;
            if (runReference (t, programmed, ref))
                report().expect (sameAudio (audio, ref), "program " + juce::String (prog) + " by chunk: audio bit-identical to the reference");
        }
    }
}
}
