#pragma once

#include <juce_graphics/juce_graphics.h>

namespace artwork::palette
{
inline const juce::Colour backdropTop    { 0xff26272b };
inline const juce::Colour backdropBottom { 0xff141518 };

inline const juce::Colour barTop         { 0xff2a2b2f };
inline const juce::Colour barBottom      { 0xff111214 };
inline const juce::Colour barText        { 0xffa9a8b2 };

inline const juce::Colour greenLight     { 0xff56b062 };
inline const juce::Colour greenMid       { 0xff318e40 };
inline const juce::Colour greenDark      { 0xff1c6331 };
inline const juce::Colour greenSide      { 0xff144c24 };

inline const juce::Colour print          { 0xfff3efdc };   // silkscreen ink
inline const juce::Colour printShadow    { 0x66000000 };

inline const juce::Colour lit            { 0xff70ba72 };   // top-bar indicators when on
inline const juce::Colour unlit          { 0xff4b4b52 };

inline const juce::Colour chromeLight    { 0xffeeeef0 };
inline const juce::Colour chromeMid      { 0xffa6a8ad };
inline const juce::Colour chromeDark     { 0xff4e5056 };
}
