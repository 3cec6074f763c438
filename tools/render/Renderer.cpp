#include "Renderer.h"

#include <cmath>

namespace Render
{
std::unique_ptr<Processor> createProcessor (const RenderFormat& format)
{
    std::unique_ptr<juce::AudioProcessor> created (createPluginFilter());
    std::unique_ptr<Processor> processor (dynamic_cast<Processor*> (created.get()));
    if (processor == nullptr)
        return nullptr;
    created.release();

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (format.inputChannels));
    layout.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (format.outputChannels));
    if (! processor->setBusesLayout (layout))
        return nullptr;
    return processor;
}

void prepareProcessor (Processor& processor, const RenderFormat& format)
{
    processor.setRateAndBufferSizeDetails (format.sampleRate, format.blockSize);
    processor.setNonRealtime (true);
    processor.prepareToPlay (format.sampleRate, format.blockSize);
}

int processorLatency (const Processor&)
{
    // The interpolator, circuit and decimator delay every path by this much, the dry ones too.
    return Processor::latencySamples;
}

int preRollSamples (const Processor& processor, double sampleRate)
{
    // Both gains start at 0 and move 8 / rate per sample towards their targets.
    const auto settings = processor.currentEngineSettings();
    const double largest = juce::jmax (std::abs (settings.inputGainTarget), std::abs (settings.outputGainTarget));
    return (int) std::ceil (largest * sampleRate / 8.0) + 64;
}

namespace
{
// Hands the processor's output to the sink, dropping the first `skip` samples.
class OutputStage
{
public:
    OutputStage (SampleSink& s, int numChannels, int samplesToSkip) : sink (s), channels (numChannels), skip (samplesToSkip) {}

    bool push (const juce::AudioBuffer<float>& block, int n)
    {
        int offset = 0;
        if (skip > 0)
        {
            offset = juce::jmin (skip, n);
            skip -= offset;
        }
        if (offset >= n)
            return true;

        const float* pointers[2] = {};
        for (int c = 0; c < channels; ++c)
            pointers[c] = block.getReadPointer (c, offset);
        return sink.write (pointers, channels, n - offset);
    }

private:
    SampleSink& sink;
    int channels;
    int skip;
};
}

RenderStatus render (Processor& processor, const RenderFormat& format, SampleSource& source, SampleSink& sink,
                     const std::function<bool (juce::int64)>& progress)
{
    const int blockSize = juce::jmax (1, format.blockSize);
    const int width = juce::jmax (format.inputChannels, format.outputChannels);
    const int latency = processorLatency (processor);

    juce::AudioBuffer<float> block (width, blockSize);
    juce::MidiBuffer midi;

    const auto runBlock = [&] (int n) {
        juce::AudioBuffer<float> view (block.getArrayOfWritePointers(), width, 0, n);
        processor.processBlock (view, midi);
    };

    // Pre-roll: silence until the gain ramps are done; the output is discarded.
    for (int remaining = preRollSamples (processor, format.sampleRate); remaining > 0;)
    {
        const int n = juce::jmin (blockSize, remaining);
        block.clear();
        runBlock (n);
        remaining -= n;
    }

    OutputStage output (sink, format.outputChannels, format.compensateLatency ? latency : 0);
    juce::int64 done = 0;

    for (;;)
    {
        block.clear();
        const int n = source.read (block.getArrayOfWritePointers(), format.inputChannels, blockSize);
        if (n < 0)
            return RenderStatus::sourceFailed;
        if (n == 0)
            break;

        runBlock (n);
        if (! output.push (block, n))
            return RenderStatus::sinkFailed;

        done += n;
        if (progress && ! progress (done))
            return RenderStatus::cancelled;
    }

    // Flush the tail still inside the filters.
    for (int remaining = latency; remaining > 0;)
    {
        const int n = juce::jmin (blockSize, remaining);
        block.clear();
        runBlock (n);
        if (! output.push (block, n))
            return RenderStatus::sinkFailed;
        remaining -= n;
    }

    return RenderStatus::done;
}

int BufferSource::read (float* const* channels, int numChannels, int maxSamples)
{
    const int n = juce::jmin (maxSamples, buffer.getNumSamples() - position);
    if (n <= 0)
        return 0;
    for (int c = 0; c < numChannels; ++c)
        juce::FloatVectorOperations::copy (channels[c], buffer.getReadPointer (juce::jmin (c, buffer.getNumChannels() - 1), position), n);
    position += n;
    return n;
}

BufferSink::BufferSink (int numChannels, int expectedLength)
    : buffer (numChannels, juce::jmax (1, expectedLength))
{
}

bool BufferSink::write (const float* const* channels, int numChannels, int numSamples)
{
    if (length + numSamples > buffer.getNumSamples())
        buffer.setSize (buffer.getNumChannels(), juce::jmax (length + numSamples, buffer.getNumSamples() * 2), true);
    for (int c = 0; c < juce::jmin (numChannels, buffer.getNumChannels()); ++c)
        buffer.copyFrom (c, length, channels[c], numSamples);
    length += numSamples;
    return true;
}

juce::AudioBuffer<float> BufferSink::take()
{
    juce::AudioBuffer<float> result (buffer.getNumChannels(), length);
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        result.copyFrom (c, 0, buffer, c, 0, length);
    return result;
}

juce::AudioBuffer<float> renderBuffer (Processor& processor, const RenderFormat& format, const juce::AudioBuffer<float>& input)
{
    BufferSource source (input);
    BufferSink sink (format.outputChannels, input.getNumSamples() + processorLatency (processor));
    render (processor, format, source, sink);
    return sink.take();
}
}
