#include "StreamCheck.h"

#if JUCE_USE_FLAC
 #include <FLAC/stream_decoder.h>
#endif

namespace Render
{
namespace
{
// The fields of an MPEG audio frame header that fix the frame's length.
struct Mp3Header
{
    juce::uint32 word = 0;
    int length = 0;     // bytes, header included; 0 for a free-format frame
    int samples = 0;    // per channel

    // The bits every frame of one stream shares: sync, version, layer, sample rate.
    juce::uint32 streamBits() const { return word & 0xfffe0c00u; }

    static std::optional<Mp3Header> parse (juce::uint32 w)
    {
        const int version = (int) (w >> 19) & 3;       // 0: 2.5, 2: 2, 3: 1
        const int layer = 4 - (int) ((w >> 17) & 3);   // 1, 2, 3
        const int bitrateIndex = (int) (w >> 12) & 15;
        const int rateIndex = (int) (w >> 10) & 3;
        if ((w & 0xffe00000u) != 0xffe00000u || version == 1 || layer == 4 || bitrateIndex == 15 || rateIndex == 3)
            return std::nullopt;

        static const int kbps[5][15] = {
            { 0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448 },   // MPEG 1 layer 1
            { 0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384 },      // MPEG 1 layer 2
            { 0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320 },       // MPEG 1 layer 3
            { 0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256 },      // MPEG 2 and 2.5 layer 1
            { 0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160 },           // MPEG 2 and 2.5 layers 2, 3
        };
        static const int rates[3] = { 44100, 48000, 32000 };

        const bool mpeg1 = version == 3;
        const int bitrate = 1000 * kbps[mpeg1 ? layer - 1 : (layer == 1 ? 3 : 4)][bitrateIndex];
        const int rate = rates[rateIndex] >> (mpeg1 ? 0 : (version == 2 ? 1 : 2));
        const int padding = (int) (w >> 9) & 1;

        Mp3Header h;
        h.word = w;
        h.samples = layer == 1 ? 384 : (layer == 3 && ! mpeg1 ? 576 : 1152);
        if (layer == 1)
            h.length = (12 * bitrate / rate + padding) * 4;
        else
            h.length = (layer == 3 && ! mpeg1 ? 72 : 144) * bitrate / rate + padding;
        return h;
    }
};

juce::uint32 readWord (juce::InputStream& in, juce::int64 at)
{
    in.setPosition (at);
    juce::uint8 b[4] = {};
    if (in.read (b, 4) != 4)
        return 0;
    return ((juce::uint32) b[0] << 24) | ((juce::uint32) b[1] << 16) | ((juce::uint32) b[2] << 8) | b[3];
}

// An ID3v2 tag at the start: its whole size, else 0.
juce::int64 id3v2Size (juce::InputStream& in)
{
    in.setPosition (0);
    juce::uint8 h[10] = {};
    if (in.read (h, 10) != 10 || h[0] != 'I' || h[1] != 'D' || h[2] != '3' || ((h[6] | h[7] | h[8] | h[9]) & 0x80) != 0)
        return 0;
    const auto size = ((juce::int64) h[6] << 21) | ((juce::int64) h[7] << 14) | ((juce::int64) h[8] << 7) | h[9];
    return 10 + size + ((h[5] & 0x10) != 0 ? 10 : 0);
}

// Tags that may follow the last frame: ID3v1, APE, Lyrics3.
bool isTrailingTag (juce::InputStream& in, juce::int64 at)
{
    in.setPosition (at);
    char t[8] = {};
    const auto n = in.read (t, 8);
    return (n >= 3 && std::memcmp (t, "TAG", 3) == 0) || (n == 8 && std::memcmp (t, "APETAGEX", 8) == 0)
        || (n >= 6 && std::memcmp (t, "LYRICS", 6) == 0);
}

// The first frame of an encoder's file often carries a VBR header instead of audio, and LAME's
// tag after it holds the encoder's delay and padding (12 bits each). Returns whether the frame is
// such a header.
bool readVbrHeaderFrame (juce::InputStream& in, juce::int64 at, int length, int& delay, int& padding)
{
    in.setPosition (at);
    juce::MemoryBlock block;
    in.readIntoMemoryBlock (block, length);
    const auto* frame = static_cast<const juce::uint8*> (block.getData());
    const auto size = block.getSize();
    const auto has = [&] (size_t i, const char* tag) { return i + 4 <= size && std::memcmp (frame + i, tag, 4) == 0; };

    for (size_t i = 0; i < std::min<size_t> (size, 64); ++i)
    {
        if (has (i, "VBRI"))
            return true;
        if (has (i, "Xing") || has (i, "Info"))
        {
            const size_t lame = i + 120, gapless = lame + 21;
            if ((has (lame, "LAME") || has (lame, "Lavf") || has (lame, "Lavc")) && gapless + 3 <= size)
            {
                delay = (frame[gapless] << 4) | (frame[gapless + 1] >> 4);
                padding = ((frame[gapless + 1] & 15) << 8) | frame[gapless + 2];
            }
            return true;
        }
    }
    return false;
}
}

std::optional<juce::String> checkMp3Frames (const juce::File& file, bool& notMp3, Mp3Audio& audio)
{
    notMp3 = false;
    audio = {};
    juce::FileInputStream in (file);
    if (in.failedToOpen())
        return "cannot open (" + in.getStatus().getErrorMessage() + ")";

    const auto size = in.getTotalLength();
    auto at = id3v2Size (in);

    // Some encoders pad the tag with zeros.
    while (at < size && at < 65536 && readWord (in, at) >> 24 == 0)
        ++at;

    const auto first = Mp3Header::parse (readWord (in, at));
    if (! first || first->length == 0 || at + first->length > size)
    {
        notMp3 = true;
        return juce::String ("not a recognised audio file (WAV, AIFF, FLAC, Ogg Vorbis or MP3)");
    }

    juce::int64 frames = 0;
    int delay = -1, padding = 0;
    if (readVbrHeaderFrame (in, at, first->length, delay, padding))
    {
        at += first->length;
        ++frames;
    }

    // The synthesis filter of a layer III decoder delays the output by 529 samples more.
    const auto finish = [&] {
        audio.length = audio.decoded;
        if (delay >= 0 && first->samples == 1152 && audio.decoded > delay + padding + 529)
        {
            audio.start = delay + 529;
            audio.length = std::min (audio.decoded - delay - padding, audio.decoded - audio.start);
        }
        return std::nullopt;
    };

    while (at + 4 <= size)
    {
        const auto h = Mp3Header::parse (readWord (in, at));
        if (! h || h->streamBits() != first->streamBits() || h->length == 0)
        {
            if (isTrailingTag (in, at))
                return finish();
            return "corrupt MP3: frame " + juce::String (frames + 1) + " at byte " + juce::String (at) + " is broken";
        }
        if (at + h->length > size)
            return finish();   // a last frame cut short: the decoder stops there
        at += h->length;
        ++frames;
        audio.decoded += h->samples;
    }
    return finish();
}

#if JUCE_USE_FLAC
namespace
{
struct FlacCheck
{
    juce::uint64 declared = 0, decoded = 0;
    juce::String error;

