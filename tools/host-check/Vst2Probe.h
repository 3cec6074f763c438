#pragma once

// What a VST 2.4 host reads straight from the plug-in's AEffect record and dispatcher. This part
// of the host speaks the raw interface (Debian's fst headers with the numbered opcodes of
// binding/vst/sdk) and includes nothing of JUCE.

#include <string>
#include <utility>
#include <vector>

namespace hostcheck
{
struct Vst2Facts
{
    int magic = 0, uniqueId = 0, version = 0;
    int numPrograms = 0, numParams = 0, numInputs = 0, numOutputs = 0;
    long long flags = 0;
    int initialDelay = 0;
    std::string effectName, productString, vendorString;
    long long vendorVersion = 0, vstVersion = 0, category = 0, tailSize = -1;
    std::vector<std::pair<std::string, long long>> canDo;
    // (inputs, outputs, type in, type out) → accepted
    struct Arrangement { int inputs, outputs, inType, outType; bool accepted; };
    std::vector<Arrangement> arrangements;
    // effGetSpeakerArrangement after each accepted effSetSpeakerArrangement: the answer, then
    // the arrangement type and the speaker types of the plug-in's input and output records.
    struct Speakers { int inputs, outputs; long long answer; int inType, outType; std::vector<int> inSpeakers, outSpeakers; };
    std::vector<Speakers> speakers;
    std::vector<std::string> programNames;   // effGetProgramNameIndexed
    std::vector<std::string> paramNames, paramLabels, paramDisplays;
    std::vector<float> paramValues;
    long long bypassOn = 0, bypassOff = 0;   // effSetBypass answers
    long long chunkSize = 0;                 // effGetChunk (bank)
    std::vector<unsigned char> chunk;
    std::vector<unsigned char> programChunk; // effGetChunk (one program)
    long long setProgramChunk = 0;           // effSetChunk (one program) of the bank with program 2
    int programAfterChunk = -1;
    int programAfterSet = -1;                // effGetProgram after effSetProgram (1)
    float levelAfterProgram = -1.0f;         // TS Level after that switch
    std::string gainLabelAfterProgram;
};

// The plug-in must be loaded and not yet resumed (effMainsChanged 0). The probe changes the
// program and the speaker arrangement and restores program 0 and stereo before it returns.
Vst2Facts probeVst2 (void* aeffect, const std::vector<std::string>& canDoStrings);
}
