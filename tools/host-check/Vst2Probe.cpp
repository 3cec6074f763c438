#include "Vst2Probe.h"

#include <pluginterfaces/vst2.x/aeffectx.h>

#include <cstring>

namespace hostcheck
{
namespace
{
long long call (AEffect* e, int opcode, int index = 0, long long value = 0, void* ptr = nullptr, float opt = 0.0f)
{
    return (long long) e->dispatcher (e, opcode, index, (VstIntPtr) value, ptr, opt);
}

std::string text (AEffect* e, int opcode, int index = 0)
{
    char buffer[256] = {};
    call (e, opcode, index, 0, buffer);
    return buffer;
}

// An arrangement record with room for eight speakers.
struct Arrangement
{
    alignas (VstSpeakerArrangement) unsigned char storage[sizeof (VstSpeakerArrangement) + 8 * sizeof (VstSpeakerProperties)] {};
    VstSpeakerArrangement* get() { return reinterpret_cast<VstSpeakerArrangement*> (storage); }

    Arrangement (int type, int channels)
    {
        get()->type = type;
        get()->numChannels = channels;
    }
};

int typeFor (int channels)
{
    switch (channels)
    {
        case 0: return kSpeakerArrEmpty;
        case 1: return kSpeakerArrMono;
        case 2: return kSpeakerArrStereo;
        default: return kSpeakerArrUserDefined;
    }
}

// The speakers of an arrangement, as the VST 2.4 interface numbers them: one channel is the centre
// speaker (3), two are left (1) and right (2).
void fillSpeakers (VstSpeakerArrangement& a)
{
    for (int i = 0; i < a.numChannels && i < 8; ++i)
        a.speakers[i].type = a.numChannels == 1 ? 3 : i == 0 ? 1 : i == 1 ? 2 : 0;
}

bool setArrangement (AEffect* e, int inputs, int outputs)
{
    Arrangement in (typeFor (inputs), inputs), out (typeFor (outputs), outputs);
    fillSpeakers (*in.get());
    fillSpeakers (*out.get());
    return call (e, effSetSpeakerArrangement, 0, (long long) (VstIntPtr) in.get(), out.get()) != 0;
}

std::vector<int> speakerTypes (const VstSpeakerArrangement* a)
{
    std::vector<int> types;
    for (int i = 0; a != nullptr && i < a->numChannels && i < 8; ++i)
        types.push_back (a->speakers[i].type);
    return types;
}
}

Vst2Facts probeVst2 (void* aeffect, const std::vector<std::string>& canDoStrings)
{
    auto* e = static_cast<AEffect*> (aeffect);
    Vst2Facts f;
    f.magic = e->magic;
    f.uniqueId = e->uniqueID;
    f.version = e->version;
    f.numPrograms = e->numPrograms;
    f.numParams = e->numParams;
    f.numInputs = e->numInputs;
    f.numOutputs = e->numOutputs;
    f.flags = (long long) e->flags;
    f.initialDelay = e->initialDelay;

    f.effectName = text (e, effGetEffectName);
    f.productString = text (e, effGetProductString);
    f.vendorString = text (e, effGetVendorString);
    f.vendorVersion = call (e, effGetVendorVersion);
    f.vstVersion = call (e, effGetVstVersion);
    f.category = call (e, effGetPlugCategory);
    f.tailSize = call (e, effGetTailSize);

    for (auto& s : canDoStrings)
    {
        std::vector<char> copy (s.begin(), s.end());
        copy.push_back (0);
        f.canDo.emplace_back (s, call (e, effCanDo, 0, 0, copy.data()));
    }

    const int pairs[][2] = { { 1, 1 }, { 1, 2 }, { 2, 2 }, { 2, 1 }, { 0, 2 }, { 2, 0 }, { 0, 1 }, { 1, 0 }, { 3, 3 }, { 6, 6 }, { 2, 6 } };
    for (auto& p : pairs)
        f.arrangements.push_back ({ p[0], p[1], typeFor (p[0]), typeFor (p[1]), setArrangement (e, p[0], p[1]) });

    const int accepted[][2] = { { 1, 1 }, { 1, 2 }, { 2, 2 } };
    for (auto& p : accepted)
    {
        Vst2Facts::Speakers s { p[0], p[1], 0, -100, -100, {}, {} };
        if (setArrangement (e, p[0], p[1]))
        {
            VstSpeakerArrangement* in = nullptr;
            VstSpeakerArrangement* out = nullptr;
            s.answer = call (e, effGetSpeakerArrangement, 0, (long long) (VstIntPtr) &in, &out);
            if (in != nullptr && out != nullptr)
            {
                s.inType = in->type;
                s.outType = out->type;
                s.inSpeakers = speakerTypes (in);
                s.outSpeakers = speakerTypes (out);
            }
        }
        f.speakers.push_back (s);
    }
    setArrangement (e, 2, 2);

    for (int i = 0; i < e->numPrograms; ++i)
        f.programNames.push_back (text (e, effGetProgramNameIndexed, i));

    for (int i = 0; i < e->numParams; ++i)
    {
        f.paramNames.push_back (text (e, effGetParamName, i));
        f.paramLabels.push_back (text (e, effGetParamLabel, i));
        f.paramDisplays.push_back (text (e, effGetParamDisplay, i));
        f.paramValues.push_back (e->getParameter (e, i));
    }

    f.bypassOn = call (e, effSetBypass, 0, 1);
    f.bypassOff = call (e, effSetBypass, 0, 0);

    void* chunk = nullptr;
    f.chunkSize = call (e, effGetChunk, 0, 0, &chunk);
    if (chunk != nullptr && f.chunkSize > 0)
        f.chunk.assign (static_cast<unsigned char*> (chunk), static_cast<unsigned char*> (chunk) + f.chunkSize);

    void* programChunk = nullptr;
    const long long programSize = call (e, effGetChunk, 1, 0, &programChunk);
    if (programChunk != nullptr && programSize > 0)
        f.programChunk.assign (static_cast<unsigned char*> (programChunk), static_cast<unsigned char*> (programChunk) + programSize);

    // A program chunk is the whole state as well: loading the bank with "cprog" 2 selects program 2.
    if (! f.chunk.empty())
    {
        std::string text (f.chunk.begin() + 8, f.chunk.end() - 1);
        const auto at = text.find ("cprog=\"0\"");
        if (at != std::string::npos)
        {
            text[at + 7] = '2';
            std::vector<unsigned char> modified (f.chunk.begin(), f.chunk.begin() + 8);
            modified.insert (modified.end(), text.begin(), text.end());
            modified.push_back (0);
            f.setProgramChunk = call (e, effSetChunk, 1, (long long) modified.size(), modified.data());
            f.programAfterChunk = (int) call (e, effGetProgram);
        }
    }

    call (e, effSetProgram, 0, 1);
    f.programAfterSet = (int) call (e, effGetProgram);
    if (e->numParams > 4)
    {
        f.levelAfterProgram = e->getParameter (e, 3);
        f.gainLabelAfterProgram = text (e, effGetParamLabel, 4);
    }
    call (e, effSetProgram, 0, 0);
    return f;
}
}
