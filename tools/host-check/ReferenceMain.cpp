// The reference run: the Processor in this process, driven as a host drives a plug-in, for one
// scenario. Writes the output channels as raw 32-bit floats, one channel after another.
//
//   vesk_reference <scenario arguments> --output FILE

#include "ScenarioRun.h"
#include "processor/Processor.h"

#include <cstdio>
#include <iostream>

int main (int argc, char** argv)
{
    hostcheck::Scenario s;
    std::vector<std::string> rest;
    if (! s.parse (argc, argv, rest) || rest.size() != 2 || rest[0] != "--output")
    {
        std::cerr << "usage: vesk_reference <scenario arguments> --output FILE\n";
        return 2;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    Processor p;

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (s.inputs));
    layout.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (s.outputs));
    if (! p.setBusesLayout (layout))
    {
        std::cerr << "layout refused\n";
        return 1;
    }
    p.setRateAndBufferSizeDetails (s.sampleRate, s.prepareBlock);
    p.prepareToPlay (s.sampleRate, s.prepareBlock);

    if (s.program >= 0)
        p.setCurrentProgram (s.program);
    auto& params = p.getParameters();
    for (auto& [index, value] : s.settings)
        params[index]->setValue (value);

    const auto outputs = hostcheck::playScenario (p, s, juce::jmax (s.inputs, s.outputs),
                                                  [&] (int index, float value) { params[index]->setValue (value); });

    std::FILE* f = std::fopen (rest[1].c_str(), "wb");
    if (f == nullptr)
        return 1;
    for (auto& ch : outputs)
        std::fwrite (ch.data(), sizeof (float), ch.size(), f);
    return std::fclose (f) == 0 ? 0 : 1;
}
