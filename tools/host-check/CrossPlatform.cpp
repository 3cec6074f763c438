// Renders and compares for builds of the plug-in on different platforms (Linux and Windows): the
// same settings, covering every parameter, played through the VST 2 binary each platform built,
// must give the same output sample for sample, and the state one platform saves must load in
// the other with the same sound.
//
//   vesk_host_check --cross-render OUT --plugin PATH [--states DIR]
//       writes OUT/<case>.raw (output, channel after channel, 32-bit float) and OUT/<case>.state
//       (the host's saved state); with --states, also OUT/<case>.from-state.raw: a fresh
//       instance loads DIR/<case>.state and plays the same input.
//   vesk_host_check --cross-compare REFERENCE DIR
//       compares DIR/<case>.raw and DIR/<case>.from-state.raw with REFERENCE/<case>.raw and
//       prints the largest difference in dB (full scale 1.0); fails above -120 dB.
//
// The input is made with additions and multiplications only, which IEEE 754 rounds the same
// way everywhere (the C libraries' sin and exp may differ in the last bit).

#include "HostCheck.h"

#include <cmath>
#include <limits>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace hostcheck
{
namespace
{
struct CrossCase
{
    const char* name;
    int inputs, outputs;
    double rate;
    int block;
    std::array<float, 8> values;   // Vesk, drive, tone, level, input gain, processing, quality, model
};

// Processing 0 = mono, 1 = stereo; Quality 0 = Low, 1 = High; Model 0 = original, 1 = modded.
const CrossCase crossCases[] = {
    { "mono-default-high-original", 1, 1, 48000.0, 512, { 1, 0.0f, 0.5f, 1.0f, 0.33f, 0, 1, 0 } },
    { "mono-full-low-modded", 1, 1, 48000.0, 512, { 1, 1.0f, 1.0f, 1.0f, 1.0f, 0, 0, 1 } },
    { "mono-zero-high-modded", 1, 1, 44100.0, 333, { 1, 0.0f, 0.0f, 0.05f, 0.03f, 0, 1, 1 } },
    { "mono-to-stereo-mid-low-original", 1, 2, 96000.0, 480, { 1, 0.5f, 0.25f, 0.6f, 0.5f, 0, 0, 0 } },
    { "stereo-processing-mono-high-modded", 2, 2, 48000.0, 256, { 1, 0.75f, 0.8f, 0.4f, 0.7f, 0, 1, 1 } },
    { "stereo-full-high-original", 2, 2, 48000.0, 512, { 1, 1.0f, 0.0f, 1.0f, 1.0f, 1, 1, 0 } },
    { "stereo-zero-low-modded", 2, 2, 48000.0, 1024, { 1, 0.0f, 1.0f, 0.05f, 0.03f, 1, 0, 1 } },
    { "stereo-pedal-off", 2, 2, 48000.0, 512, { 0, 1.0f, 0.5f, 0.5f, 0.5f, 1, 1, 0 } },
};

constexpr int crossSamples = 12000;

// Two plucked notes per channel: triangle waves of integer periods under a decay applied by
// repeated multiplication, plus a little noise from an integer generator.
std::vector<float> crossInput (int channel, double rate)
{
    std::vector<float> x (crossSamples);
    const int period1 = (int) (rate / 110.0) + 7 * channel, period2 = (int) (rate / 330.0) + 3 * channel;
    std::uint32_t noise = 12345u + 977u * (std::uint32_t) channel;
    double envelope = 0.0;
    for (int n = 0; n < crossSamples; ++n)
    {
        if (n % 5000 == 0)
            envelope = 0.9 - 0.25 * channel;
        envelope *= 0.99975;
        auto triangle = [n] (int period) {
            const double phase = (double) (n % period) / (double) period;
            return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        };
        noise = noise * 1664525u + 1013904223u;
        const double v = envelope * (0.6 * triangle (period1) + 0.3 * triangle (period2))
                       + 0.01 * ((double) (noise >> 8) / 8388608.0 - 1.0);
        x[(size_t) n] = (float) v;
    }
    return x;
}

std::unique_ptr<juce::AudioPluginInstance> crossInstance (Loader& loader, const CrossCase& c)
{
    auto p = loader.create (c.rate, c.block);
    if (p == nullptr || ! applyLayout (*p, c.inputs, c.outputs))
        return {};
    p->setRateAndBufferSizeDetails (c.rate, c.block);
    p->prepareToPlay (c.rate, c.block);
    return p;
}

Channels crossPlay (juce::AudioPluginInstance& p, const CrossCase& c)
{
    Channels in;
    for (int ch = 0; ch < c.inputs; ++ch)
        in.push_back (crossInput (ch, c.rate));
    Channels out ((size_t) c.outputs, std::vector<float> (crossSamples));
    const int width = juce::jmax (c.inputs, c.outputs, p.getTotalNumInputChannels(), p.getTotalNumOutputChannels());
    juce::AudioBuffer<float> buffer (width, c.block);
    juce::MidiBuffer midi;
    for (int start = 0; start < crossSamples; start += c.block)
    {
        const int n = juce::jmin (c.block, crossSamples - start);
        buffer.setSize (width, n, false, false, true);
        buffer.clear();
        for (int ch = 0; ch < c.inputs; ++ch)
            buffer.copyFrom (ch, 0, in[(size_t) ch].data() + start, n);
        p.processBlock (buffer, midi);
        for (int ch = 0; ch < c.outputs; ++ch)
            std::memcpy (out[(size_t) ch].data() + start, buffer.getReadPointer (ch), sizeof (float) * (size_t) n);
    }
    return out;
}

bool writeChannels (const juce::File& f, const Channels& channels)
{
    f.deleteFile();
    juce::FileOutputStream out (f);
    for (auto& ch : channels)
        out.write (ch.data(), ch.size() * sizeof (float));
    out.flush();
    return out.openedOk() && out.getStatus().wasOk();
}

std::vector<float> readFloats (const juce::File& f)
{
    juce::MemoryBlock b;
    f.loadFileAsData (b);
    std::vector<float> v (b.getSize() / sizeof (float));
    if (! v.empty())
        std::memcpy (v.data(), b.getData(), v.size() * sizeof (float));
    return v;
}

int crossRender (const juce::File& outDir, const juce::File& plugin, const juce::File& statesDir)
{
    Target target;
    target.format = Format::vst2;
    target.binary = plugin;
    juce::String error;
    auto loader = makeLoader (target, error);
    if (loader == nullptr)
    {
        std::cerr << "cannot load " << plugin.getFullPathName() << ": " << error << "\n";
        return 1;
    }
    outDir.createDirectory();

    int failures = 0;
    for (auto& c : crossCases)
    {
        auto p = crossInstance (*loader, c);
        if (p == nullptr)
        {
            std::cerr << c.name << ": instance refused\n";
            ++failures;
            continue;
        }
        const auto params = findParameters (*p);
        for (size_t k = 0; k < 8; ++k)
            if (params[k] != nullptr)
                params[k]->setValue (c.values[k]);
        const auto output = crossPlay (*p, c);
        juce::MemoryBlock state;
        p->getStateInformation (state);
        if (! writeChannels (outDir.getChildFile (juce::String (c.name) + ".raw"), output)
            || ! outDir.getChildFile (juce::String (c.name) + ".state").replaceWithData (state.getData(), state.getSize()))
            ++failures;

        if (statesDir != juce::File())
        {
            juce::MemoryBlock saved;
            auto q = crossInstance (*loader, c);
            if (q == nullptr || ! statesDir.getChildFile (juce::String (c.name) + ".state").loadFileAsData (saved))
            {
                std::cerr << c.name << ": no state to load from " << statesDir.getFullPathName() << "\n";
                ++failures;
                continue;
            }
            q->setStateInformation (saved.getData(), (int) saved.getSize());
            if (! writeChannels (outDir.getChildFile (juce::String (c.name) + ".from-state.raw"), crossPlay (*q, c)))
                ++failures;
        }
    }
    std::cout << "rendered " << juce::numElementsInArray (crossCases) << " settings through " << plugin.getFullPathName()
              << (statesDir != juce::File() ? " (and from the states in " + statesDir.getFullPathName() + ")" : juce::String()) << "\n";
    return failures == 0 ? 0 : 1;
}

int crossCompare (const juce::File& referenceDir, const juce::File& dir)
{
    constexpr double limitDb = -120.0;
    int failures = 0, compared = 0;
    for (auto& c : crossCases)
    {
        const auto reference = readFloats (referenceDir.getChildFile (juce::String (c.name) + ".raw"));
        if (reference.size() != (size_t) (c.outputs * crossSamples))
        {
            std::cout << "FAIL " << c.name << ": no reference output in " << referenceDir.getFullPathName() << "\n";
            ++failures;
            continue;
        }
        float peak = 0.0f;
        for (float v : reference)
            peak = std::max (peak, std::abs (v));
        if (! (peak > 1.0e-3f))
        {
            std::cout << "FAIL " << c.name << ": the reference output is silent\n";
            ++failures;
            continue;
        }
        for (const char* kind : { ".raw", ".from-state.raw" })
        {
            const auto file = dir.getChildFile (juce::String (c.name) + kind);
            if (! file.existsAsFile())
                continue;
            const auto other = readFloats (file);
            ++compared;
            if (other.size() != reference.size())
            {
                std::cout << "FAIL " << file.getFileName() << ": " << other.size() << " samples, the reference has " << reference.size() << "\n";
                ++failures;
                continue;
            }
            double worst = 0.0;
            size_t differing = 0;
            bool finite = true;
            for (size_t i = 0; i < reference.size(); ++i)
            {
                finite = finite && std::isfinite (other[i]);
                const double d = std::abs ((double) other[i] - (double) reference[i]);
                differing += d != 0.0 ? 1 : 0;
                worst = std::max (worst, d);
            }
            const double db = worst > 0.0 ? 20.0 * std::log10 (worst) : -std::numeric_limits<double>::infinity();
            const bool ok = finite && db <= limitDb;
            failures += ok ? 0 : 1;
            std::cout << (ok ? "ok   " : "FAIL ") << file.getFileName() << ": largest difference "
                      << (worst > 0.0 ? juce::String (db, 1) + " dB" : juce::String ("none (-inf dB)")) << ", "
                      << differing << " of " << reference.size() << " samples differ\n";
        }
        juce::MemoryBlock a, b;
        if (referenceDir.getChildFile (juce::String (c.name) + ".state").loadFileAsData (a)
            && dir.getChildFile (juce::String (c.name) + ".state").loadFileAsData (b))
            std::cout << "     " << c.name << ".state: " << (a == b ? "byte-identical" : "differs") << " (" << (int) b.getSize() << " bytes)\n";
    }
    if (compared == 0)
    {
        std::cout << "FAIL nothing to compare in " << dir.getFullPathName() << "\n";
        ++failures;
    }
    std::cout << (failures == 0 ? "outputs agree (limit " + juce::String (limitDb, 0) + " dB)" : juce::String (failures) + " comparisons failed") << "\n";
    return failures == 0 ? 0 : 1;
}
}

int runCrossPlatform (int argc, char** argv)
{
    const auto here = juce::File::getCurrentWorkingDirectory();
    const juce::String mode (argv[1]);
    if (mode == "--cross-compare" && argc == 4)
        return crossCompare (here.getChildFile (argv[2]), here.getChildFile (argv[3]));

    juce::File out, plugin, states;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        const juce::String k (argv[i]), v (argv[i + 1]);
        if (k == "--cross-render") out = here.getChildFile (v);
        else if (k == "--plugin") plugin = here.getChildFile (v);
        else if (k == "--states") states = here.getChildFile (v);
        else out = juce::File();
    }
    if (out == juce::File() || ! plugin.exists())
    {
        std::cerr << "usage: vesk_host_check --cross-render OUT --plugin PATH [--states DIR] | --cross-compare REFERENCE DIR\n";
        return 2;
    }
    juce::ScopedJuceInitialiser_GUI juce;
    return crossRender (out, plugin, states);
}
}
