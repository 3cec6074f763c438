#include "processor/StateCodec.h"
#include "support/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
const std::string factoryState =
    "<Vesk cprog=\"0\" version=\"1\"><programs>"
    "<program programname=\"1 Default\" p0=\"1\" p1=\"0\" p2=\"0.5\" p3=\"1\" p4=\"0.32999998331069946289\" p5=\"0\" p6=\"1\" p7=\"0\"/>"
    "<program programname=\"2 TS9 Drive@Min\" p0=\"1\" p1=\"0\" p2=\"0.5\" p3=\"0.68999999761581420898\" p4=\"0.31999999284744262695\" p5=\"0\" p6=\"1\" p7=\"0\"/>"
    "<program programname=\"3 Clean\" p0=\"1\" p1=\"0\" p2=\"0.5\" p3=\"1\" p4=\"0.5\" p5=\"0\" p6=\"1\" p7=\"1\"/>"
    "<program programname=\"4 Fat\" p0=\"1\" p1=\"1\" p2=\"0.5\" p3=\"0.5\" p4=\"0.5\" p5=\"0\" p6=\"1\" p7=\"0\"/>"
    "</programs></Vesk>";

juce::MemoryBlock blockFromText (const std::string& text)
{
    juce::MemoryBlock b;
    b.append ("VC2!", 4);
    const auto n = (juce::uint32) text.size();
    const juce::uint8 len[4] = { (juce::uint8) n, (juce::uint8) (n >> 8), (juce::uint8) (n >> 16), (juce::uint8) (n >> 24) };
    b.append (len, 4);
    b.append (text.data(), text.size());
    b.append ("", 1);
    return b;
}

void load (Processor& p, const std::string& text)
{
    const auto b = blockFromText (text);
    p.setStateInformation (b.getData(), (int) b.getSize());
}

std::vector<float> allSteps (Processor& p)
{
    std::vector<float> v;
    for (auto* fp : p.parameters)
        for (int slot = 0; slot < 4; ++slot)
            v.push_back (fp->getValueForProgram (slot));
    return v;
}
}

TEST (State, BlockAfterConstructionIsByteExact)
{
    Processor p;
    const auto block = ProcessorFixture::stateOf (p);
    ASSERT_GT (block.getSize(), 9u);
    const auto* bytes = static_cast<const juce::uint8*> (block.getData());
    EXPECT_EQ (bytes[0], 'V');
    EXPECT_EQ (bytes[1], 'C');
    EXPECT_EQ (bytes[2], '2');
    EXPECT_EQ (bytes[3], '!');
    const juce::uint32 length = bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) | ((juce::uint32) bytes[7] << 24);
    EXPECT_EQ (length, block.getSize() - 9);
    EXPECT_EQ (bytes[block.getSize() - 1], 0);
    EXPECT_EQ (ProcessorFixture::textOf (block), factoryState);
}

TEST (State, ValueTextHasTwentySignificantDigits)
{
    EXPECT_EQ (StateCodec::formatValue (1.0f), "1");
    EXPECT_EQ (StateCodec::formatValue (0.5f), "0.5");
    EXPECT_EQ (StateCodec::formatValue (0.0f), "0");
    EXPECT_EQ (StateCodec::formatValue (0.69f), "0.68999999761581420898");
    EXPECT_EQ (StateCodec::formatValue (0.33f * 49.0f * 0.020408163f), "0.32999998331069946289");
    EXPECT_EQ (StateCodec::formatValue (1.0e-7f), "1.0000000116860974231e-07");
    EXPECT_EQ (StateCodec::formatValue (-2.5f), "-2.5");
}

