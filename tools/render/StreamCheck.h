#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace Render
{
// Checks of compressed files that the framework's decoders do not make: they resynchronise past
// damage or fill a missing end with silence, and a render would then sound wrong without a word.

// Walks the frames of an MP3 file from its first header to its end. Returns nothing for a sound
// chain of frames, and sets `samples` to what its audio frames decode to (the framework's reader
// only estimates the length); otherwise the problem: not an MP3 at all (`notMp3` is then set), or
// a broken frame and where it is.
std::optional<juce::String> checkMp3Frames (const juce::File& file, bool& notMp3, juce::int64& samples);

// Decodes a whole FLAC file: every frame must decode, the sample count must match the header and
// the audio the header's MD5 signature.
std::optional<juce::String> checkFlacStream (const juce::File& file);
}
