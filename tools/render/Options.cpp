#include "Options.h"

#include <cmath>
#include <cstdlib>

namespace Render
{
namespace
{
constexpr int maxBlockSize = 65536;
constexpr int maxJobs = 256;
constexpr double minSampleRate = 8000.0;
constexpr double maxSampleRate = 384000.0;

// The short forms that stand for one parameter each.
struct ShortForm
{
    const char* option;
    const char* parameter;
};

constexpr ShortForm valueShortForms[] = {
    { "--drive", "TS Drive" },
    { "--tone", "TS Tone" },
    { "--level", "TS Level" },
    { "--gain", "Input Gain" },
    { "--model", "TS Model" },
    { "--quality", "Quality" },
};

struct Flag
{
    const char* option;
    const char* parameter;
    const char* value;
};

constexpr Flag flagShortForms[] = {
    { "--stereo", "Processing", "Stereo" },
    { "--mono", "Processing", "Mono" },
    { "--off", "Vesk", "Disabled" },
};

std::optional<int> parseInteger (const juce::String& text, int lowest, int highest)
{
    const auto n = parseNumber (text);
    if (! n || *n != std::floor (*n) || *n < lowest || *n > highest)
        return std::nullopt;
    return (int) *n;
}

class Parser
{
public:
    explicit Parser (const std::vector<juce::String>& a) : args (a) {}

    ParseResult run()
    {
        bool help = false, version = false, list = false, response = false;
        bool onlyInputs = false;

        for (index = 0; index < args.size() && ! result.failure; ++index)
        {
            auto arg = args[index];

            if (onlyInputs || ! arg.startsWith ("-") || arg == "-")
            {
                opts().inputs.push_back (arg);
                continue;
            }
            if (arg == "--")
            {
                onlyInputs = true;
                continue;
            }

            // "--name=value" is the same as "--name value".
            std::optional<juce::String> inlineValue;
            if (arg.startsWith ("--") && arg.containsChar ('='))
            {
                inlineValue = arg.fromFirstOccurrenceOf ("=", false, false);
                arg = arg.upToFirstOccurrenceOf ("=", false, false);
            }

            if (arg == "-h" || arg == "--help")                 help = true;
            else if (arg == "--version")                        version = true;
            else if (arg == "--list")                           list = true;
            else if (arg == "--response")                       response = true;
            else if (arg == "-f" || arg == "--force")           opts().force = true;
            else if (arg == "-q" || arg == "--quiet")           opts().quiet = true;
            else if (arg == "--mono-to-stereo")                 opts().monoToStereo = true;
            else if (arg == "--keep-latency")                   opts().keepLatency = true;
            else if (arg == "-o" || arg == "--output")          value (arg, inlineValue, [this] (auto v) { opts().output = v; });
            else if (arg == "-p" || arg == "--program")         value (arg, inlineValue, [this] (auto v) { opts().settings.program = v; });
            else if (arg == "--state")                          value (arg, inlineValue, [this] (auto v) { opts().settings.stateFile = v; });
            else if (arg == "--save-state")                     value (arg, inlineValue, [this] (auto v) { opts().saveStateFile = v; });
            else if (arg == "--set")                            value (arg, inlineValue, [this, arg] (auto v) { addSet (arg, v); });
            else if (arg == "--block-size")                     value (arg, inlineValue, [this, arg] (auto v) { count (arg, v, maxBlockSize, "a block size", opts().blockSize); });
            else if (arg == "--bits")                           value (arg, inlineValue, [this, arg] (auto v) { bits (arg, v); });
            else if (arg == "--format")                         value (arg, inlineValue, [this, arg] (auto v) { format (arg, v); });
            else if (arg == "-j" || arg == "--jobs")            value (arg, inlineValue, [this, arg] (auto v) { count (arg, v, maxJobs, "a job count", opts().jobs); });
            else if (arg == "--rate")                           value (arg, inlineValue, [this, arg] (auto v) { rate (arg, v); });
            else if (! shortForm (arg, inlineValue))
                fail ("unknown option '" + arg + "'");
        }

        if (! result.failure)
            chooseMode (help, version, list, response);

        return result;
    }

private:
    Options& opts() { return result.options; }

    void fail (const juce::String& message)
    {
        if (! result.failure)
            result.failure = Failure::usage (message);
    }