TEST (State, SavedBlockRoundTripsUnchangedIntoAFreshInstance)
{
    Processor a;
    a.parameters[1]->setValue (0.37f);
    a.parameters[4]->setValue (0.123456f);
    a.changeProgramName (0, "Tom's \"lead\" <&>");
    a.setCurrentProgram (2);
    a.parameters[7]->setValue (0.0f);
    const auto saved = ProcessorFixture::stateOf (a);

    Processor b;
    b.setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_EQ (ProcessorFixture::stateOf (b), saved);
    EXPECT_EQ (b.getCurrentProgram(), 2);
    EXPECT_EQ (b.getProgramName (0), "Tom's \"lead\" <&>");
    EXPECT_EQ (allSteps (a), allSteps (b));

    // Loading the factory state into a fresh instance changes nothing observable.
    Processor c;
    const auto factory = ProcessorFixture::stateOf (c);
    c.setStateInformation (factory.getData(), (int) factory.getSize());
    EXPECT_EQ (ProcessorFixture::stateOf (c), factory);
}

TEST (State, TagsAreCaseInsensitiveAttributesAreNot)
{
    Processor p;
    load (p, "<VESK cprog=\"1\"><Programs><PROGRAM programname=\"A\" p1=\"0.25\" P2=\"0.75\"/></Programs></VESK>");
    EXPECT_EQ (p.getCurrentProgram(), 1);
    EXPECT_EQ (p.getProgramName (0), "A");
    EXPECT_EQ (p.parameters[1]->getValueForProgram (0), 0.25f);
    EXPECT_EQ (p.parameters[2]->getValueForProgram (0), 0.5f) << "P2 is not p2: the default stands";
    EXPECT_EQ (p.getProgramName (1), "2 TS9 Drive@Min") << "slots beyond the list keep their values";
    EXPECT_EQ (p.parameters[3]->getValue(), 0.69f * 32.0f * 0.03125f) << "program 1 applied";
}

TEST (State, MissingAttributesTakeDefaultsAndNotSaved)
{
    Processor p;
    load (p, "<Vesk><programs><program/><program programname=\"B\"/></programs></Vesk>");
    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_EQ (p.getProgramName (0), "Not Saved");
    EXPECT_EQ (p.getProgramName (1), "B");
    for (int slot = 0; slot < 2; ++slot)
        for (auto* fp : p.parameters)
            EXPECT_EQ (fp->getValueForProgram (slot), FloatParameter::fromStep (fp->getKind(), FloatParameter::toStep (fp->getKind(), fp->getDefaultValue())));
    EXPECT_EQ (p.getProgramName (3), "4 Fat");
}

TEST (State, ValuesThatAreNotFiniteNumbersReadAsZero)
{
    Processor p;
    load (p, "<Vesk><programs><program programname=\"n\" p1=\"0222222222E22225555555555555550000\" p2=\"nan\" p3=\"1e999\" p4=\"abc\" p5=\" 1\"/></programs></Vesk>");
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ (p.parameters[(size_t) k]->getValueForProgram (0), 0.0f) << "p" << k;
    EXPECT_EQ (p.parameters[5]->getValueForProgram (0), 1.0f);
}

TEST (State, OtherChildrenAreSkippedAndExtraProgramsIgnored)
{
    Processor p;
    load (p, "<Vesk cprog=\"3\"><programs><note/><program programname=\"a\"/>text<x/><program programname=\"b\"/>"
             "<program programname=\"c\"/><program programname=\"d\" p1=\"1\"/><program programname=\"e\"/></programs></Vesk>");
    EXPECT_EQ (p.getProgramName (0), "a");
    EXPECT_EQ (p.getProgramName (1), "b");
    EXPECT_EQ (p.getProgramName (3), "d");
    EXPECT_EQ (p.getCurrentProgram(), 3);
    EXPECT_EQ (p.parameters[1]->getValue(), 1.0f);
}

TEST (State, FirstChildOtherThanProgramsLoadsNoProgramButAppliesCprog)
{
    Processor p;
    load (p, "<Vesk cprog=\"2\"><other/><programs><program programname=\"x\"/></programs></Vesk>");
    EXPECT_EQ (p.getProgramName (0), "1 Default");
    EXPECT_EQ (p.getCurrentProgram(), 2);
    EXPECT_EQ (p.parameters[7]->getValue(), 1.0f) << "slot 2 (3 Clean) is shown";
}

