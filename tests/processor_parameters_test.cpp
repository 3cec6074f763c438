#include "support/ProcessorFixture.h"

#include <gtest/gtest.h>

namespace
{
FloatParameter& param (Processor& p, int k) { return *p.parameters[(size_t) k]; }
}

TEST (ProcessorIdentity, ReportsNameChannelsTailMidiAndLatency)
{
    Processor p;
    EXPECT_EQ (p.getName(), "Vesk 1.1");
    EXPECT_EQ (p.getInputChannelName (0), "1");
    EXPECT_EQ (p.getOutputChannelName (1), "2");
    EXPECT_TRUE (p.isInputChannelStereoPair (0));
    EXPECT_TRUE (p.isOutputChannelStereoPair (1));
    EXPECT_FALSE (p.silenceInProducesSilenceOut());
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (p.acceptsMidi());
    EXPECT_FALSE (p.producesMidi());
    EXPECT_TRUE (p.hasEditor());
    EXPECT_EQ (p.getLatencySamples(), 15);
}

TEST (ProcessorIdentity, AcceptsOnlyTheThreeMainLayouts)
{
    Processor p;
    auto layout = [] (int in, int out)
    {
        juce::AudioProcessor::BusesLayout l;
        l.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (in));
        l.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (out));
        return l;
    };
    EXPECT_TRUE (p.checkBusesLayoutSupported (layout (1, 1)));
    EXPECT_TRUE (p.checkBusesLayoutSupported (layout (1, 2)));
    EXPECT_TRUE (p.checkBusesLayoutSupported (layout (2, 2)));
    EXPECT_FALSE (p.checkBusesLayoutSupported (layout (2, 1)));
    EXPECT_FALSE (p.checkBusesLayoutSupported (layout (0, 2)));
    EXPECT_FALSE (p.checkBusesLayoutSupported (layout (2, 6)));
}

TEST (Parameters, NamesDefaultsAndIndicesInOrder)
{
    Processor p;
    const char* names[] = { "Vesk", "TS Drive", "TS Tone", "TS Level", "Input Gain", "Processing", "Quality", "TS Model" };
    const float defaults[] = { 1.0f, 0.0f, 0.5f, 1.0f, 0.33f, 0.0f, 1.0f, 0.0f };
    ASSERT_EQ (p.getParameters().size(), 8);
    for (int k = 0; k < 8; ++k)
    {
        auto* fp = p.getParameters()[k];
        EXPECT_EQ (fp->getParameterIndex(), k);
        EXPECT_EQ (fp, p.parameters[(size_t) k]);
        EXPECT_EQ (fp->getName (3), names[k]) << "the whole name, whatever the length asked";
        EXPECT_EQ (fp->getDefaultValue(), defaults[k]);
        EXPECT_EQ (fp->getNumSteps(), 2147483647);
        EXPECT_TRUE (fp->isAutomatable());
        EXPECT_FALSE (fp->isMetaParameter());
    }
}

TEST (Parameters, StepConversionAndLabels)
{
    Processor p;
    auto& gain = param (p, FloatParameter::inputGain);
    EXPECT_EQ (gain.getValue(), 0.32999998f) << "16.17 steps × 1/49";
    EXPECT_EQ (gain.getLabel(), " [16]");

    auto& tone = param (p, FloatParameter::tone);
    EXPECT_EQ (tone.getValue(), 0.5f);
    EXPECT_EQ (tone.getLabel(), " [16]");
    EXPECT_EQ (tone.getText (tone.getValue(), 10), "0.50");

    auto& onOff = param (p, FloatParameter::onOff);
    EXPECT_EQ (onOff.getLabel(), "Enabled");
    EXPECT_EQ (onOff.getText (onOff.getValue(), 10), "1.00");

    for (int k : { 0, 5, 6, 7 })
    {
        auto& sw = param (p, k);
        sw.setValue (0.49f);
        EXPECT_EQ (sw.getValue(), 0.0f);
        sw.setValue (0.5f);
        EXPECT_EQ (sw.getValue(), 1.0f);
        sw.setValue (-0.5f);
        EXPECT_EQ (sw.getValue(), 0.0f);
    }
    EXPECT_EQ (onOff.getLabel(), "Disabled");
    EXPECT_EQ (param (p, 5).getLabel(), "Mono");
    EXPECT_EQ (param (p, 6).getLabel(), "Low");
    EXPECT_EQ (param (p, 7).getLabel(), "Original");
    param (p, 7).setValue (1.0f);
    EXPECT_EQ (param (p, 7).getLabel(), "Modded");
    param (p, 5).setValue (1.0f);
    EXPECT_EQ (param (p, 5).getLabel(), "Stereo");

    auto& drive = param (p, FloatParameter::drive);
    drive.setValue (0.7f);
    EXPECT_EQ (drive.getValue(), 0.7f * 32.0f * 0.03125f);
    EXPECT_EQ (drive.getLabel(), " [22]");
}

