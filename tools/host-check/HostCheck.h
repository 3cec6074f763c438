#pragma once

#include "Scenario.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_extra/juce_gui_extra.h>

#include <array>
#include <memory>
#include <mutex>
#include <vector>

namespace hostcheck
{
// Results -----------------------------------------------------------------------------------

// Collects what the host saw and every failed expectation; safe to use from several threads.
class Report
{
public:
    void section (const juce::String& name);
    void saw (const juce::String& what);
    bool expect (bool ok, const juce::String& what);
    bool expectText (const juce::String& actual, const juce::String& expected, const juce::String& what);
    bool expectInt (juce::int64 actual, juce::int64 expected, const juce::String& what);
    bool expectFloat (float actual, float expected, const juce::String& what);   // bit-exact
    int failures() const;

private:
    mutable std::mutex lock;
    int failed = 0;
};

Report& report();

// The plug-in under test --------------------------------------------------------------------

enum class Format { vst2, vst3, lv2, aax };

juce::String formatName (Format f);

struct Target
{
    Format format = Format::vst3;
    juce::File binary;              // the .so, the .vst3 or .lv2 bundle, the AAX module
    juce::String lv2Uri;            // LV2: the plug-in URI
    juce::File reference;           // the vesk_reference program
    juce::File scratch;             // a folder for temporary files
};

// Creates fresh instances of the plug-in under test, the way a host does.
class Loader
{
public:
    virtual ~Loader() = default;
    virtual std::unique_ptr<juce::AudioPluginInstance> create (double rate, int blockSize) = 0;
    virtual juce::PluginDescription description() const = 0;
};

std::unique_ptr<Loader> makeLoader (const Target& target, juce::String& error);

// What the parameters, programs and state should look like -------------------------------

namespace expected
{
extern const std::array<const char*, 8> names;
extern const std::array<float, 8> defaults;
extern const std::array<const char*, 8> labelsProgram0;     // factory program 0
extern const std::array<const char*, 8> textsProgram0;      // two decimals
extern const std::array<const char*, 4> programNames;
extern const std::array<std::array<float, 8>, 4> programValues;  // normalised, as getValue reads them
juce::String stateText (int currentProgram);                // the XML of the factory state
juce::MemoryBlock stateBlock (int currentProgram);
}

// The host's parameter for each of the eight (by name); null where the host has none.
std::array<juce::AudioProcessorParameter*, 8> findParameters (juce::AudioPluginInstance& p);

// The plug-in's own state block inside the bytes a host saved (raw, or base64 inside text).
juce::MemoryBlock findStateBlock (const juce::MemoryBlock& hostState);

// Audio -------------------------------------------------------------------------------------

using Channels = std::vector<std::vector<float>>;

bool applyLayout (juce::AudioPluginInstance& p, int inputs, int outputs);

// Runs a scenario on a prepared hosted instance (layout and rate already set), applying its
// program and settings first.
Channels runOn (juce::AudioPluginInstance& p, const Scenario& s);

// Processes a few blocks of silence on a prepared instance. VST3 and LV2 deliver parameter and
// program changes to the plug-in inside its audio callback, so a host only sees their effect
// (values read back, state saved) after processing.
void settle (juce::AudioPluginInstance& p, int blocks = 2);

// A fresh instance, laid out and prepared for the scenario; null when refused.
std::unique_ptr<juce::AudioPluginInstance> preparedInstance (Loader& loader, const Scenario& s);

// The in-process reference for a scenario.
bool runReference (const Target& target, const Scenario& s, Channels& out);

// Check groups ------------------------------------------------------------------------------

void checkIdentity (const Target& target, Loader& loader);
void checkVst2Binary (juce::AudioPluginInstance& p);
void checkAudio (const Target& target, Loader& loader);
void checkState (const Target& target, Loader& loader);
void checkStress (const Target& target, Loader& loader);
void checkEditor (const Target& target, Loader& loader);

// The AAX module's own records, for the identity checks.
void checkAaxModule (const Target& target);

// The AAX module's host calls beyond the format-neutral checks; the editor part needs a display
// (Linux only: AaxChecks.cpp).
void checkAaxHostCalls (const Target& target);
void checkAaxEditorCalls (const Target& target);

// Renders and comparisons across platforms (--cross-render, --cross-compare; CrossPlatform.cpp).
int runCrossPlatform (int argc, char** argv);

// The plug-ins a host finds in its default folders when it starts (--scan; Scan.cpp).
int runScan (int argc, char** argv);
}
