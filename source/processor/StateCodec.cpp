#include "StateCodec.h"

#include "XmlScreen.h"

#include <charconv>
#include <cmath>
#include <climits>
#include <cstring>

namespace StateCodec
{
namespace
{
constexpr juce::uint32 magic = 0x21324356;

// A decimal integer for "cprog": optional sign and digits; anything unreadable counts as 0 and
// magnitudes beyond the int range saturate.
int readInteger (const juce::String& text)
{
    auto s = text.trim();
    int i = 0;
    bool negative = false;
    if (i < s.length() && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';

    long long v = 0;
    for (; i < s.length() && juce::CharacterFunctions::isDigit (s[i]); ++i)
        if (v < 10000000000LL)
            v = v * 10 + (s[i] - '0');

    if (negative)
        v = -v;
    return (int) juce::jlimit ((long long) INT_MIN, (long long) INT_MAX, v);
}

const juce::String* findAttribute (const juce::XmlElement& e, const juce::String& name)
{
    for (int i = 0; i < e.getNumAttributes(); ++i)
        if (e.getAttributeName (i) == name)   // attribute names are compared exactly
            return &e.getAttributeValue (i);
    return nullptr;
}
}

double readNumber (const juce::String& text)
{
    const auto utf8 = text.toRawUTF8();
    const char* begin = utf8;
    const char* end = utf8 + std::strlen (utf8);
    while (begin < end && (*begin == ' ' || *begin == '\t' || *begin == '\r' || *begin == '\n'))
        ++begin;
    if (begin < end && *begin == '+' && begin + 1 < end && begin[1] != '-')
        ++begin;

    double value = 0.0;
    const auto result = std::from_chars (begin, end, value, std::chars_format::general);
    return result.ec == std::errc() ? value : 0.0;
}

juce::String formatValue (float value)
{
    char buffer[64];
    auto result = std::to_chars (buffer, buffer + sizeof (buffer), (double) value, std::chars_format::general, 20);
    return juce::String (buffer, (size_t) (result.ptr - buffer));
}

std::unique_ptr<juce::XmlElement> toXml (const Bank& bank)
{
    auto root = std::make_unique<juce::XmlElement> ("Vesk");
    root->setAttribute ("cprog", juce::String (bank.currentProgram));
    root->setAttribute ("version", "1");

    auto* programs = root->createNewChildElement ("programs");
    for (const auto& p : bank.programs)
    {
        auto* e = programs->createNewChildElement ("program");
        e->setAttribute ("programname", p.name);
        for (int k = 0; k < numParameters; ++k)
            e->setAttribute ("p" + juce::String (k), formatValue (p.values[(size_t) k]));
    }
    return root;
}

void writeBlock (const juce::XmlElement& xml, juce::MemoryBlock& dest)
{
    dest.reset();
    {
        juce::MemoryOutputStream out (dest, false);
        out.writeInt ((int) magic);
        out.writeInt (0);
        xml.writeTo (out, juce::XmlElement::TextFormat().singleLine().withoutHeader());
        out.writeByte (0);
    }
    const auto length = (juce::uint32) dest.getSize() - 9;
    auto* bytes = static_cast<juce::uint8*> (dest.getData());
    bytes[4] = (juce::uint8) (length & 0xff);
    bytes[5] = (juce::uint8) ((length >> 8) & 0xff);
    bytes[6] = (juce::uint8) ((length >> 16) & 0xff);
    bytes[7] = (juce::uint8) ((length >> 24) & 0xff);
}

std::optional<Loaded> read (const void* data, int sizeInBytes, const std::array<float, numParameters>& defaults)
{
    if (data == nullptr || sizeInBytes <= 8 || sizeInBytes > maxBlockSize)
        return std::nullopt;

    const auto* bytes = static_cast<const juce::uint8*> (data);
    if (juce::ByteOrder::littleEndianInt (bytes) != magic)
        return std::nullopt;

    const auto length = (int) juce::ByteOrder::littleEndianInt (bytes + 4);
    if (length <= 0)
        return std::nullopt;

    const auto textLength = (size_t) juce::jmin (sizeInBytes - 8, length);
    const auto* text = reinterpret_cast<const char*> (bytes + 8);

    // The text ends at the first zero byte, as a C string would.
    size_t used = 0;
    while (used < textLength && text[used] != 0)
        ++used;

    if (! juce::CharPointer_UTF8::isValidString (text, (int) used))
        return std::nullopt;

    if (! isPlainWellFormedXml (text, used, maxNestingDepth))
        return std::nullopt;

    juce::XmlDocument document (juce::String::fromUTF8 (text, (int) used));
    const auto root = document.getDocumentElement();
    if (root == nullptr || ! root->getTagName().equalsIgnoreCase ("Vesk"))
        return std::nullopt;

    Loaded loaded;
    if (const auto* cprog = findAttribute (*root, "cprog"))
        loaded.currentProgram = readInteger (*cprog);

    const auto* programs = root->getFirstChildElement();
    if (programs == nullptr || ! programs->getTagName().equalsIgnoreCase ("programs"))
        return loaded;

    for (const auto* child = programs->getFirstChildElement();
         child != nullptr && loaded.numPrograms < numPrograms;
         child = child->getNextElement())
    {
        if (! child->getTagName().equalsIgnoreCase ("program"))
            continue;

        auto& slot = loaded.programs[(size_t) loaded.numPrograms];
        const auto* name = findAttribute (*child, "programname");
        slot.name = name != nullptr ? *name : juce::String ("Not Saved");

        for (int k = 0; k < numParameters; ++k)
        {
            const auto* value = findAttribute (*child, "p" + juce::String (k));
            // Text that is not a finite number reads as 0.
            const float v = value != nullptr ? (float) readNumber (*value) : defaults[(size_t) k];
            slot.values[(size_t) k] = std::isfinite (v) ? v : 0.0f;
        }
        ++loaded.numPrograms;
    }

    return loaded;
}
}