TEST (Parameters, TextIsReadAsADecimalNumberWithinTheRange)
{
    Processor p;
    auto& drive = param (p, 1);
    EXPECT_EQ (drive.getValueForText ("0.25"), 0.25f);
    EXPECT_EQ (drive.getValueForText ("1.5"), 1.0f);
    EXPECT_EQ (drive.getValueForText ("Enabled"), 0.0f);
    EXPECT_EQ (drive.getValueForText ("-3"), 0.0f);
    EXPECT_EQ (drive.getValueForText ("  +0.75 dB"), 0.75f);
    // Found by the fuzzer: the framework's reader overflows an int on long exponents.
    EXPECT_EQ (drive.getValueForText ("0222222222E2222555555555555555000000000000"), 0.0f);
    EXPECT_EQ (drive.getValueForText ("1e-999999999999999999"), 0.0f);
}

TEST (Parameters, OnlyAChangedStepWorksTheEngine)
{
    Processor p;
    auto& drive = param (p, FloatParameter::drive);
    drive.setValue (0.5f);
    const auto before = p.engine.getRebuildCount();
    drive.setValue (0.5f);
    EXPECT_EQ (p.engine.getRebuildCount(), before) << "same step value: no engine work";
    drive.setValue (0.51f);
    EXPECT_EQ (p.engine.getRebuildCount(), before + 1) << "16.0 → 16.32 rebuilds, though the pot stays at 16";

    auto& gain = param (p, FloatParameter::inputGain);
    gain.setValue (0.8f);
    EXPECT_EQ (p.engine.getRebuildCount(), before + 1) << "Input Gain moves only the gain target";
    ProcessorFixture::runSilence (p, 1);
    EXPECT_EQ (p.engine.holder.inputGainTarget, (double) (0.8f * 49.0f * 0.020408163f) * 10.0);
    EXPECT_EQ (p.engine.holder.outputGainTarget, 0.35);
}

TEST (Parameters, NonFiniteValuesAreRefused)
{
    Processor p;
    auto& level = param (p, FloatParameter::level);
    const float before = level.getValue();
    level.setValue (std::numeric_limits<float>::quiet_NaN());
    level.setValue (std::numeric_limits<float>::infinity());
    EXPECT_EQ (level.getValue(), before);
}

TEST (Programs, FactoryProgramsAfterConstruction)
{
    Processor p;
    EXPECT_EQ (p.getNumPrograms(), 4);
    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_EQ (p.getProgramName (0), "1 Default");
    EXPECT_EQ (p.getProgramName (1), "2 TS9 Drive@Min");
    EXPECT_EQ (p.getProgramName (2), "3 Clean");
    EXPECT_EQ (p.getProgramName (3), "4 Fat");
    EXPECT_EQ (p.getProgramName (4), "");
    EXPECT_EQ (p.getProgramName (-1), "");
    EXPECT_EQ (param (p, FloatParameter::level).getValue(), 1.0f);

    // Step values of every slot.
    const float steps[4][8] = {
        { 1, 0, 16, 32, 0.33f * 49.0f, 0, 1, 0 },
        { 1, 0, 16, 0.69f * 32.0f, 0.32f * 49.0f, 0, 1, 0 },
        { 1, 0, 16, 32, 0.5f * 49.0f, 0, 1, 1 },
        { 1, 32, 16, 16, 0.5f * 49.0f, 0, 1, 0 },
    };
    for (int slot = 0; slot < 4; ++slot)
    {
        p.setCurrentProgram (slot);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ (param (p, k).getStep(), steps[slot][k]) << "slot " << slot << " p" << k;
    }
}

