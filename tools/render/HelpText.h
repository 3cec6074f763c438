#pragma once

#include <juce_core/juce_core.h>

namespace Render
{
// The text of --help: every option with an example.
juce::String helpText();

juce::String versionText();
}
