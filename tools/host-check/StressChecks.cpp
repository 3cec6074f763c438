#include "HostCheck.h"

#include <atomic>
#include <cmath>
#include <thread>

namespace hostcheck
{
namespace
{
struct Tally
{
    std::atomic<long long> samples { 0 }, blocks { 0 }, nonFinite { 0 }, subnormal { 0 }, largerThanPrepared { 0 };
    std::atomic<long long> automation { 0 }, notifying { 0 }, programSwitches { 0 }, stateLoads { 0 };
};

void inspect (const juce::AudioBuffer<float>& b, int channels, Tally& t)
{
    for (int c = 0; c < channels; ++c)
    {
        const float* x = b.getReadPointer (c);
        for (int n = 0; n < b.getNumSamples(); ++n)
        {
            const int kind = std::fpclassify (x[n]);
            if (kind == FP_NAN || kind == FP_INFINITE)
                ++t.nonFinite;
            else if (kind == FP_SUBNORMAL)
                ++t.subnormal;
        }
    }
}

// Input for the audio thread: the test signal, stretches of silence (decays), short loud bursts
// and tiny values near the subnormal range.
float stressInput (const std::vector<float>& signal, long long n)
{
    const long long period = 24000;
    const long long phase = n % period;
    if (phase < 9000)
        return signal[(size_t) (n % (long long) signal.size())];
    if (phase < 9100)
        return (phase & 1) != 0 ? 1.0f : -1.0f;
    if (phase < 9600)
        return 1.0e-30f;
    return 0.0f;
}

void runStress (const Target& t, Loader& loader, double rate, int inputs, int outputs, juce::Random& random)
{
    // VST3 and LV2 forbid blocks above the maximum announced at preparation (JUCE's VST3 layer
    // overruns its buffers on one): there the maximum is 4096 and the blocks stay within it. VST 2
    // and the AAX layer (which prepares afresh on every new block size) get blocks up to eight
    // times the prepared size.
    const bool boundedBlocks = t.format == Format::vst3 || t.format == Format::lv2;
    Scenario s;
    s.sampleRate = rate;
    s.inputs = inputs;
    s.outputs = outputs;
    s.prepareBlock = boundedBlocks ? 4096 : 512;
    s.totalSamples = 4800;
    auto p = preparedInstance (loader, s);
    const juce::String what = formatName (t.format) + " " + juce::String (inputs) + "->" + juce::String (outputs) + " @" + juce::String (rate);
    if (! report().expect (p != nullptr, "instance for " + what))
        return;

    const auto params = findParameters (*p);
    const auto signal = testSignal (s, 0);
    const long long total = (long long) (rate * 0.5);
    const int width = juce::jmax (inputs, outputs);

    Tally tally;
    std::atomic<bool> audioDone { false };
    std::atomic<int> messageRounds { 0 };
    constexpr int minimumMessageRounds = 60;

    std::thread audio ([&]
    {
        juce::Random r (42);
        juce::AudioBuffer<float> buffer (width, 4096);
        buffer.clear();
        juce::MidiBuffer midi;
        long long n = 0;
        while (n < total || messageRounds.load() < minimumMessageRounds)
        {
            // Mostly ordinary sizes, now and then single samples and the largest blocks.
            const int pick = r.nextInt (10);
            int size = pick < 2 ? 1 + r.nextInt (8) : pick < 8 ? 1 + r.nextInt (1024) : 2048 + r.nextInt (2049);
            size = juce::jmin (size, boundedBlocks ? s.prepareBlock : 4096);
            if (n < total)
                size = (int) std::min<long long> (size, total - n);
            buffer.setSize (width, size, false, false, true);
            for (int c = 0; c < width; ++c)
            {
                float* x = buffer.getWritePointer (c);
                for (int i = 0; i < size; ++i)
                    x[i] = c < inputs ? stressInput (signal, n + i) * (c == 0 ? 1.0f : -0.5f) : 0.0f;
            }
            // Some hosts apply automation on the audio thread, just before the block.
            if (r.nextInt (4) == 0)
                if (auto* param = params[(size_t) r.nextInt (8)])
                {
                    param->setValue (r.nextFloat());
                    ++tally.automation;
                }
            if (r.nextInt (50) == 0)
                p->processBlockBypassed (buffer, midi);
            else
                p->processBlock (buffer, midi);
            inspect (buffer, outputs, tally);
            if (size > s.prepareBlock)
                ++tally.largerThanPrepared;
            ++tally.blocks;
            n += size;
            tally.samples = n;
        }
        audioDone = true;
    });

    std::thread automation ([&]
    {
        juce::Random r (7);
        while (! audioDone)
        {
            if (auto* param = params[(size_t) r.nextInt (8)])
            {
                param->setValue (r.nextFloat());
                ++tally.automation;
            }
            std::this_thread::yield();
        }
    });

    // The message thread: host-side notifying changes, program switches (or chunk loads for the
    // AAX layer, which has no program calls), and the host's own message handling.
    while (! audioDone)
    {
        if (auto* param = params[(size_t) random.nextInt (8)])
        {
            param->setValueNotifyingHost (random.nextFloat());
            ++tally.notifying;
        }
        if (random.nextInt (8) == 0)
        {
            if (t.format == Format::aax)
            {
                const auto chunk = expected::stateBlock (random.nextInt (4));
                p->setStateInformation (chunk.getData(), (int) chunk.getSize());
                ++tally.stateLoads;
            }
            else
            {
                p->setCurrentProgram (random.nextInt (4));
                ++tally.programSwitches;
            }
        }
        juce::MessageManager::getInstance()->runDispatchLoopUntil (2);
        ++messageRounds;
    }

    audio.join();
    automation.join();

    report().saw (what + ": " + juce::String (tally.samples.load()) + " samples in " + juce::String (tally.blocks.load()) + " blocks ("
                  + juce::String (tally.largerThanPrepared.load()) + " larger than prepared), " + juce::String (tally.automation.load())
                  + " changes from the automation thread, " + juce::String (tally.notifying.load()) + " notifying changes, "
                  + juce::String (tally.programSwitches.load()) + " program switches, " + juce::String (tally.stateLoads.load()) + " chunk loads");
    report().expect (tally.samples.load() >= total && messageRounds.load() >= minimumMessageRounds,
                     what + ": the whole run processed while the message thread changed things");
    report().expectInt (tally.nonFinite.load(), 0, what + ": non-finite output samples");
    report().expectInt (tally.subnormal.load(), 0, what + ": subnormal output samples");
    p->releaseResources();
}

// One block of NaN and infinity in the middle of ordinary input: the output is finite again
// soon after.
void runNonFiniteInput (const Target& t, Loader& loader)
{
    Scenario s;
    s.totalSamples = 48000;
    auto p = preparedInstance (loader, s);
    if (p == nullptr)
        return;
    const auto signal = testSignal (s, 0);
    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;
    long long nonFiniteLate = 0;
    for (int block = 0; block < 60; ++block)
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < 512; ++i)
                buffer.setSample (c, i, signal[(size_t) ((block * 512 + i) % s.totalSamples)]);
        if (block == 10)
            for (int i = 0; i < 512; i += 3)
                buffer.setSample (0, i, i % 2 == 0 ? std::numeric_limits<float>::quiet_NaN() : std::numeric_limits<float>::infinity());
        p->processBlock (buffer, midi);
        if (block >= 20)
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < 512; ++i)
                    if (! std::isfinite (buffer.getSample (c, i)))
                        ++nonFiniteLate;
    }
    report().expectInt (nonFiniteLate, 0, formatName (t.format) + ": non-finite samples 5000 samples after a block of NaN and infinity");
}
}

void checkStress (const Target& t, Loader& loader)
{
    report().section (formatName (t.format) + ": automation, program switches, block sizes and rates");
    juce::Random random (99);
    const bool onlyStereo = t.format == Format::lv2;
    runStress (t, loader, 44100.0, onlyStereo ? 2 : 1, onlyStereo ? 2 : 1, random);
    runStress (t, loader, 48000.0, onlyStereo ? 2 : 1, 2, random);
    runStress (t, loader, 96000.0, 2, 2, random);
    runStress (t, loader, 192000.0, 2, 2, random);
    runNonFiniteInput (t, loader);
}
}
