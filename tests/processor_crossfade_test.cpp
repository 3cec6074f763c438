#include "support/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

// Knob moves and switches while a note sustains, reached as a host reaches them: parameter
// changes through setValueNotifyingHost between blocks, the host's bypass through
// processBlockBypassed. Each change is judged by two figures, printed for every case:
//  - step: the largest sample-to-sample change of the output around the change, in dB over the
//    largest one of the steady sound just before and just after it. A hard switch between two
//    paths adds a step of the size of their difference, which the ear hears as a click; a fade
//    moves by 1/480 of that difference per sample at 48 kHz, well inside the waveform's own slope.
//  - burst: the energy above 6 kHz in 10 ms windows around the change, in dB over the louder of
//    the steady high-frequency floors before and after it. A click is broadband, so it shows as a
//    burst above the floor; a fade only mixes two floors, so it stays at the louder one.
// The bounds (step 1 dB, burst 2.5 dB) keep a change within the loudness and brightness of the
// sound on either side of it, so nothing new is heard; the same sweeps without fades must break
// at least one of them, which shows the check can fail.
namespace
{
constexpr double rate = 48000.0;
constexpr int blockSize = 64;
constexpr double toneHz = 220.0;
constexpr double stepBoundDb = 1.0;
constexpr double burstBoundDb = 2.5;
constexpr int window = 480;   // 10 ms

struct Figures
{
    double stepDb = -1.0e9;
    double burstDb = -1.0e9;
    double windowJumpDb = 0.0;   // largest level change between neighbouring 10 ms windows
};

// One scenario: what the host does before block b (returns whether the block is bypassed).
using Scenario = std::function<bool (Processor&, int block)>;

struct Take
{
    std::vector<float> out;
    std::vector<int> changes;   // sample index of each change
};

Take play (const Scenario& scenario, bool fades, double seconds)
{
    auto p = ProcessorFixture::makePrepared (1, 1, rate, blockSize);
    p->engine.holder.fadesEnabled = fades;
    juce::AudioBuffer<float> buffer (1, blockSize);
    juce::MidiBuffer midi;
    Take r;
    const int blocks = (int) (seconds * rate) / blockSize;
    bool wasBypassed = false;
    unsigned rebuilds = p->engine.getRebuildCount();
    int mode = p->engine.getMode(), index = p->engine.getOversamplingIndex();
    for (int b = 0; b < blocks; ++b)
    {
        const bool bypassed = scenario (*p, b);
        if (bypassed != wasBypassed || rebuilds != p->engine.getRebuildCount()
            || mode != p->engine.getMode() || index != p->engine.getOversamplingIndex())
            r.changes.push_back (b * blockSize);
        wasBypassed = bypassed;
        rebuilds = p->engine.getRebuildCount();
        mode = p->engine.getMode();
        index = p->engine.getOversamplingIndex();

        for (int s = 0; s < blockSize; ++s)
            buffer.setSample (0, s, 0.3f * (float) std::sin (2.0 * M_PI * toneHz * (double) (b * blockSize + s) / rate));
        if (bypassed)
            p->processBlockBypassed (buffer, midi);
        else
            p->processBlock (buffer, midi);
        r.out.insert (r.out.end(), buffer.getReadPointer (0), buffer.getReadPointer (0) + blockSize);
    }
    return r;
}

double db (double ratio) { return 20.0 * std::log10 (std::max (ratio, 1.0e-12)); }

double maxStep (const std::vector<float>& y, int from, int to)
{
    double m = 0.0;
    for (int n = std::max (from, 1); n < std::min (to, (int) y.size()); ++n)
        m = std::max (m, (double) std::fabs (y[(size_t) n] - y[(size_t) n - 1]));
    return m;
}

double rms (const std::vector<float>& y, int from)
{
    double sum = 0.0;
    for (int n = from; n < from + window; ++n)
        sum += (double) y[(size_t) n] * y[(size_t) n];
    return std::sqrt (sum / window);
}

Figures judge (const Take& r)
{
    // Energy above 6 kHz: a fourth-order high-pass.
    std::vector<float> high (r.out);
    for (int stage = 0; stage < 2; ++stage)
    {
        juce::IIRFilter filter;
        filter.setCoefficients (juce::IIRCoefficients::makeHighPass (rate, 6000.0));
        filter.processSamples (high.data(), (int) high.size());
    }

    Figures f;
    const int quiet = window + window / 2;   // the steady sound is judged 15 ms away from a change
    for (int c : r.changes)
    {
        if (c < 3 * window || c + 4 * window > (int) r.out.size())
            continue;
        const double steadyStep = std::max (maxStep (r.out, c - quiet - window, c - quiet),
                                            maxStep (r.out, c + 2 * window, c + 3 * window));
        f.stepDb = std::max (f.stepDb, db (maxStep (r.out, c - quiet, c + 2 * window) / steadyStep));

        const double floor = std::max (rms (high, c - quiet - window), rms (high, c + 2 * window));
        for (int w = c - window; w <= c + window; w += window / 4)
            f.burstDb = std::max (f.burstDb, db (rms (high, w) / floor));
    }
    for (size_t w = 3 * window; w + 2 * window <= r.out.size(); w += window)
        f.windowJumpDb = std::max (f.windowJumpDb, std::fabs (db (rms (r.out, (int) w + window) / rms (r.out, (int) w))));
    return f;
}

void setStep (Processor& p, unsigned k, float stepValue, float steps)
{
    p.parameters[k]->setValueNotifyingHost (stepValue / steps);
}

// A 2 s sweep of a knob from position 0 to 32 after 0.3 s of the tone.
Scenario sweep (unsigned knob)
{
    return [knob] (Processor& p, int b) {
        const int start = (int) (0.3 * rate) / blockSize;
        const int length = (int) (2.0 * rate) / blockSize;
        if (b == 0)
            setStep (p, knob, 0, 32);   // the others stay where the default program has them
        if (b >= start && b <= start + length)
            setStep (p, knob, (float) std::floor (32.0 * (b - start) / length), 32);
        return false;
    };
}

// A switch toggled every 150 ms after 0.3 s; `bypass` toggles the host's bypass instead.
Scenario toggle (unsigned parameter, bool bypass = false)
{
    return [parameter, bypass] (Processor& p, int b) {
        const int start = (int) (0.3 * rate) / blockSize;
        const int period = (int) (0.15 * rate) / blockSize;
        const bool second = b >= start && ((b - start) / period) % 2 == 0;
        if (bypass)
            return second;
        setStep (p, parameter, second ? 1.0f - p.parameters[parameter]->getDefaultValue() : p.parameters[parameter]->getDefaultValue(), 1);
        return false;
    };
}

struct Case
{
    const char* name;
    Scenario scenario;
    bool clicksWithoutFades = true;
};

std::vector<Case> cases()
{
    // The drive pot sits in the feedback leg of the first stage: a position's step moves the gain
    // a little and the state hardly, so it stays inside the bounds even without fades.
    return {
        { "drive sweep", sweep (1), false },
        { "tone sweep", sweep (2) },
        { "level sweep", sweep (3) },
        { "model switch", toggle (7) },
        { "on/off switch", toggle (0) },
        { "quality switch", toggle (6) },
        { "host bypass", toggle (0, true) },
    };
}
}

