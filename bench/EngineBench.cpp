#include "engine/CircuitEngine.h"
#include "processor/Processor.h"
#include "support/AllocationCounter.h"

#include <PluckedGuitar.h>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <type_traits>

namespace
{
// Bytes the C library's heap has handed out and not taken back.
std::size_t heapInUse()
{
#ifdef _WIN32
    std::size_t used = 0;
    _HEAPINFO entry {};
    while (_heapwalk (&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY)
            used += entry._size;
    return used;
#else
    return mallinfo2().uordblks;
#endif
}

constexpr double rate = 48000.0;
constexpr int blockSize = 512;

const std::vector<float>& guitar()
{
    static const auto signal = Signal::makeGuitarSignal (rate, 4.0);
    return signal;
}

enum Layout { mono = 0, monoToStereo = 1, stereo = 2 };

std::unique_ptr<Processor> makeProcessor (Layout layout, bool high, bool fullDrive)
{
    auto p = std::make_unique<Processor>();
    const int in = layout == mono || layout == monoToStereo ? 1 : 2;
    const int out = layout == mono ? 1 : 2;
    juce::AudioProcessor::BusesLayout l;
    l.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (in));
    l.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (out));
    p->setBusesLayout (l);
    p->prepareToPlay (rate, blockSize);
    p->parameters[5]->setValue (layout == stereo ? 1.0f : 0.0f);
    p->parameters[6]->setValue (high ? 1.0f : 0.0f);
    p->parameters[1]->setValue (fullDrive ? 1.0f : 0.0f);
    return p;
}