TEST (Programs, SwitchChangesEveryParameterAndTheEngine)
{
    Processor p;
    p.setCurrentProgram (1);
    EXPECT_EQ (p.getCurrentProgram(), 1);
    EXPECT_EQ (param (p, FloatParameter::level).getValue(), 0.69f * 32.0f * 0.03125f);
    EXPECT_EQ (param (p, FloatParameter::level).getLabel(), " [22]");
    EXPECT_EQ (param (p, FloatParameter::inputGain).getLabel(), " [15]");
    ProcessorFixture::runSilence (p, 1);
    EXPECT_EQ (p.engine.holder.inputGainTarget, (double) param (p, 4).getValue() * 10.0);

    // Edits change only the current slot.
    param (p, FloatParameter::tone).setValue (0.25f);
    p.setCurrentProgram (2);
    EXPECT_EQ (param (p, FloatParameter::tone).getValue(), 0.5f);
    p.setCurrentProgram (1);
    EXPECT_EQ (param (p, FloatParameter::tone).getValue(), 0.25f);
}

TEST (Programs, OutOfRangeIndicesAreIgnored)
{
    Processor p;
    p.setCurrentProgram (3);
    for (int bad : { 4, 7, -1, -100 })
    {
        p.setCurrentProgram (bad);
        EXPECT_EQ (p.getCurrentProgram(), 3);
        EXPECT_EQ (param (p, FloatParameter::drive).getValue(), 1.0f);
    }
    p.changeProgramName (1, "My Lead");
    p.changeProgramName (4, "nope");
    p.changeProgramName (-1, "nope");
    EXPECT_EQ (p.getProgramName (1), "My Lead");
    EXPECT_EQ (p.getProgramName (4), "");
}

TEST (Parameters, OutOfRangeValuesAreClampedWhereTheyEnter)
{
    auto p = ProcessorFixture::makePrepared (1, 1, 48000.0);
    // Values beyond the ends stop at the ends where they enter: a drive of 5.0 is 1.0 (step 32),
    // a quality of 3 is High, of -7 Low; every value a host reads back lies in 0..1.
    param (*p, FloatParameter::drive).setValue (5.0f);
    EXPECT_EQ (param (*p, FloatParameter::drive).getStep(), 32.0f);
    EXPECT_EQ (param (*p, FloatParameter::drive).getValue(), 1.0f);
    param (*p, FloatParameter::quality).setValue (3.0f);
    EXPECT_EQ (p->engine.getOversamplingIndex(), 2);
    param (*p, FloatParameter::quality).setValue (-7.0f);
    EXPECT_EQ (p->engine.getOversamplingIndex(), 1);
    param (*p, FloatParameter::onOff).setValue (9.0f);
    EXPECT_EQ (p->engine.getMode(), 1);
}

TEST (Prepare, ReconfiguresChannelsOnlyWhenCountsChange)
{
    auto p = ProcessorFixture::makePrepared (2, 2, 44100.0);
    EXPECT_EQ (p->seenInputChannels.load(), 2);
    EXPECT_EQ (p->engine.getMode(), 2) << "Mono processing on a stereo host: mono to stereo";
    EXPECT_EQ (p->engine.getSampleRate(), 44100.0);

    param (*p, FloatParameter::processing).setValue (1.0f);
    EXPECT_EQ (p->engine.getMode(), 3);

    p->prepareToPlay (96000.0, 256);
    EXPECT_EQ (p->engine.getMode(), 3);
    EXPECT_EQ (p->engine.getSampleRate(), 96000.0);

    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add (juce::AudioChannelSet::mono());
    mono.outputBuses.add (juce::AudioChannelSet::mono());
    p->setBusesLayout (mono);
    p->prepareToPlay (48000.0, 256);
    EXPECT_EQ (p->engine.getMode(), 1) << "a mono host runs mono whatever Processing says";
}
