#pragma once

// One audio run, described identically for the in-process reference program and for the host
// that drives a plug-in binary: layout, rate, block sizes, settings and the test signal. Both
// programs build the same input from the same description, so their outputs can be compared
// bit for bit.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace hostcheck
{
struct Scenario
{
    double sampleRate = 48000.0;
    int inputs = 2;
    int outputs = 2;
    int prepareBlock = 512;              // the size handed to prepareToPlay
    std::vector<int> blocks { 512 };     // block sizes, used in turn
    int totalSamples = 4800;
    int program = -1;                    // a program to select before processing, or -1
    std::vector<std::pair<int, float>> settings;  // normalised parameter values, set in order
    bool bypass = false;                 // the host bypasses the plug-in for the whole run

    // A parameter the host moves while the audio runs: set between blocks, before block `block`.
    struct Move { int block; int parameter; float value; };
    std::vector<Move> moves;
    std::uint32_t seed = 1;              // the test signal

    // The block size used for the block with this index.
    int blockSize (size_t index) const { return blocks[index % blocks.size()]; }

    std::vector<std::string> toArguments() const
    {
        std::vector<std::string> a;
        auto add = [&a] (const std::string& k, const std::string& v) { a.push_back (k); a.push_back (v); };
        std::ostringstream rate;
        rate.precision (17);
        rate << sampleRate;
        add ("--rate", rate.str());
        add ("--in", std::to_string (inputs));
        add ("--out", std::to_string (outputs));
        add ("--prepare", std::to_string (prepareBlock));
        std::string b;
        for (size_t i = 0; i < blocks.size(); ++i)
            b += (i ? "," : "") + std::to_string (blocks[i]);
        add ("--blocks", b);
        add ("--samples", std::to_string (totalSamples));
        add ("--program", std::to_string (program));
        for (auto& s : settings)
        {
            std::ostringstream v;
            v.precision (9);
            v << s.first << "=" << s.second;
            add ("--set", v.str());
        }
        for (auto& m : moves)
        {
            std::ostringstream v;
            v.precision (9);
            v << m.block << ":" << m.parameter << "=" << m.value;
            add ("--move", v.str());
        }
        if (bypass)
            a.push_back ("--bypass");
        add ("--seed", std::to_string (seed));
        return a;
    }

    // Reads what toArguments wrote; unknown arguments are left for the caller. Returns false on a
    // malformed value.
    bool parse (int argc, char** argv, std::vector<std::string>& rest)
    {
        for (int i = 1; i < argc; ++i)
        {
            const std::string k = argv[i];
            auto value = [&] () -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
            const char* v = nullptr;
            if (k == "--bypass") { bypass = true; continue; }
            if (k == "--rate" || k == "--in" || k == "--out" || k == "--prepare" || k == "--blocks"
                || k == "--samples" || k == "--program" || k == "--set" || k == "--move" || k == "--seed")
            {
                if ((v = value()) == nullptr)
                    return false;
            }
            else
            {
                rest.push_back (k);
                continue;
            }

            if (k == "--rate") sampleRate = std::strtod (v, nullptr);
            else if (k == "--in") inputs = std::atoi (v);
            else if (k == "--out") outputs = std::atoi (v);
            else if (k == "--prepare") prepareBlock = std::atoi (v);
            else if (k == "--samples") totalSamples = std::atoi (v);
            else if (k == "--program") program = std::atoi (v);
            else if (k == "--seed") seed = (std::uint32_t) std::strtoul (v, nullptr, 10);
            else if (k == "--blocks")
            {
                blocks.clear();
                std::stringstream ss (v);
                std::string item;
                while (std::getline (ss, item, ','))
                    blocks.push_back (std::atoi (item.c_str()));
            }
            else if (k == "--set")
            {
                const std::string s = v;
                const auto eq = s.find ('=');
                if (eq == std::string::npos)
                    return false;
                settings.emplace_back (std::atoi (s.substr (0, eq).c_str()), std::strtof (s.c_str() + eq + 1, nullptr));
            }
            else if (k == "--move")
            {
                const std::string s = v;
                const auto colon = s.find (':');
                const auto eq = s.find ('=');
                if (colon == std::string::npos || eq == std::string::npos || eq < colon)
                    return false;
                moves.push_back ({ std::atoi (s.substr (0, colon).c_str()),
                                   std::atoi (s.substr (colon + 1, eq - colon - 1).c_str()),
                                   std::strtof (s.c_str() + eq + 1, nullptr) });
            }
        }

        if (blocks.empty())
            return false;
        for (int b : blocks)
            if (b <= 0)
                return false;
        return inputs >= 1 && inputs <= 2 && outputs >= 1 && outputs <= 2 && sampleRate > 0 && totalSamples >= 0;
    }
};

// The test signal of one input channel: two tones that differ per channel, a little noise, and
// a stretch of silence in the last quarter so that decays are exercised. Computed in double from
// the sample index alone, rounded to float.
inline std::vector<float> testSignal (const Scenario& s, int channel)
{
    std::vector<float> x ((size_t) s.totalSamples);
    std::uint32_t noise = s.seed * 2654435761u + (std::uint32_t) channel * 40503u + 1u;
    const double twoPi = 6.283185307179586;
    const double f1 = 110.0 * (channel + 1);
    const double f2 = 1375.0 + 250.0 * channel;
    const int silenceFrom = s.totalSamples - s.totalSamples / 4;

    for (int n = 0; n < s.totalSamples; ++n)
    {
        noise = noise * 1664525u + 1013904223u;
        const double t = n / s.sampleRate;
        double v = 0.45 * std::sin (twoPi * f1 * t) + 0.2 * std::sin (twoPi * f2 * t + channel)
                 + 0.02 * ((double) (noise >> 8) / 8388608.0 - 1.0);
        if (n >= silenceFrom)
            v = 0.0;
        x[(size_t) n] = (float) v;
    }
    return x;
}
}