// Times processBlock on the guitar take in blocks of `length` samples; `beforeBlock` (untimed)
// may change the processor before each block.
template <class BeforeBlock>
void timeBlocks (benchmark::State& state, int length, BeforeBlock beforeBlock)
{
    const auto layout = (Layout) state.range (0);
    const bool high = state.range (1) != 0;
    const bool fullDrive = state.range (2) != 0;
    auto p = makeProcessor (layout, high, fullDrive);

    const auto& signal = guitar();
    const int channels = layout == mono ? 1 : 2;
    juce::AudioBuffer<float> buffer (channels, length);
    juce::MidiBuffer midi;
    size_t pos = 0;
    std::size_t allocations = 0;

    for (auto _ : state)
    {
        state.PauseTiming();
        // The second channel plays another stretch of the take, so a stereo pair never runs two
        // identical solves.
        const size_t span = signal.size() - (size_t) length;
        for (int c = 0; c < channels; ++c)
            buffer.copyFrom (c, 0, signal.data() + (pos + (size_t) c * (span / 2)) % span, length);
        pos = (pos + (size_t) length) % span;
        beforeBlock (*p);
        state.ResumeTiming();

        AllocationCounter::Scope scope;
        p->processBlock (buffer, midi);
        allocations += scope.allocations() + scope.heapAllocations();
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
    }

    const double samples = (double) state.iterations() * length;
    state.counters["time_per_sample"] = benchmark::Counter (samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["realtime_x"] = benchmark::Counter (samples / rate, benchmark::Counter::kIsRate);
    state.counters["allocations"] = (double) allocations;
}

// ns per host sample and real-time factor of processBlock, nothing moving.
void BM_ProcessBlock (benchmark::State& state)
{
    timeBlocks (state, blockSize, [] (Processor&) {});
}

void processArgs (benchmark::internal::Benchmark* b)
{
    b->ArgNames ({ "layout", "high", "fulldrive" });
    for (int layout : { mono, monoToStereo, stereo })
        for (int high : { 0, 1 })
            for (int drive : { 0, 1 })
                b->Args ({ layout, high, drive });
}
// A short warm-up first, so the first case is not timed while the CPU is still clocking up.
BENCHMARK (BM_ProcessBlock)->Apply (processArgs)->Unit (benchmark::kMicrosecond)->MinWarmUpTime (0.2);

// ns per host sample while the output fades: before every block the level knob moves by one
// position (untimed, it rebuilds the matrices on this thread), and each block is as long as the
// fade at this rate, so every sample of it runs both the old and the new path.
void BM_ProcessBlockFading (benchmark::State& state)
{
    bool up = false;
    timeBlocks (state, CrossfadeTiming::lengthFor (rate), [&up] (Processor& p) {
        up = ! up;
        p.parameters[3]->setValueNotifyingHost (up ? 31.0f / 32.0f : 1.0f);
    });
}
BENCHMARK (BM_ProcessBlockFading)->Apply (processArgs)->Unit (benchmark::kMicrosecond)->MinWarmUpTime (0.2);

// Mean Newton iterations per model sample for the guitar signal, as the engine runs it.
void BM_NewtonIterations (benchmark::State& state)
{
    const bool high = state.range (0) != 0;
    const bool fullDrive = state.range (1) != 0;
    CircuitEngine engine;
    engine.configure (1, 1, high ? 2 : 0);
    engine.setSampleRate (rate);
    engine.setPots (fullDrive ? 32 : 0, 16, 32);
    juce::AudioBuffer<float> warm (1, 1);
    engine.holder.process (warm);   // takes the published matrices

    auto& channel = engine.holder.channel0;
    const double inputGain = 3.3;
    double iterations = 0.0, steps = 0.0;

    // One host sample through the ratio-R filters, counting each model step's iterations.
    auto hostSample = [&] (auto ratioConstant, float u)
    {
        constexpr int R = decltype (ratioConstant)::value;
        auto& up = channel.interpolator<R>();
        auto& down = channel.decimator<R>();
        up.push (u);
        for (int k = 0; k < R; ++k)
        {
            down.push (channel.record.step (up.next()));
            iterations += channel.record.iterations;
        }
        steps += R;
        return down.output();
    };

    for (auto _ : state)
    {
        for (float x : guitar())
        {
            const float u = (float) (x * inputGain);
            const float y = high ? hostSample (std::integral_constant<int, 4>(), u)
                                 : hostSample (std::integral_constant<int, 2>(), u);
            benchmark::DoNotOptimize (y);
        }
    }
    state.counters["iterations_per_sample"] = iterations / steps;
}
BENCHMARK (BM_NewtonIterations)->ArgNames ({ "high", "fulldrive" })->Args ({ 0, 0 })->Args ({ 0, 1 })->Args ({ 1, 0 })->Args ({ 1, 1 })->Iterations (1)->Unit (benchmark::kMillisecond);

// One knob move: both channels' matrices rebuilt and published.
void BM_SetPots (benchmark::State& state)
{
    CircuitEngine engine;
    engine.configure (2, 2, 2);
    engine.setSampleRate (rate);
    int k = 0;
    std::size_t allocations = 0;
    for (auto _ : state)
    {
        AllocationCounter::Scope scope;
        engine.setPots (k % 33, (k / 33) % 33, 32 - k % 33);
        allocations += scope.allocations() + scope.heapAllocations();
        ++k;
    }
    state.counters["allocations"] = (double) allocations;
}
BENCHMARK (BM_SetPots)->Unit (benchmark::kMicrosecond);

// Memory of one processor instance: the object and what its constructor takes from the heap.
void BM_ProcessorFootprint (benchmark::State& state)
{
    double heapBytes = 0.0;
    for (auto _ : state)
    {
        const auto before = heapInUse();
        auto p = std::make_unique<Processor>();
        const auto after = heapInUse();
        heapBytes = (double) (after - before);
        benchmark::DoNotOptimize (p.get());
    }
    state.counters["bytes_sizeof"] = (double) sizeof (Processor);
    state.counters["bytes_heap_total"] = heapBytes;
}
BENCHMARK (BM_ProcessorFootprint)->Iterations (3)->Unit (benchmark::kMillisecond);
}

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
