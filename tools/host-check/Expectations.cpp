#include "HostCheck.h"

namespace hostcheck
{
namespace expected
{
const std::array<const char*, 8> names { "Vesk", "TS Drive", "TS Tone", "TS Level", "Input Gain", "Processing", "Quality", "TS Model" };

const std::array<float, 8> defaults { 1.0f, 0.0f, 0.5f, 1.0f, 0.33f, 0.0f, 1.0f, 0.0f };

// Program "1 Default": on, drive 0, tone 16, level 32, Input Gain 16.17, Mono, High, Original.
const std::array<const char*, 8> labelsProgram0 { "Enabled", " [0]", " [16]", " [32]", " [16]", "Mono", "High", "Original" };

const std::array<const char*, 8> textsProgram0 { "1.00", "0.00", "0.50", "1.00", "0.33", "0.00", "1.00", "0.00" };

const std::array<const char*, 4> programNames { "1 Default", "2 TS9 Drive@Min", "3 Clean", "4 Fat" };

namespace
{
// Input Gain reads back as its step (× 49) times 1/49 in float.
constexpr float gain (float x) { return (x * 49.0f) * 0.020408163f; }
}

const std::array<std::array<float, 8>, 4> programValues { {
    { 1.0f, 0.0f, 0.5f, 1.0f, gain (0.33f), 0.0f, 1.0f, 0.0f },
    { 1.0f, 0.0f, 0.5f, 0.69f, gain (0.32f), 0.0f, 1.0f, 0.0f },
    { 1.0f, 0.0f, 0.5f, 1.0f, gain (0.5f), 0.0f, 1.0f, 1.0f },
    { 1.0f, 1.0f, 0.5f, 0.5f, gain (0.5f), 0.0f, 1.0f, 0.0f },
} };

juce::String stateText (int currentProgram)
{
    static const char* const programs[4][9] = {
        { "1 Default", "1", "0", "0.5", "1", "0.32999998331069946289", "0", "1", "0" },
        { "2 TS9 Drive@Min", "1", "0", "0.5", "0.68999999761581420898", "0.31999999284744262695", "0", "1", "0" },
        { "3 Clean", "1", "0", "0.5", "1", "0.5", "0", "1", "1" },
        { "4 Fat", "1", "1", "0.5", "0.5", "0.5", "0", "1", "0" },
    };

    juce::String s;
    s << "<Vesk cprog=\"" << currentProgram << "\" version=\"1\"><programs>";
    for (auto& p : programs)
    {
        s << "<program programname=\"" << p[0] << "\"";
        for (int k = 0; k < 8; ++k)
            s << " p" << k << "=\"" << p[k + 1] << "\"";
        s << "/>";
    }
    s << "</programs></Vesk>";
    return s;
}

juce::MemoryBlock stateBlock (int currentProgram)
{
    const auto text = stateText (currentProgram);
    const auto length = (juce::uint32) text.getNumBytesAsUTF8();
    juce::MemoryBlock b;
    b.append ("VC2!", 4);
    const juce::uint32 le = juce::ByteOrder::swapIfBigEndian (length);
    b.append (&le, 4);
    b.append (text.toRawUTF8(), length);
    b.append ("", 1);
    return b;
}
}

std::array<juce::AudioProcessorParameter*, 8> findParameters (juce::AudioPluginInstance& p)
{
    std::array<juce::AudioProcessorParameter*, 8> found {};
    for (auto* param : p.getParameters())
        for (size_t k = 0; k < 8; ++k)
            if (found[k] == nullptr && param->getName (1024) == expected::names[k])
                found[k] = param;
    return found;
}

namespace
{
juce::MemoryBlock blockAt (const juce::MemoryBlock& bytes, size_t offset)
{
    if (offset + 8 > bytes.getSize())
        return {};
    juce::uint32 length = 0;
    std::memcpy (&length, static_cast<const char*> (bytes.getData()) + offset + 4, 4);
    length = juce::ByteOrder::swapIfBigEndian (length);
    const size_t total = (size_t) length + 9;
    if (offset + total > bytes.getSize())
        return {};
    return juce::MemoryBlock (static_cast<const char*> (bytes.getData()) + offset, total);
}

// A block with the framework's magic whose text is the plug-in's XML (hosts use the same binary
// XML wrapper for their own state, e.g. JUCE's VST3 host).
juce::MemoryBlock findRaw (const juce::MemoryBlock& bytes)
{
    const auto* data = static_cast<const char*> (bytes.getData());
    for (size_t i = 0; i + 4 <= bytes.getSize(); ++i)
        if (std::memcmp (data + i, "VC2!", 4) == 0)
            if (auto b = blockAt (bytes, i); b.getSize() > 14 && std::memcmp (static_cast<const char*> (b.getData()) + 8, "<Vesk ", 6) == 0)
                return b;
    return {};
}

bool isBase64 (char c)
{
    return juce::CharacterFunctions::isLetterOrDigit (c) || c == '+' || c == '/' || c == '=';
}
}

juce::MemoryBlock findStateBlock (const juce::MemoryBlock& hostState)
{
    if (auto raw = findRaw (hostState); ! raw.isEmpty())
        return raw;

    // Text formats carry the block as base64 (JUCE's own variant, or the standard one).
    const auto* data = static_cast<const char*> (hostState.getData());
    const size_t n = hostState.getSize();
    for (size_t i = 0; i < n;)
    {
        size_t j = i;
        while (j < n && (isBase64 (data[j]) || data[j] == '.'))
            ++j;
        if (j - i >= 16)
        {
            const juce::String run (juce::CharPointer_UTF8 (data + i), juce::CharPointer_UTF8 (data + j));

            juce::MemoryBlock decoded;
            if (decoded.fromBase64Encoding (run) && decoded.getSize() < hostState.getSize())
                if (auto b = findStateBlock (decoded); ! b.isEmpty())
                    return b;

            juce::MemoryOutputStream standard;
            if (juce::Base64::convertFromBase64 (standard, run))
                if (auto b = findRaw (standard.getMemoryBlock()); ! b.isEmpty())
                    return b;
        }
        i = j + 1;
    }
    return {};
}
}
