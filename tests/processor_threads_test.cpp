#include "support/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

// The audio thread runs without pause while two other threads move every parameter, switch
// programs and load states, as hosts and editors do. Run under ThreadSanitizer in CI.
TEST (ProcessorThreads, AudioKeepsRunningWhileEverythingChanges)
{
    auto p = ProcessorFixture::makePrepared (2, 2, 48000.0, 256);
    const auto factoryState = ProcessorFixture::stateOf (*p);

    std::atomic<bool> stop { false };
    std::atomic<long> blocks { 0 };
    std::atomic<bool> nonFinite { false };
    std::atomic<float> loudest { 0.0f };

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (2, 256);
        juce::MidiBuffer midi;
        juce::Random rng (11);
        long n = 0;
        while (! stop.load() || n < 200)
        {
            for (int c = 0; c < 2; ++c)
                for (int s = 0; s < 256; ++s)
                    buffer.setSample (c, s, 0.5f * std::sin ((float) (n * 256 + s) * 0.03f) + 0.01f * (rng.nextFloat() - 0.5f));

            const juce::ScopedLock lock (p->getCallbackLock());
            if (p->isSuspended())
                buffer.clear();
            else
                p->processBlock (buffer, midi);

            for (int c = 0; c < 2; ++c)
                for (int s = 0; s < 256; ++s)
                {
                    const float v = buffer.getSample (c, s);
                    if (! std::isfinite (v))
                        nonFinite.store (true);
                    if (std::fabs (v) > loudest.load())
                        loudest.store (std::fabs (v));
                }
            ++n;
            blocks.store (n);
        }
    });

    auto hammer = [&] (int seed)
    {
        juce::Random rng (seed);
        while (! stop.load())
        {
            switch (rng.nextInt (6))
            {
                case 0:
                case 1:
                case 2:
                    p->parameters[(size_t) rng.nextInt (8)]->setValueNotifyingHost (rng.nextFloat());
                    break;
                case 3:
                    p->setCurrentProgram (rng.nextInt (4));
                    break;
                case 4:
                    p->setStateInformation (factoryState.getData(), (int) factoryState.getSize());
                    break;
                default:
                {
                    juce::MemoryBlock saved;
                    p->getStateInformation (saved);
                    p->setStateInformation (saved.getData(), (int) saved.getSize());
                    break;
                }
            }
        }
    };

    std::thread t1 (hammer, 1), t2 (hammer, 2);
    std::this_thread::sleep_for (std::chrono::seconds (3));
    stop.store (true);
    t1.join();
    t2.join();
    audio.join();

    EXPECT_GT (blocks.load(), 200);
    EXPECT_FALSE (nonFinite.load());
    EXPECT_LT (loudest.load(), 20.0f);
}
