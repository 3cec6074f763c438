#include "Settings.h"
#include "support/RenderFixture.h"

#include "processor/StateCodec.h"

#include <gtest/gtest.h>

using namespace Render;

namespace
{
ProcessorSettings withChanges (std::vector<ParameterChange> changes, juce::String program = {}, juce::String state = {})
{
    ProcessorSettings s;
    s.changes = std::move (changes);
    s.program = std::move (program);
    s.stateFile = std::move (state);
    return s;
}

std::optional<Failure> resolve (const ProcessorSettings& s, ResolvedSettings& r)
{
    return resolveSettings (s, r);
}
}

TEST (RenderSettings, ProgramsByNumberOrNameInAnyLetterCase)
{
    Processor p;
    EXPECT_EQ (findProgram (p, "1"), 0);
    EXPECT_EQ (findProgram (p, "4"), 3);
    EXPECT_EQ (findProgram (p, "4 Fat"), 3);
    EXPECT_EQ (findProgram (p, "4 fat"), 3);
    EXPECT_EQ (findProgram (p, "fat"), 3);
    EXPECT_EQ (findProgram (p, " Clean "), 2);
    EXPECT_EQ (findProgram (p, "ts9 drive@min"), 1);
    EXPECT_EQ (findProgram (p, "2 TS9 Drive@Min"), 1);
    for (auto* bad : { "0", "5", "-1", "Fa", "Fat 4", "00000000001", "1 Fat" })
        EXPECT_FALSE (findProgram (p, bad).has_value()) << bad;
}

TEST (RenderSettings, UnknownNamesAndBadValuesAreUsageErrorsListingWhatExists)
{
    ResolvedSettings r;

    auto f = resolve (withChanges ({}, "Crunch"), r);
    ASSERT_TRUE (f);
    EXPECT_EQ (f->exitCode, exitUsage);
    EXPECT_TRUE (f->message.contains ("unknown program 'Crunch'"));
    EXPECT_TRUE (f->message.contains ("\"4 Fat\""));

    f = resolve (withChanges ({ { "TS Drve", "0.5", "--set" } }), r);
    ASSERT_TRUE (f);
    EXPECT_EQ (f->exitCode, exitUsage);
    EXPECT_TRUE (f->message.startsWith ("--set: unknown parameter 'TS Drve'"));
    EXPECT_TRUE (f->message.contains ("\"Input Gain\""));

    for (auto* bad : { "1.01", "-0.01", "half", "", "nan", "Modded" })
    {
        f = resolve (withChanges ({ { "TS Drive", bad, "--drive" } }), r);
        ASSERT_TRUE (f) << bad;
        EXPECT_EQ (f->exitCode, exitUsage);
        EXPECT_TRUE (f->message.startsWith ("--drive: '" + juce::String (bad) + "' is not a value for \"TS Drive\"")) << f->message;
    }

    f = resolve (withChanges ({ { "TS Model", "808", "--model" } }), r);
    ASSERT_TRUE (f);
    EXPECT_TRUE (f->message.contains ("Original or Modded"));
}

TEST (RenderSettings, SwitchWordsAreTheParametersOwnLabels)
{
    Processor p;
    for (auto* param : p.parameters)
    {
        const auto words = switchWords (param->getKind());
        if (words.first.isEmpty())
            continue;
        param->setValue (0.0f);
        EXPECT_EQ (param->getLabel(), words.first);
        param->setValue (1.0f);
        EXPECT_EQ (param->getLabel(), words.second);

        EXPECT_EQ (parseParameterValue (*param, words.first.toLowerCase()), 0.0f);
        EXPECT_EQ (parseParameterValue (*param, words.second.toUpperCase()), 1.0f);
    }
    // Pots take numbers only.
    EXPECT_FALSE (parseParameterValue (*p.parameters[FloatParameter::drive], "High"));
    EXPECT_EQ (parseParameterValue (*p.parameters[FloatParameter::drive], "1"), 1.0f);
}

TEST (RenderSettings, StateThenProgramThenChangesInCommandLineOrder)
{
    RenderFixture::TempFolder folder;

    // A state that selects program 3 ("3 Clean") and renames slot 3.
    Processor source;
    source.setCurrentProgram (2);
    source.changeProgramName (3, "My Fat");
    source.parameters[FloatParameter::tone]->setValue (0.125f);
    juce::MemoryBlock block;
    source.getStateInformation (block);
    ASSERT_TRUE (folder.file ("s.state").replaceWithData (block.getData(), block.getSize()));

    ResolvedSettings r;
    ASSERT_FALSE (resolve (withChanges ({}, {}, folder.path ("s.state")), r));
    Processor a;
    applySettings (a, r);
    EXPECT_EQ (a.getCurrentProgram(), 2);
    EXPECT_EQ (a.parameters[FloatParameter::tone]->getValue(), 0.125f);

    // Program names are looked up after the state is loaded.
    ASSERT_FALSE (resolve (withChanges ({ { "ts drive", "0.25", "--set" }, { "TS Drive", "0.5", "--drive" } }, "my fat",
                                        folder.path ("s.state")), r));
    EXPECT_EQ (r.program, 3);
    Processor b;
    applySettings (b, r);
    EXPECT_EQ (b.getCurrentProgram(), 3);
    EXPECT_EQ (b.getProgramName (3), "My Fat");
    EXPECT_EQ (b.parameters[FloatParameter::drive]->getValue(), 0.5f);   // the later change wins
    EXPECT_EQ (b.parameters[FloatParameter::drive]->getValueForProgram (0), 0.0f);   // other slots untouched

    // Without the state the name does not exist.
    EXPECT_TRUE (resolve (withChanges ({}, "my fat"), r));
}

TEST (RenderSettings, StateFilesThatAreNotStatesAreInputErrors)
{
    RenderFixture::TempFolder folder;
    ResolvedSettings r;

    auto f = resolve (withChanges ({}, {}, folder.path ("missing.state")), r);
    ASSERT_TRUE (f);
    EXPECT_EQ (f->exitCode, exitInput);
    EXPECT_TRUE (f->message.contains ("no such state file"));

    folder.file ("text.state").replaceWithText ("<Vesk cprog=\"1\"/>");
    f = resolve (withChanges ({}, {}, folder.path ("text.state")), r);
    ASSERT_TRUE (f);
    EXPECT_EQ (f->exitCode, exitInput);
    EXPECT_TRUE (f->message.contains ("not a Vesk state"));

    // A well-formed block whose root is another plug-in's.
    juce::MemoryBlock other;
    StateCodec::writeBlock (juce::XmlElement ("Other"), other);
    folder.file ("other.state").replaceWithData (other.getData(), other.getSize());
    f = resolve (withChanges ({}, {}, folder.path ("other.state")), r);
    ASSERT_TRUE (f);
    EXPECT_EQ (f->exitCode, exitInput);

    ASSERT_TRUE (folder.file ("dir.state").createDirectory());
    EXPECT_TRUE (resolve (withChanges ({}, {}, folder.path ("dir.state")), r));
}

TEST (RenderSettings, DescriptionReadsTheCurrentProgram)
{
    Processor p;
    p.setCurrentProgram (3);
    EXPECT_EQ (describeSettings (p), "Drive 32 - Tone 16 - Level 16 - Input Gain 24 - Original - High quality");
    p.parameters[FloatParameter::onOff]->setValue (0.0f);
    p.parameters[FloatParameter::processing]->setValue (1.0f);
    EXPECT_TRUE (describeSettings (p, ", ").startsWith ("Off (dry), Drive 32"));
    EXPECT_TRUE (describeSettings (p, ", ").endsWith (", Stereo"));
}
