#pragma once

#include <atomic>

// Lock-free hand-over of a value from one writer to one reader. The writer fills its own slot
// and publishes it; the reader picks up the newest published slot at a moment of its choosing
// (the start of an audio block). Neither side ever waits, and the reader never sees a slot the
// writer is still filling.
template <class T>
class TripleBuffer
{
public:
    // Writer side.
    T& writeSlot() noexcept { return slots[back]; }

    void publish() noexcept
    {
        back = middle.exchange (back | freshBit, std::memory_order_acq_rel) & indexMask;
    }

    // Reader side. Returns true when a newer slot was taken.
    bool acquire() noexcept
    {
        if ((middle.load (std::memory_order_relaxed) & freshBit) == 0)
            return false;

        front = middle.exchange (front, std::memory_order_acq_rel) & indexMask;
        return true;
    }

    const T& readSlot() const noexcept { return slots[front]; }

private:
    static constexpr int freshBit = 4;
    static constexpr int indexMask = 3;

    T slots[3] {};
    int back = 0;                     // the writer's
    std::atomic<int> middle { 1 };    // shared
    int front = 2;                    // the reader's
};