TEST (State, OutOfRangeProgramNumbersSelectTheNearestSlotAndItsSound)
{
    // An instance on "4 Fat" loads states whose program number lies outside the four slots. The
    // program reported, the values reported and the sound must all be one and the same program:
    // the nearest slot. The sound is compared with a fresh instance given those values.
    const std::string programs = "<programs><program programname=\"a\" p1=\"0.2\" p3=\"0.4\"/>"
                                 "<program programname=\"b\" p1=\"0.9\" p4=\"0.7\"/><program programname=\"c\"/>"
                                 "<program programname=\"d\" p1=\"0.6\" p2=\"0.1\" p7=\"1\"/></programs>";
    for (const auto& [cprog, slot] : std::vector<std::pair<std::string, int>> {
             { "9", 3 }, { "4", 3 }, { "-3", 0 }, { "99999999999999999999", 3 }, { "x", 0 } })
    {
        auto p = ProcessorFixture::makePrepared (1, 1, 48000.0);
        p->setCurrentProgram (3);
        ProcessorFixture::runSilence (*p, 1);
        load (*p, "<Vesk cprog=\"" + cprog + "\">" + programs + "</Vesk>");
        EXPECT_EQ (p->getCurrentProgram(), slot) << cprog;
        for (auto* fp : p->parameters)
            EXPECT_EQ (fp->getProgramSlot(), slot) << cprog;

        auto fresh = ProcessorFixture::makePrepared (1, 1, 48000.0);
        for (size_t k = 0; k < 8; ++k)
            fresh->parameters[k]->setValueNotifyingHost (p->parameters[k]->getValue());

        // Both start from silence with their gains at the targets, and once the fade from the old
        // program is over the same settings must give the same output to the bit.
        for (auto* q : { p.get(), fresh.get() })
        {
            ProcessorFixture::runSilence (*q, 40);
            ASSERT_EQ (q->engine.holder.fadeSamplesLeft(), 0);
            q->engine.holder.inputGain = q->engine.holder.inputGainTarget;
            q->engine.holder.outputGain = q->engine.holder.outputGainTarget;
        }
        juce::AudioBuffer<float> a (1, 4096), b (1, 4096);
        for (int i = 0; i < 4096; ++i)
            a.setSample (0, i, 0.3f * (float) ((i * 37) % 101 - 50) / 50.0f);
        b.makeCopyOf (a);
        ProcessorFixture::run (*p, a, 256);
        ProcessorFixture::run (*fresh, b, 256);
        float worst = 0.0f;
        for (int i = 0; i < 4096; ++i)
            worst = std::max (worst, std::abs (a.getSample (0, i) - b.getSample (0, i)));
        EXPECT_EQ (worst, 0.0f) << cprog;
        EXPECT_GT (b.getRMSLevel (0, 0, 4096), 0.01f);
        EXPECT_EQ (p->engine.holder.appliedSnapshot().settings, p->currentEngineSettings()) << cprog;
    }
}

