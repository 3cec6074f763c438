#pragma once

#include "processor/Processor.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <functional>
#include <memory>

namespace Render
{
// How a signal goes through the processor.
struct RenderFormat
{
    double sampleRate = 48000.0;
    int inputChannels = 1;              // 1 or 2: the processor's input layout
    int outputChannels = 1;             // 1 or 2 (1 in, 2 out for mono-to-stereo)
    int blockSize = 512;                // the host block size
    bool compensateLatency = true;      // drop the processor's delay and flush its tail
};

// Pulls input samples. `read` fills up to maxSamples frames of every input channel and returns
// how many it wrote, 0 at the end, or -1 on an error (described by `error`).
class SampleSource
{
public:
    virtual ~SampleSource() = default;
    virtual int read (float* const* channels, int numChannels, int maxSamples) = 0;
    virtual juce::String error() const { return {}; }
};

// Takes output samples; false on an error (described by `error`).
class SampleSink
{
public:
    virtual ~SampleSink() = default;
    virtual bool write (const float* const* channels, int numChannels, int numSamples) = 0;
    virtual juce::String error() const { return {}; }
};

// A fresh processor with the layout and rate of the format, created as a host creates one.
std::unique_ptr<Processor> createProcessor (const RenderFormat& format);

// Makes the processor ready to play (after its settings are applied).
void prepareProcessor (Processor& processor, const RenderFormat& format);

// The delay of the processor's signal path, in samples.
int processorLatency (const Processor& processor);

enum class RenderStatus
{
    done,
    sourceFailed,
    sinkFailed,
    cancelled
};

// Runs the whole source through a prepared processor in blocks of the host size. A silent
// pre-roll first lets the input and output gains reach their targets. With latency compensation
// the output has exactly as many samples as the input and sample n of the output belongs to
// sample n of the input; without it the output carries the delay and is that much longer.
// `progress` gets the input samples done so far and returns false to cancel.
RenderStatus render (Processor& processor, const RenderFormat& format, SampleSource& source, SampleSink& sink,
                     const std::function<bool (juce::int64)>& progress = {});

// Number of silent samples run before the signal so the gains have settled.
int preRollSamples (const Processor& processor, double sampleRate);

// In-memory source and sink.
class BufferSource final : public SampleSource
{
public:
    explicit BufferSource (const juce::AudioBuffer<float>& b) : buffer (b) {}
    int read (float* const* channels, int numChannels, int maxSamples) override;

private:
    const juce::AudioBuffer<float>& buffer;
    int position = 0;
};

class BufferSink final : public SampleSink
{
public:
    explicit BufferSink (int numChannels, int expectedLength = 0);
    bool write (const float* const* channels, int numChannels, int numSamples) override;
    juce::AudioBuffer<float> take();

private:
    juce::AudioBuffer<float> buffer;
    int length = 0;
};

// Renders a whole buffer in memory with settings already applied to a prepared processor.
juce::AudioBuffer<float> renderBuffer (Processor& processor, const RenderFormat& format, const juce::AudioBuffer<float>& input);
}
