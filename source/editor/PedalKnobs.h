#pragma once

#include "FilmStripKnob.h"

// The three pedal knobs. Each loads its own strip of 65 knob pictures; the editor sets the range,
// the style and the listener.
class KnobTSDrive final : public FilmStripKnob
{
public:
    KnobTSDrive();
    ~KnobTSDrive() override;

private:
    juce::Image strip, doubledStrip;
};

class KnobTSTone final : public FilmStripKnob
{
public:
    KnobTSTone();
    ~KnobTSTone() override;

private:
    juce::Image strip, doubledStrip;
};

class KnobTSLevel final : public FilmStripKnob
{
public:
    KnobTSLevel();
    ~KnobTSLevel() override;

private:
    juce::Image strip, doubledStrip;
};