    static FLAC__StreamDecoderWriteStatus write (const FLAC__StreamDecoder*, const FLAC__Frame* frame, const FLAC__int32* const[], void* self)
    {
        static_cast<FlacCheck*> (self)->decoded += frame->header.blocksize;
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    }

    static void metadata (const FLAC__StreamDecoder*, const FLAC__StreamMetadata* m, void* self)
    {
        if (m->type == FLAC__METADATA_TYPE_STREAMINFO)
            static_cast<FlacCheck*> (self)->declared = m->data.stream_info.total_samples;
    }

    static void problem (const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus status, void* self)
    {
        auto& c = *static_cast<FlacCheck*> (self);
        if (c.error.isEmpty())
            c.error = juce::String (FLAC__StreamDecoderErrorStatusString[status]).fromFirstOccurrenceOf ("ERROR_STATUS_", false, false)
                          .replaceCharacter ('_', ' ').toLowerCase() + " after sample " + juce::String (c.decoded);
    }
};
}

std::optional<juce::String> checkFlacStream (const juce::File& file)
{
    FlacCheck check;
    auto* decoder = FLAC__stream_decoder_new();
    if (decoder == nullptr)
        return juce::String ("out of memory");
    FLAC__stream_decoder_set_md5_checking (decoder, true);

    std::optional<juce::String> result;
    if (FLAC__stream_decoder_init_file (decoder, file.getFullPathName().toRawUTF8(), FlacCheck::write, FlacCheck::metadata,
                                        FlacCheck::problem, &check) != FLAC__STREAM_DECODER_INIT_STATUS_OK)
        result = "cannot open";
    else
    {
        const bool decodedToTheEnd = FLAC__stream_decoder_process_until_end_of_stream (decoder) != 0;
        const bool signatureMatches = FLAC__stream_decoder_finish (decoder) != 0;
        const bool isShort = check.declared != 0 && check.decoded < check.declared;
        const auto shortText = "holds only " + juce::String (check.decoded) + " of the " + juce::String (check.declared)
                             + " samples its header declares (truncated?)";
        if (check.error.isNotEmpty())
            result = "corrupt FLAC: " + check.error + (isShort ? "; it " + shortText : juce::String());
        else if (isShort)
            result = "corrupt FLAC: the file " + shortText;
        else if (! decodedToTheEnd)
            result = "corrupt FLAC: the decoder stopped after sample " + juce::String (check.decoded);
        else if (check.declared != 0 && check.decoded != check.declared)
            result = "corrupt FLAC: the file holds " + juce::String (check.decoded) + " samples, not the "
                   + juce::String (check.declared) + " its header declares";
        else if (! signatureMatches)
            result = juce::String ("corrupt FLAC: the audio does not match its MD5 signature");
    }
    FLAC__stream_decoder_delete (decoder);
    return result;
}
#else
std::optional<juce::String> checkFlacStream (const juce::File&)
{
    return std::nullopt;
}
#endif
}
