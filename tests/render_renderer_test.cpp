#include "Renderer.h"
#include "Settings.h"
#include "support/RenderFixture.h"

#include <gtest/gtest.h>

using namespace Render;

namespace
{
struct RenderSetup
{
    int inputs = 1, outputs = 1;
    int blockSize = 512;
    bool compensate = true;
    double rate = 48000.0;
    std::vector<std::pair<int, float>> values;
};

juce::AudioBuffer<float> renderWith (const RenderSetup& s, const juce::AudioBuffer<float>& input)
{
    RenderFormat f;
    f.sampleRate = s.rate;
    f.inputChannels = s.inputs;
    f.outputChannels = s.outputs;
    f.blockSize = s.blockSize;
    f.compensateLatency = s.compensate;

    auto p = createProcessor (f);
    EXPECT_NE (p, nullptr);
    ResolvedSettings settings;
    settings.values = s.values;
    applySettings (*p, settings);
    prepareProcessor (*p, f);
    return renderBuffer (*p, f, input);
}

juce::AudioBuffer<float> click (int channels, int length, int at, float height = 0.01f)
{
    juce::AudioBuffer<float> b (channels, length);
    b.clear();
    for (int c = 0; c < channels; ++c)
        b.setSample (c, at, height);
    return b;
}

int loudestSample (const juce::AudioBuffer<float>& b, int channel)
{
    const float* d = b.getReadPointer (channel);
    int best = 0;
    for (int i = 1; i < b.getNumSamples(); ++i)
        if (std::abs (d[i]) > std::abs (d[best]))
            best = i;
    return best;
}

constexpr int quality = FloatParameter::quality;
constexpr int onOff = FloatParameter::onOff;
constexpr int processing = FloatParameter::processing;
}

TEST (RenderRenderer, ClickAtSampleNComesOutAtSampleNInEveryLayoutAndQuality)
{
    // The pedal's dry path is a pure delay: compensated, the click is back exactly where it was.
    // Processed, the circuit adds its own (band-pass) phase: the loudest sample may trail the
    // click by a sample or two, but nothing comes before it apart from the linear-phase filters'
    // faint pre-ringing. A wrong compensation would put it 15 samples off either way.
    const std::vector<std::pair<int, float>> bright = { { FloatParameter::tone, 1.0f }, { FloatParameter::inputGain, 0.1f } };

    for (float on : { 0.0f, 1.0f })
        for (float q : { 0.0f, 1.0f })
            for (auto layout : { std::pair<int, int> { 1, 1 }, { 1, 2 }, { 2, 2 } })
                for (int at : { 0, 1, 700, 4095 })
                {
                    RenderSetup s;
                    s.inputs = layout.first;
                    s.outputs = layout.second;
                    s.values = bright;
                    s.values.push_back ({ quality, q });
                    s.values.push_back ({ onOff, on });
                    const auto out = renderWith (s, click (s.inputs, 4096, at));
                    ASSERT_EQ (out.getNumSamples(), 4096);
                    ASSERT_EQ (out.getNumChannels(), s.outputs);

                    for (int c = 0; c < s.outputs; ++c)
                    {
                        const int loudest = loudestSample (out, c);
                        const float peak = std::abs (out.getSample (c, loudest));
                        ASSERT_GT (peak, 0.0f);
                        if (on == 0.0f)
                        {
                            EXPECT_EQ (loudest, at);
                            EXPECT_EQ (peak, 0.01f);
                        }
                        else
                        {
                            EXPECT_GE (loudest, at) << "quality " << q << " layout " << s.inputs << "x" << s.outputs;
                            EXPECT_LE (loudest, at + 2) << "quality " << q << " layout " << s.inputs << "x" << s.outputs;
                            for (int i = 0; i < at - 8; ++i)
                                ASSERT_LT (std::abs (out.getSample (c, i)), 0.01f * peak) << i;
                        }
                    }
                }
}

TEST (RenderRenderer, CompensationDropsExactlyTheLatency)
{
    const auto input = RenderFixture::noise (2, 6000, 5);
    RenderSetup s;
    s.inputs = s.outputs = 2;
    s.values = { { FloatParameter::drive, 0.5f } };
    const auto aligned = renderWith (s, input);
    s.compensate = false;
    const auto delayed = renderWith (s, input);

    ASSERT_EQ (aligned.getNumSamples(), 6000);
    ASSERT_EQ (delayed.getNumSamples(), 6000 + Processor::latencySamples);
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ (std::memcmp (aligned.getReadPointer (c), delayed.getReadPointer (c, Processor::latencySamples), sizeof (float) * 6000), 0);
}

