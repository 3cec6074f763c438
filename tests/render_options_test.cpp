#include "HelpText.h"
#include "Options.h"

#include <gtest/gtest.h>

#include <regex>

using Render::Options;
using Render::parseArguments;

namespace
{
Render::ParseResult parse (std::initializer_list<const char*> args)
{
    std::vector<juce::String> v;
    for (auto* a : args)
        v.push_back (a);
    return parseArguments (v);
}

std::string failureOf (std::initializer_list<const char*> args)
{
    const auto r = parse (args);
    EXPECT_TRUE (r.failure.has_value());
    if (! r.failure)
        return {};
    EXPECT_EQ (r.failure->exitCode, Render::exitUsage);
    return r.failure->message.toStdString();
}
}

TEST (RenderOptions, ModeFollowsTheArguments)
{
    EXPECT_EQ (parse ({}).options.mode, Options::Mode::demo);
    EXPECT_EQ (parse ({ "a.wav" }).options.mode, Options::Mode::render);
    EXPECT_EQ (parse ({ "--response" }).options.mode, Options::Mode::response);
    EXPECT_EQ (parse ({ "--list" }).options.mode, Options::Mode::list);
    EXPECT_EQ (parse ({ "a.wav", "--help" }).options.mode, Options::Mode::help);
    EXPECT_EQ (parse ({ "-h" }).options.mode, Options::Mode::help);
    EXPECT_EQ (parse ({ "--version" }).options.mode, Options::Mode::version);

    const auto r = parse ({ "a.wav", "--", "--b.wav", "-" });
    ASSERT_FALSE (r.failure);
    ASSERT_EQ (r.options.inputs.size(), 3u);
    EXPECT_EQ (r.options.inputs[1], "--b.wav");
    EXPECT_EQ (r.options.inputs[2], "-");
}

TEST (RenderOptions, ValuesSeparateOrInline)
{
    const auto r = parse ({ "in.wav", "-o", "out.wav", "--block-size=64", "--bits", "24", "-j", "3", "--program=4 Fat",
                            "--state", "s.bin", "--save-state=t.bin", "--force", "--keep-latency", "--mono-to-stereo", "-q" });
    ASSERT_FALSE (r.failure) << r.failure->message;
    const auto& o = r.options;
    EXPECT_EQ (o.output, "out.wav");
    EXPECT_EQ (o.blockSize, 64);
    EXPECT_EQ (o.bitsPerSample, 24);
    EXPECT_EQ (o.jobs, 3);
    EXPECT_EQ (o.settings.program, "4 Fat");
    EXPECT_EQ (o.settings.stateFile, "s.bin");
    EXPECT_EQ (o.saveStateFile, "t.bin");
    EXPECT_TRUE (o.force && o.keepLatency && o.monoToStereo && o.quiet);

    const auto d = parse ({});
    EXPECT_EQ (d.options.blockSize, 512);
    EXPECT_EQ (d.options.bitsPerSample, 32);
    EXPECT_FALSE (d.options.keepLatency || d.options.force || d.options.monoToStereo);
}

TEST (RenderOptions, ParameterChangesKeepTheirOrderAndOrigin)
{
    const auto r = parse ({ "x.wav", "--drive", "0.7", "--set", "TS Tone = 0.25", "--off", "--model=modded", "--stereo",
                            "--set", "A=B=0.5", "--quality", "low", "--gain", "1", "--level", "0", "--mono" });
    ASSERT_FALSE (r.failure) << r.failure->message;
    const auto& c = r.options.settings.changes;
    ASSERT_EQ (c.size(), 10u);

    const std::vector<std::tuple<const char*, const char*, const char*>> expected = {
        { "TS Drive", "0.7", "--drive" },  { "TS Tone", "0.25", "--set" },   { "Vesk", "Disabled", "--off" },
        { "TS Model", "modded", "--model" }, { "Processing", "Stereo", "--stereo" }, { "A=B", "0.5", "--set" },
        { "Quality", "low", "--quality" }, { "Input Gain", "1", "--gain" }, { "TS Level", "0", "--level" },
        { "Processing", "Mono", "--mono" },
    };
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ (c[i].name, std::get<0> (expected[i])) << i;
        EXPECT_EQ (c[i].value, std::get<1> (expected[i])) << i;
        EXPECT_EQ (c[i].option, std::get<2> (expected[i])) << i;
    }
}

