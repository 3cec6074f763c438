// Fuzzes the state reader: whatever the bytes, reading never crashes, hangs or leaks, and a
// bank it accepts writes back to a block that reads as the same bank.
#include "processor/StateCodec.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    const std::array<float, StateCodec::numParameters> defaults { 1.0f, 0.0f, 0.5f, 1.0f, 0.33f, 0.0f, 1.0f, 0.0f };

    // Raw blocks, and the same bytes wrapped as a well-formed block so the XML side gets reached.
    StateCodec::read (data, (int) size, defaults);

    std::string wrapped ("VC2!", 4);
    const auto n = (std::uint32_t) size;
    wrapped.push_back ((char) (n & 0xff));
    wrapped.push_back ((char) ((n >> 8) & 0xff));
    wrapped.push_back ((char) ((n >> 16) & 0xff));
    wrapped.push_back ((char) ((n >> 24) & 0xff));
    wrapped.append (reinterpret_cast<const char*> (data), size);
    wrapped.push_back (0);

    const auto loaded = StateCodec::read (wrapped.data(), (int) wrapped.size(), defaults);
    if (! loaded)
        return 0;

    StateCodec::Bank bank;
    bank.currentProgram = loaded->currentProgram;
    for (int i = 0; i < loaded->numPrograms; ++i)
        bank.programs[(size_t) i] = loaded->programs[(size_t) i];

    juce::MemoryBlock block;
    StateCodec::writeBlock (*StateCodec::toXml (bank), block);
    const auto again = StateCodec::read (block.getData(), (int) block.getSize(), defaults);
    if (! again || again->numPrograms != 4 || again->currentProgram != bank.currentProgram)
        __builtin_trap();

    for (int i = 0; i < 4; ++i)
    {
        if (again->programs[(size_t) i].name != bank.programs[(size_t) i].name)
            __builtin_trap();
        for (int k = 0; k < StateCodec::numParameters; ++k)
        {
            const float a = again->programs[(size_t) i].values[(size_t) k];
            const float b = bank.programs[(size_t) i].values[(size_t) k];
            if (std::memcmp (&a, &b, sizeof a) != 0 && ! (a != a && b != b))
                __builtin_trap();
        }
    }
    return 0;
}