    template <class Apply>
    void value (const juce::String& option, const std::optional<juce::String>& inlineValue, Apply apply)
    {
        if (inlineValue)
        {
            apply (*inlineValue);
            return;
        }
        if (index + 1 >= args.size())
        {
            fail (option + " needs a value");
            return;
        }
        apply (args[++index]);
    }

    bool shortForm (const juce::String& arg, const std::optional<juce::String>& inlineValue)
    {
        for (const auto& s : valueShortForms)
            if (arg == s.option)
            {
                value (arg, inlineValue, [this, arg, &s] (auto v) { opts().settings.changes.push_back ({ s.parameter, v, arg }); });
                return true;
            }

        for (const auto& f : flagShortForms)
            if (arg == f.option)
            {
                if (inlineValue)
                    fail (arg + " takes no value");
                opts().settings.changes.push_back ({ f.parameter, f.value, arg });
                return true;
            }

        return false;
    }

    void addSet (const juce::String& option, const juce::String& text)
    {
        if (! text.containsChar ('='))
        {
            fail (option + " expects \"Parameter Name=value\", got '" + text + "'");
            return;
        }
        const auto name = text.upToLastOccurrenceOf ("=", false, false).trim();
        const auto v = text.fromLastOccurrenceOf ("=", false, false).trim();
        if (name.isEmpty() || v.isEmpty())
        {
            fail (option + " expects \"Parameter Name=value\", got '" + text + "'");
            return;
        }
        opts().settings.changes.push_back ({ name, v, option });
    }

    // A whole number from 1 to `highest` into `target`.
    void count (const juce::String& option, const juce::String& text, int highest, const char* what, int& target)
    {
        if (const auto n = parseInteger (text, 1, highest))
            target = *n;
        else
            fail (option + ": '" + text + "' is not " + what + " from 1 to " + juce::String (highest));
    }

    void bits (const juce::String& option, const juce::String& text)
    {
        opts().bitsGiven = true;
        if (text == "16" || text == "24" || text == "32")
            opts().bitsPerSample = text.getIntValue();
        else if (text.equalsIgnoreCase ("float"))
            opts().bitsPerSample = 32;
        else
            fail (option + ": '" + text + "' is not 16, 24 or 32");
    }

    void format (const juce::String& option, const juce::String& text)
    {
        if (text.equalsIgnoreCase ("wav") || text.equalsIgnoreCase ("flac"))
            opts().outputExtension = text.toLowerCase();
        else
            fail (option + ": '" + text + "' is not wav or flac");
    }

    void rate (const juce::String& option, const juce::String& text)
    {
        const auto r = parseNumber (text);
        if (! r || *r < minSampleRate || *r > maxSampleRate)
        {
            fail (option + ": '" + text + "' is not a sample rate from 8000 to 384000 Hz");
            return;
        }
        opts().sampleRate = *r;
        opts().sampleRateGiven = true;
    }

    void chooseMode (bool help, bool version, bool list, bool response)
    {
        auto& o = opts();
        const bool hasInputs = ! o.inputs.empty();

        if (help)             o.mode = Options::Mode::help;
        else if (version)     o.mode = Options::Mode::version;
        else if (list)        o.mode = Options::Mode::list;
        else if (response)    o.mode = Options::Mode::response;
        else if (hasInputs)   o.mode = Options::Mode::render;
        else                  o.mode = Options::Mode::demo;

        if (o.mode == Options::Mode::help || o.mode == Options::Mode::version)
            return;

        if (hasInputs && (o.mode == Options::Mode::list || o.mode == Options::Mode::response))
            fail (juce::String (list ? "--list" : "--response") + " takes no input files");
        else if (hasInputs && o.sampleRateGiven)
            fail ("--rate applies to the demo and --response only; a file keeps its own rate");
    }

    const std::vector<juce::String>& args;
    size_t index = 0;
    ParseResult result;
};
}

std::optional<double> parseNumber (const juce::String& text)
{
    const auto trimmed = text.trim();
    if (trimmed.isEmpty())
        return std::nullopt;

    const std::string s = trimmed.toStdString();
    char* end = nullptr;
    const double v = std::strtod (s.c_str(), &end);
    if (end != s.c_str() + s.size() || ! std::isfinite (v))
        return std::nullopt;
    return v;
}

ParseResult parseArguments (const std::vector<juce::String>& args)
{
    return Parser (args).run();
}
}
