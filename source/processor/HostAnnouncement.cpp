#include "HostAnnouncement.h"

void announceNewValues (juce::AudioProcessor& processor)
{
    if (processor.wrapperType != juce::AudioProcessor::wrapperType_VST)
        for (auto* parameter : processor.getParameters())
            parameter->sendValueChangedMessageToListeners (parameter->getValue());

    processor.updateHostDisplay (juce::AudioProcessor::ChangeDetails {}.withProgramChanged (true).withParameterInfoChanged (true));
}
