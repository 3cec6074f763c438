#pragma once

// Version values of the VST 2.4 deliverable, read by JUCE's VST client layer. This header is
// force-included into the VST target's translation units only; the other formats keep the
// project version (1.1.0, hex code 0x010100).
//
// VST 2 hosts know this plug-in as version 110: the decimal form major * 100 + minor * 10 +
// bugfix of 1.1.0. JUCE 7's layer puts JucePlugin_VSTChunkStructureVersion into
// AEffect::version, and answers effGetVendorVersion with its own decimal conversion of
// JucePlugin_VersionCode, which for codes below 0x010000 is major * 1000 + minor * 100 +
// bugfix * 10. The code 0x000101 therefore comes out as 110 as well. No other part of the VST
// layer reads the version code.

#define JucePlugin_VSTChunkStructureVersion 110

#ifdef JucePlugin_VersionCode
 #undef JucePlugin_VersionCode
#endif
#define JucePlugin_VersionCode 0x000101