TEST (Crossfade, KnobSweepsAndSwitchesStayWithinTheStepAndBurstBounds)
{
    for (const auto& c : cases())
    {
        const Take hard = play (c.scenario, false, 2.6);
        const Take faded = play (c.scenario, true, 2.6);
        ASSERT_GE (faded.changes.size(), 8u) << c.name;
        ASSERT_EQ (faded.changes, hard.changes) << c.name;
        const Figures before = judge (hard);
        const Figures after = judge (faded);
        std::printf ("%-15s changes %3zu   without fades: step %5.1f dB, burst %5.1f dB, window jump %5.1f dB"
                     "   with fades: step %5.1f dB, burst %5.1f dB, window jump %5.1f dB\n",
                     c.name, faded.changes.size(), before.stepDb, before.burstDb, before.windowJumpDb,
                     after.stepDb, after.burstDb, after.windowJumpDb);

        EXPECT_LE (after.stepDb, stepBoundDb) << c.name;
        EXPECT_LE (after.burstDb, burstBoundDb) << c.name;
        if (c.clicksWithoutFades)
        {
            EXPECT_TRUE (before.stepDb > stepBoundDb || before.burstDb > burstBoundDb) << c.name;
        }
    }
}

TEST (Crossfade, OnceAFadeEndsTheOutputIsTheUnfadedPathAndTheFadeLastsTheSameTimeAtAnyRate)
{
    // Each change once with fades and once without; before the change and from the fade's end on
    // the two must agree to the bit, in between they must differ, and the span in which they
    // differ must last the fade's time whatever the rate and block size.
    struct Change
    {
        const char* name;
        std::function<void (Processor&, int blockAfterChange)> apply;   // before each block from the change on
        bool bypass = false;
    };
    const std::vector<Change> changes = {
        { "drive", [] (Processor& p, int b) { if (b == 0) p.parameters[1]->setValueNotifyingHost (0.5f); } },
        { "model", [] (Processor& p, int b) { if (b == 0) p.parameters[7]->setValueNotifyingHost (1.0f); } },
        { "quality", [] (Processor& p, int b) { if (b == 0) p.parameters[6]->setValueNotifyingHost (0.0f); } },
        { "on/off", [] (Processor& p, int b) { if (b == 0) p.parameters[0]->setValueNotifyingHost (0.0f); } },
        { "bypass", [] (Processor&, int) {}, true },
        { "program", [] (Processor& p, int b) { if (b == 0) p.setCurrentProgram (3); } },
        // A storm: every knob and switch moves before each of the first 40 blocks (the last move
        // leaves the pedal on); the fade after the last one ends like any other.
        { "storm", [] (Processor& p, int b) {
              if (b >= 40)
                  return;
              juce::Random rng (b);
              for (unsigned k = 0; k < 8; ++k)
                  p.parameters[k]->setValueNotifyingHost (k == 0 && b == 39 ? 1.0f : rng.nextFloat());
          } },
    };

    for (const auto& [fs, block] : std::vector<std::pair<double, int>> { { 8000.0, 1 }, { 48000.0, 64 }, { 384000.0, 8192 } })
    {
        const int changeBlock = (int) std::ceil (0.05 * fs / block);
        for (const auto& change : changes)
        {
            const bool storm = std::string (change.name) == "storm";
            const int blocks = changeBlock + (storm ? 40 : 0) + (int) std::ceil (0.05 * fs / block) + 1;
            std::vector<float> out[2];
            int lastChangeSample = changeBlock * block;
            for (int fades = 0; fades < 2; ++fades)
            {
                auto p = ProcessorFixture::makePrepared (1, 1, fs, block);
                p->engine.holder.fadesEnabled = fades != 0;
                juce::AudioBuffer<float> buffer (1, block);
                juce::MidiBuffer midi;
                for (int b = 0; b < blocks; ++b)
                {
                    const bool after = b >= changeBlock;
                    const unsigned rebuilds = p->engine.getRebuildCount();
                    if (after)
                        change.apply (*p, b - changeBlock);
                    if (p->engine.getRebuildCount() != rebuilds)
                        lastChangeSample = b * block;
                    for (int s = 0; s < block; ++s)
                        buffer.setSample (0, s, 0.3f * (float) std::sin (2.0 * M_PI * toneHz * (double) (b * block + s) / fs));
                    if (after && change.bypass)
                        p->processBlockBypassed (buffer, midi);
                    else
                        p->processBlock (buffer, midi);
                    out[fades].insert (out[fades].end(), buffer.getReadPointer (0), buffer.getReadPointer (0) + block);
                }
                EXPECT_EQ (p->engine.holder.fadeSamplesLeft(), 0);
            }

            int first = -1, last = -1;
            for (int n = 0; n < (int) out[0].size(); ++n)
                if (out[0][(size_t) n] != out[1][(size_t) n])
                {
                    if (first < 0)
                        first = n;
                    last = n;
                }
            const std::string where = std::string (change.name) + " at " + std::to_string ((int) fs) + " Hz, blocks of " + std::to_string (block);
            ASSERT_GE (first, 0) << where << ": the fade changed nothing";
            EXPECT_EQ (first, changeBlock * block) << where;
            const double fadeMs = 1000.0 * (last + 1 - lastChangeSample) / fs;
            EXPECT_LE (fadeMs, 10.0) << where;
            if (! storm)
            {
                EXPECT_GE (fadeMs, 9.0) << where;   // after a storm the last fade may have begun earlier
            }
        }
    }
}
