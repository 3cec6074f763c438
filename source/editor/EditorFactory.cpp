#include "Editor.h"
#include "processor/Processor.h"

juce::AudioProcessorEditor* Processor::createEditor()
{
    return new Editor (*this);
}