TEST (RenderOptions, EveryMistakeIsAUsageErrorNamingTheOption)
{
    EXPECT_NE (failureOf ({ "--bogus" }).find ("unknown option '--bogus'"), std::string::npos);
    EXPECT_NE (failureOf ({ "a.wav", "-o" }).find ("-o needs a value"), std::string::npos);
    EXPECT_NE (failureOf ({ "--drive" }).find ("--drive needs a value"), std::string::npos);
    EXPECT_NE (failureOf ({ "--set", "TS Drive" }).find ("Parameter Name=value"), std::string::npos);
    EXPECT_NE (failureOf ({ "--set", "=0.5" }).find ("Parameter Name=value"), std::string::npos);
    EXPECT_NE (failureOf ({ "--set", "TS Drive=" }).find ("Parameter Name=value"), std::string::npos);
    EXPECT_NE (failureOf ({ "--off=1" }).find ("--off takes no value"), std::string::npos);
    for (auto* bad : { "0", "65537", "1.5", "abc", "" })
        EXPECT_NE (failureOf ({ "--block-size", bad }).find ("--block-size"), std::string::npos) << bad;
    for (auto* bad : { "20", "8", "x" })
        EXPECT_NE (failureOf ({ "--bits", bad }).find ("not 16, 24 or 32"), std::string::npos) << bad;
    EXPECT_NE (failureOf ({ "--format", "mp3" }).find ("not wav or flac"), std::string::npos);
    for (auto* bad : { "0", "-1", "1000" })
        EXPECT_NE (failureOf ({ "--jobs", bad }).find ("--jobs"), std::string::npos) << bad;
    for (auto* bad : { "100", "1e9", "fast" })
        EXPECT_NE (failureOf ({ "--rate", bad }).find ("sample rate"), std::string::npos) << bad;
    EXPECT_NE (failureOf ({ "a.wav", "--rate", "96000" }).find ("--rate applies"), std::string::npos);
    EXPECT_NE (failureOf ({ "a.wav", "--response" }).find ("--response takes no input"), std::string::npos);
    EXPECT_NE (failureOf ({ "a.wav", "--list" }).find ("--list takes no input"), std::string::npos);

    // The first mistake is the one reported.
    EXPECT_NE (failureOf ({ "--bits", "7", "--bogus" }).find ("--bits"), std::string::npos);
}

TEST (RenderOptions, NumbersMustFillTheWholeText)
{
    EXPECT_EQ (Render::parseNumber ("0.75"), 0.75);
    EXPECT_EQ (Render::parseNumber (" 1 "), 1.0);
    EXPECT_EQ (Render::parseNumber ("-2e-1"), -0.2);
    for (auto* bad : { "", " ", "0.75x", "x0.75", "nan", "inf", "-inf", "1,5", "0.5 0.5" })
        EXPECT_FALSE (Render::parseNumber (bad).has_value()) << bad;
    EXPECT_EQ (parse ({ "--rate", "44100" }).options.sampleRate, 44100.0);
    EXPECT_TRUE (parse ({ "--rate", "44100" }).options.sampleRateGiven);
}

TEST (RenderOptions, HelpDocumentsEveryOptionTheParserKnowsWithAnExample)
{
    const std::string help = Render::helpText().toStdString();

    // Every option named in the help is accepted by the parser.
    std::regex optionPattern (R"((^|\n)\s+(-[a-z], )?(--[a-z0-9-]+))");
    std::vector<std::string> documented;
    for (std::sregex_iterator it (help.begin(), help.end(), optionPattern), end; it != end; ++it)
        documented.push_back ((*it)[3].str());
    ASSERT_GE (documented.size(), 25u);

    for (const auto& option : documented)
    {
        const auto r = parseArguments ({ juce::String (option), "0.5" });
        const std::string message = r.failure ? r.failure->message.toStdString() : std::string();
        EXPECT_EQ (message.find ("unknown option"), std::string::npos) << option;
    }

    // And every option the tool has appears in the help, each followed by an example or a
    // plain statement of what it does.
    for (auto* option : { "--output", "--force", "--bits", "--keep-latency", "--state", "--save-state", "--program", "--set",
                          "--drive", "--tone", "--level", "--gain", "--model", "--quality", "--stereo", "--mono", "--off",
                          "--mono-to-stereo", "--block-size", "--jobs", "--rate", "--response", "--list", "--quiet",
                          "--help", "--version" })
        EXPECT_NE (std::find (documented.begin(), documented.end(), option), documented.end()) << option;

    int examples = 0;
    for (size_t at = help.find ("vesk-render "); at != std::string::npos; at = help.find ("vesk-render ", at + 1))
        ++examples;
    EXPECT_GE (examples, 22);
}