TEST (State, RejectedBlocksChangeNothing)
{
    Processor p;
    p.setCurrentProgram (2);
    const auto before = ProcessorFixture::stateOf (p);

    auto expectUnchanged = [&] (const void* data, int size, const char* what)
    {
        p.setStateInformation (data, size);
        EXPECT_EQ (ProcessorFixture::stateOf (p), before) << what;
        EXPECT_EQ (p.getCurrentProgram(), 2) << what;
    };

    const auto good = blockFromText (factoryState);
    expectUnchanged (good.getData(), 8, "eight bytes");
    expectUnchanged (good.getData(), 0, "empty");
    expectUnchanged (nullptr, 100, "null data");

    auto wrongMagic = good;
    static_cast<char*> (wrongMagic.getData())[0] = 'X';
    expectUnchanged (wrongMagic.getData(), (int) wrongMagic.getSize(), "wrong magic");

    auto zeroLength = good;
    std::memset (static_cast<char*> (zeroLength.getData()) + 4, 0, 4);
    expectUnchanged (zeroLength.getData(), (int) zeroLength.getSize(), "zero length");

    const auto notVesk = blockFromText ("<Other cprog=\"1\"/>");
    expectUnchanged (notVesk.getData(), (int) notVesk.getSize(), "other root");

    const auto notXml = blockFromText ("this is not xml");
    expectUnchanged (notXml.getData(), (int) notXml.getSize(), "not xml");

    const auto badUtf8 = blockFromText ("<Vesk cprog=\"1\"><programs><program programname=\"\xff\xfe\"/></programs></Vesk>");
    expectUnchanged (badUtf8.getData(), (int) badUtf8.getSize(), "invalid UTF-8");

    std::string deep = "<Vesk cprog=\"1\">";
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    const auto deepBlock = blockFromText (deep);
    expectUnchanged (deepBlock.getData(), (int) deepBlock.getSize(), "deeply nested");

    const auto entities = blockFromText ("<!DOCTYPE v [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>"
                                         "<Vesk cprog=\"1\"><programs><program programname=\"&b;\"/></programs></Vesk>");
    expectUnchanged (entities.getData(), (int) entities.getSize(), "entity declarations");

    std::string huge (4 << 20, ' ');
    huge.replace (0, 5, "<Vesk");
    const auto hugeBlock = blockFromText (huge);
    expectUnchanged (hugeBlock.getData(), (int) hugeBlock.getSize(), "huge");
}

TEST (State, TruncatedAndRandomBlocksNeverCrashOrHalfLoad)
{
    Processor reference;
    reference.parameters[2]->setValue (0.9f);
    reference.changeProgramName (1, "R");
    const auto good = ProcessorFixture::stateOf (reference);

    std::mt19937 rng (1234);
    Processor p;
    const auto factory = ProcessorFixture::stateOf (p);

    // Every truncation of a good block either loads a consistent prefix of the programs or is
    // refused outright; a refused block leaves the state exactly as it was.
    for (size_t cut = 0; cut < good.getSize(); cut += 7)
    {
        Processor q;
        q.setStateInformation (good.getData(), (int) cut);
        const auto after = ProcessorFixture::stateOf (q);
        const bool unchanged = after == factory;
        const bool complete = after == good;
        if (! unchanged && ! complete)
        {
            // The length field says more than there is: the text parsed short, which XML
            // refuses, so only whole-document cuts may load.
            ADD_FAILURE() << "partial load at cut " << cut;
        }
    }

    for (int trial = 0; trial < 300; ++trial)
    {
        juce::MemoryBlock b (good);
        auto* bytes = static_cast<juce::uint8*> (b.getData());
        const int flips = 1 + (int) (rng() % 8);
        for (int f = 0; f < flips; ++f)
            bytes[8 + rng() % (b.getSize() - 8)] = (juce::uint8) rng();
        p.setStateInformation (b.getData(), (int) b.getSize());
        for (auto* fp : p.parameters)
            for (int slot = 0; slot < 4; ++slot)
                EXPECT_TRUE (std::isfinite (fp->getValueForProgram (slot)));
        EXPECT_GE (p.getCurrentProgram(), 0);
    }

    for (int trial = 0; trial < 200; ++trial)
    {
        std::vector<juce::uint8> junk (rng() % 400);
        for (auto& c : junk) c = (juce::uint8) rng();
        if (junk.size() >= 4 && trial % 2 == 0)
            std::memcpy (junk.data(), "VC2!", 4);
        Processor q;
        q.setStateInformation (junk.data(), (int) junk.size());
        EXPECT_EQ (ProcessorFixture::stateOf (q), factory);
    }
}
