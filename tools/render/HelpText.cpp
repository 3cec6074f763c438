#include "HelpText.h"

namespace Render
{
juce::String helpText()
{
    return R"(vesk-render - runs audio files through the Vesk overdrive offline

Usage:
  vesk-render [options] INPUT...        process audio files (mono or stereo): WAV, AIFF,
                                        FLAC, Ogg Vorbis, MP3, recognised by content
  vesk-render [options]                 no input: the demo (a synthesised guitar DI
                                        through the four factory programs, WAVs + PNG)
  vesk-render --response [options]      plot the small-signal frequency response

Output:
  -o, --output PATH      output file (one input) or folder (several inputs, the demo).
                         Default: "<input>-vesk.wav" beside each input; ./vesk-demo for
                         the demo; ./vesk-response.png for --response. A name ending in
                         .flac is written as FLAC, any other as WAV.
                           vesk-render riff.wav -o riff-driven.wav
                           vesk-render take.flac -o take-driven.flac
                           vesk-render *.wav -o rendered/
  --format wav|flac      format of the output names made up for the inputs (default wav)
                           vesk-render takes/*.flac -o rendered/ --format flac
  -f, --force            overwrite existing outputs (they are refused otherwise)
                           vesk-render riff.wav --force
  --bits 32|24|16        sample format: 32-bit float (WAV only; the WAV default), or
                         24- or 16-bit integer (the FLAC default is 24)
                           vesk-render riff.wav --bits 24
  --keep-latency         keep the processor's 15-sample delay (and its tail) instead of
                         aligning the output with the input
                           vesk-render click.wav --keep-latency

Settings (applied in this order: --state, --program, then the rest as given):
  --state FILE           load a saved state block (the bytes a host stores)
                           vesk-render riff.wav --state my-sound.vstate
  --save-state FILE      write the resulting state block; with no input, only that
                           vesk-render --program "4 Fat" --tone 0.7 --save-state fat.vstate
  -p, --program P        factory program by number 1-4 or name
                           vesk-render riff.wav --program 4
                           vesk-render riff.wav --program "2 TS9 Drive@Min"
  --set "NAME=VALUE"     any parameter by its own name, value normalised 0..1 (switches
                         also take their words); see --list for the names
                           vesk-render riff.wav --set "TS Drive=0.75" --set "TS Model=Modded"
  --drive V              TS Drive, 0..1             vesk-render riff.wav --drive 0.6
  --tone V               TS Tone, 0..1              vesk-render riff.wav --tone 0.4
  --level V              TS Level, 0..1             vesk-render riff.wav --level 0.5
  --gain V               Input Gain, 0..1           vesk-render riff.wav --gain 0.5
  --model M              TS Model: original|modded  vesk-render riff.wav --model modded
  --quality Q            Quality: low|high (2x or 4x oversampling)
                                                    vesk-render riff.wav --quality low
  --stereo               Processing: Stereo (two independent channels for a stereo file)
                           vesk-render stereo-stem.wav --stereo
  --mono                 Processing: Mono
  --off                  the pedal switched off (the dry signal, delay kept in step)
                           vesk-render riff.wav --off -o dry.wav
  --mono-to-stereo       a mono file in, a stereo file out
                           vesk-render riff.wav --mono-to-stereo

Processing:
  --block-size N         host block size, 1..65536 (default 512); the output does not
                         depend on it
                           vesk-render riff.wav --block-size 64
  -j, --jobs N           files processed at once (default: one per core)
                           vesk-render *.wav -o out/ --jobs 2
  --rate HZ              sample rate of the demo and of --response (default 48000)
                           vesk-render --rate 96000
  --response             measure the response at five tone positions for the other
                         settings and draw it as a PNG
                           vesk-render --response --program 4 -o fat-response.png

Information:
  --list                 the programs and parameters with their short forms
  -q, --quiet            print errors only
  -h, --help             this text
  --version              the version

The processing layout follows the file: mono -> 1 in 1 out, stereo -> 2 in 2 out,
--mono-to-stereo -> 1 in 2 out. Files with more than two channels are refused.
An input that cannot be used (corrupt, truncated, not audio) is reported and skipped;
the other files are still rendered. Outputs are written to a hidden temporary file beside
the target and renamed only when complete.

Exit codes: 0 done, 2 bad command line, 3 unusable input, 4 output not written,
130 interrupted. With several files the largest code wins.
)";
}

juce::String versionText()
{
    return "vesk-render 1.1.0 (Vesk 1.1)";
}
}