TEST (RenderRenderer, KeepingTheLatencyDelaysByItAndKeepsTheTail)
{
    RenderSetup s;
    s.compensate = false;
    s.values = { { FloatParameter::tone, 1.0f }, { FloatParameter::inputGain, 0.1f } };
    const auto out = renderWith (s, click (1, 1000, 999));
    ASSERT_EQ (out.getNumSamples(), 1000 + Processor::latencySamples);
    EXPECT_EQ (loudestSample (out, 0), 999 + Processor::latencySamples);
}

TEST (RenderRenderer, PedalOffGivesTheInputBackBitForBit)
{
    const auto input = RenderFixture::noise (2, 5000, 7);
    for (int block : { 1, 100, 512 })
    {
        RenderSetup s;
        s.inputs = s.outputs = 2;
        s.blockSize = block;
        s.values = { { onOff, 0.0f } };
        EXPECT_TRUE (RenderFixture::bitIdentical (renderWith (s, input), input)) << block;
    }

    // Mono to stereo: the mono input on both outputs.
    RenderSetup s;
    s.outputs = 2;
    s.values = { { onOff, 0.0f } };
    const auto mono = RenderFixture::noise (1, 3000, 8);
    const auto out = renderWith (s, mono);
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ (std::memcmp (out.getReadPointer (c), mono.getReadPointer (0), sizeof (float) * 3000), 0) << c;
}

TEST (RenderRenderer, OutputIsBitIdenticalWhateverTheBlockSize)
{
    const auto input = RenderFixture::noise (2, 20000, 3);
    for (float stereo : { 0.0f, 1.0f })
        for (float q : { 0.0f, 1.0f })
        {
            RenderSetup s;
            s.inputs = s.outputs = 2;
            s.values = { { FloatParameter::drive, 0.8f }, { processing, stereo }, { quality, q } };
            s.blockSize = 512;
            const auto reference = renderWith (s, input);

            Levels l;
            l.add (reference);
            ASSERT_GT (l.peak, 0.01f);   // something came out

            for (int block : { 1, 3, 64, 441, 4096, 65536 })
            {
                s.blockSize = block;
                EXPECT_TRUE (RenderFixture::bitIdentical (renderWith (s, input), reference)) << "block " << block << " q " << q << " stereo " << stereo;
            }
        }
}

TEST (RenderRenderer, GainsHaveSettledBeforeTheFirstSample)
{
    // The engine's gains ramp up from zero; the pre-roll hides the ramp, so the processor is
    // time-invariant from the first output sample on: a click at 0 and one a second later come
    // out the same.
    RenderSetup s;
    s.values = { { FloatParameter::inputGain, 1.0f } };   // the longest ramp, 1.25 s
    const int later = 48000;
    auto input = click (1, later + 4000, 0, 0.001f);
    input.setSample (0, later, 0.001f);
    const auto out = renderWith (s, input);
    for (int i = 0; i < 4000 - Processor::latencySamples; ++i)
        ASSERT_NEAR (out.getSample (0, i), out.getSample (0, later + i), 1e-7f) << i;

    RenderFormat f;
    auto p = createProcessor (f);
    ResolvedSettings settings;
    settings.values = s.values;
    applySettings (*p, settings);
    prepareProcessor (*p, f);
    EXPECT_GE (preRollSamples (*p, 48000.0), (int) (10.0 * 48000.0 / 8.0));
}

TEST (RenderRenderer, SourceAndSinkFailuresStopTheRender)
{
    struct FailingSource final : SampleSource
    {
        int calls = 0;
        int read (float* const* ch, int n, int max) override
        {
            if (++calls > 2)
                return -1;
            for (int c = 0; c < n; ++c)
                juce::FloatVectorOperations::clear (ch[c], max);
            return max;
        }
    };
    struct FailingSink final : SampleSink
    {
        int written = 0;
        bool write (const float* const*, int, int n) override
        {
            written += n;
            return written < 1000;
        }
    };

    RenderFormat f;
    auto p = createProcessor (f);
    prepareProcessor (*p, f);

    FailingSource source;
    BufferSink sink (1);
    EXPECT_EQ (render (*p, f, source, sink), RenderStatus::sourceFailed);

    auto input = RenderFixture::noise (1, 10000);
    BufferSource ok (input);
    FailingSink full;
    EXPECT_EQ (render (*p, f, ok, full), RenderStatus::sinkFailed);
    EXPECT_LT (full.written, 1600);

    BufferSource again (input);
    BufferSink sink2 (1);
    int calls = 0;
    EXPECT_EQ (render (*p, f, again, sink2, [&] (juce::int64) { return ++calls < 3; }), RenderStatus::cancelled);
}
