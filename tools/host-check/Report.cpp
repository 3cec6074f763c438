#include "HostCheck.h"

#include <iostream>

namespace hostcheck
{
Report& report()
{
    static Report r;
    return r;
}

void Report::section (const juce::String& name)
{
    const std::lock_guard<std::mutex> l (lock);
    std::cout << "\n== " << name << std::endl;
}

void Report::saw (const juce::String& what)
{
    const std::lock_guard<std::mutex> l (lock);
    std::cout << "   saw  " << what << std::endl;
}

bool Report::expect (bool ok, const juce::String& what)
{
    const std::lock_guard<std::mutex> l (lock);
    if (! ok)
        ++failed;
    std::cout << (ok ? "   ok   " : "   FAIL ") << what << std::endl;
    return ok;
}

bool Report::expectText (const juce::String& actual, const juce::String& expected, const juce::String& what)
{
    const bool ok = actual == expected;
    return expect (ok, what + ": \"" + actual + "\"" + (ok ? juce::String() : " (expected \"" + expected + "\")"));
}

bool Report::expectInt (juce::int64 actual, juce::int64 expected, const juce::String& what)
{
    const bool ok = actual == expected;
    return expect (ok, what + ": " + juce::String (actual) + (ok ? juce::String() : " (expected " + juce::String (expected) + ")"));
}

bool Report::expectFloat (float actual, float expected, const juce::String& what)
{
    const bool ok = std::memcmp (&actual, &expected, sizeof (float)) == 0;
    return expect (ok, what + ": " + juce::String (actual, 9) + (ok ? juce::String() : " (expected " + juce::String (expected, 9) + ")"));
}

int Report::failures() const
{
    const std::lock_guard<std::mutex> l (lock);
    return failed;
}

juce::String formatName (Format f)
{
    switch (f)
    {
        case Format::vst2: return "VST";
        case Format::vst3: return "VST3";
        case Format::lv2: return "LV2";
        case Format::aax: return "AAX";
    }
    return {};
}
}
