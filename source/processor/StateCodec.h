#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <memory>
#include <optional>

// The saved state: an XML document wrapped in the framework's binary block (magic "VC2!", the
// text length, the text on one line without a declaration, a zero byte). This file knows the
// format only; the processor applies what it reads.
namespace StateCodec
{
constexpr int numPrograms = 4;
constexpr int numParameters = 8;

// A state block is a few hundred bytes; anything beyond this is refused unread.
constexpr int maxBlockSize = 1 << 20;
// Elements nest three deep in a valid state; deeper documents are refused before parsing.
constexpr int maxNestingDepth = 16;

struct Program
{
    juce::String name;
    std::array<float, numParameters> values {};   // normalised
};

struct Bank
{
    int currentProgram = 0;
    std::array<Program, numPrograms> programs;
};

struct Loaded
{
    int currentProgram = 0;   // "cprog", 0 when absent or unreadable
    int numPrograms = 0;      // how many leading slots the block fills
    std::array<Program, StateCodec::numPrograms> programs;
};

// The element tree of a bank, values written with 20 significant digits.
std::unique_ptr<juce::XmlElement> toXml (const Bank& bank);

// Wraps an element as a binary block: magic, length, single-line text, zero byte.
void writeBlock (const juce::XmlElement& xml, juce::MemoryBlock& dest);

// Reads a block. Returns nothing when the block is not a state (too short or too large, wrong
// magic, bad length, invalid UTF-8, XML that is not plainly well formed or nests too deeply,
// or a root other than "Vesk"); missing values take the given defaults.
std::optional<Loaded> read (const void* data, int sizeInBytes, const std::array<float, numParameters>& defaults);

// A decimal number read from text the way a value attribute or a host's text is read: leading
// white space and a sign allowed, the longest numeric prefix taken, anything unreadable (or out
// of range) 0. Unlike the framework's reader it is defined for any length of digits or exponent.
double readNumber (const juce::String& text);

// The text of a stored value: the float widened to double, 20 significant digits, general
// notation, trailing zeros dropped.
juce::String formatValue (float value);

}
