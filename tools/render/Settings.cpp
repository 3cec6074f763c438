#include "Settings.h"

#include "processor/StateCodec.h"

namespace Render
{
namespace
{
juce::String quotedList (const juce::StringArray& items)
{
    juce::StringArray quoted;
    for (const auto& s : items)
        quoted.add ("\"" + s + "\"");
    return quoted.joinIntoString (", ");
}

juce::StringArray programNames (Processor& p)
{
    juce::StringArray names;
    for (int i = 0; i < p.getNumPrograms(); ++i)
        names.add (p.getProgramName (i));
    return names;
}

juce::StringArray parameterNames (const Processor& p)
{
    juce::StringArray names;
    for (auto* param : p.parameters)
        names.add (param->getName (1000));
    return names;
}

bool isSwitch (unsigned kind)
{
    return kind == FloatParameter::onOff || kind == FloatParameter::processing
        || kind == FloatParameter::quality || kind == FloatParameter::model;
}

std::optional<Failure> readState (const juce::String& path, juce::MemoryBlock& block)
{
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (path);
    if (! file.existsAsFile())
        return Failure::input (path + ": no such state file");
    if (file.getSize() > StateCodec::maxBlockSize)
        return Failure::input (path + ": not a Vesk state (too large)");
    if (! file.loadFileAsData (block))
        return Failure::input (path + ": cannot read the state file");

    std::array<float, StateCodec::numParameters> defaults {};
    if (! StateCodec::read (block.getData(), (int) block.getSize(), defaults))
        return Failure::input (path + ": not a Vesk state (expected the block a host saves)");
    return std::nullopt;
}
}

std::pair<juce::String, juce::String> switchWords (unsigned kind)
{
    switch (kind)
    {
        case FloatParameter::onOff: return { "Disabled", "Enabled" };
        case FloatParameter::processing: return { "Mono", "Stereo" };
        case FloatParameter::quality: return { "Low", "High" };
        case FloatParameter::model: return { "Original", "Modded" };
        default: return {};
    }
}

std::optional<int> findProgram (Processor& processor, const juce::String& text)
{
    const auto wanted = text.trim();
    const int count = processor.getNumPrograms();

    if (wanted.containsOnly ("0123456789"))
    {
        const int number = wanted.getIntValue();
        if (wanted.length() <= 3 && number >= 1 && number <= count)
            return number - 1;
        return std::nullopt;
    }

    for (int i = 0; i < count; ++i)
        if (processor.getProgramName (i).equalsIgnoreCase (wanted))
            return i;

    // The name without its leading number: "Fat" for "4 Fat".
    for (int i = 0; i < count; ++i)
    {
        const auto name = processor.getProgramName (i);
        const auto rest = name.trimCharactersAtStart ("0123456789").trimStart();
        if (rest != name && rest.equalsIgnoreCase (wanted))
            return i;
    }
    return std::nullopt;
}

int findParameter (const Processor& processor, const juce::String& name)
{
    for (size_t i = 0; i < processor.parameters.size(); ++i)
        if (processor.parameters[i]->getName (1000).equalsIgnoreCase (name.trim()))
            return (int) i;
    return -1;
}

std::optional<float> parseParameterValue (const FloatParameter& parameter, const juce::String& text)
{
    if (isSwitch (parameter.getKind()))
    {
        const auto words = switchWords (parameter.getKind());
        if (text.trim().equalsIgnoreCase (words.first))
            return 0.0f;
        if (text.trim().equalsIgnoreCase (words.second))
            return 1.0f;
    }

    const auto v = parseNumber (text);
    if (! v || *v < 0.0 || *v > 1.0)
        return std::nullopt;
    return (float) *v;
}

std::optional<Failure> resolveSettings (const ProcessorSettings& settings, ResolvedSettings& resolved)
{
    resolved = {};
    Processor scratch;

    if (settings.stateFile.isNotEmpty())
    {
        juce::MemoryBlock block;
        if (auto failure = readState (settings.stateFile, block))
            return failure;
        scratch.setStateInformation (block.getData(), (int) block.getSize());
        resolved.state = std::move (block);
    }

    if (settings.program.isNotEmpty())
    {
        const auto slot = findProgram (scratch, settings.program);
        if (! slot)
            return Failure::usage ("unknown program '" + settings.program + "' (use 1 to "
                                   + juce::String (scratch.getNumPrograms()) + " or a name: "
                                   + quotedList (programNames (scratch)) + ")");
        resolved.program = *slot;
    }

    for (const auto& change : settings.changes)
    {
        const int index = findParameter (scratch, change.name);
        if (index < 0)
            return Failure::usage (change.option + ": unknown parameter '" + change.name
                                   + "' (parameters: " + quotedList (parameterNames (scratch)) + ")");

        const auto& parameter = *scratch.parameters[(size_t) index];
        const auto value = parseParameterValue (parameter, change.value);
        if (! value)
        {
            juce::String expected = "a number from 0 to 1";
            const auto words = switchWords (parameter.getKind());
            if (words.first.isNotEmpty())
                expected << ", " << words.first << " or " << words.second;
            return Failure::usage (change.option + ": '" + change.value + "' is not a value for \""
                                   + parameter.getName (1000) + "\" (" + expected + ")");
        }
        resolved.values.emplace_back (index, *value);
    }

    return std::nullopt;
}

void applySettings (Processor& processor, const ResolvedSettings& settings)
{
    if (settings.state)
        processor.setStateInformation (settings.state->getData(), (int) settings.state->getSize());
    if (settings.program >= 0)
        processor.setCurrentProgram (settings.program);
    for (const auto& [index, value] : settings.values)
        processor.parameters[(size_t) index]->setValue (value);
}

juce::String describeSettings (const Processor& processor, const juce::String& sep)
{
    const auto step = [&] (unsigned kind) {
        return processor.parameters[kind]->getLabel().trim().removeCharacters ("[]");
    };
    const auto label = [&] (unsigned kind) { return processor.parameters[kind]->getLabel(); };

    juce::String s;
    if (processor.parameters[FloatParameter::onOff]->getValue() < 0.5f)
        s << "Off (dry)" << sep;
    s << "Drive " << step (FloatParameter::drive) << sep << "Tone " << step (FloatParameter::tone)
      << sep << "Level " << step (FloatParameter::level) << sep << "Input Gain " << step (FloatParameter::inputGain)
      << sep << label (FloatParameter::model) << sep << label (FloatParameter::quality) << " quality";
    if (processor.parameters[FloatParameter::processing]->getValue() >= 0.5f)
        s << sep << "Stereo";
    return s;
}

juce::String listProgramsAndParameters (Processor& processor)
{
    static const std::pair<const char*, const char*> shortForms[] = {
        { "Vesk", "--off" }, { "TS Drive", "--drive" }, { "TS Tone", "--tone" }, { "TS Level", "--level" },
        { "Input Gain", "--gain" }, { "Processing", "--stereo, --mono" }, { "Quality", "--quality" },
        { "TS Model", "--model" },
    };

    juce::String s;
    s << "Programs (--program NUMBER or NAME):\n";
    for (int i = 0; i < processor.getNumPrograms(); ++i)
    {
        processor.setCurrentProgram (i);
        s << "  " << juce::String (i + 1) << "  \"" << processor.getProgramName (i) << "\"  "
          << describeSettings (processor) << "\n";
    }
    processor.setCurrentProgram (0);

    s << "\nParameters (--set \"NAME=VALUE\", VALUE normalised 0..1):\n";
    for (auto* p : processor.parameters)
    {
        const auto name = p->getName (1000);
        juce::String line = "  \"" + name + "\"";
        line = line.paddedRight (' ', 16);
        line << "default " << juce::String (p->getDefaultValue(), 2);
        const auto words = switchWords (p->getKind());
        if (words.first.isNotEmpty())
            line << "  (0 " << words.first << ", 1 " << words.second << ")";
        for (const auto& [param, forms] : shortForms)
            if (name == param)
                line << "  short form: " << forms;
        s << line << "\n";
    }
    return s;
}
}
