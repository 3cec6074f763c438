#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace Render
{
// Checks of compressed files that the framework's decoders do not make: they resynchronise past
// damage or fill a missing end with silence, and a render would then sound wrong without a word.

// Where the audio of an MP3 lies in what its frames decode to.
struct Mp3Audio
{
    juce::int64 decoded = 0;   // samples the audio frames decode to (the framework's reader only estimates it)
    juce::int64 start = 0;     // the encoder's and the decoder's delay, from the encoder's gapless info
    juce::int64 length = 0;    // the samples that were encoded
};

// Walks the frames of an MP3 file from its first header to its end. Returns nothing for a sound
// chain of frames and fills `audio`; otherwise the problem: not an MP3 at all (`notMp3` is then
// set), or a broken frame and where it is.
std::optional<juce::String> checkMp3Frames (const juce::File& file, bool& notMp3, Mp3Audio& audio);

// Decodes a whole FLAC file: every frame must decode, the sample count must match the header and
// the audio the header's MD5 signature.
std::optional<juce::String> checkFlacStream (const juce::File& file);
}
