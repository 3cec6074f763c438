// See aeffect.h beside this file.
#include <pluginterfaces/fst/aeffectx.h>

// fst leaves the opcodes it has not documented without their numbers (it gives them placeholders
// above 100000). Hosts and plug-ins exchange the numbers of the VST 2.4 interface, so a plug-in
// built on the placeholders would not recognise, for instance, a host's bypass request (44) or
// its tail-size query (52), and its latency-change notice (13) would not reach the host. These
// are the numbers JUCE's VST client and host layers use; the names map onto them.
#if defined (__cplusplus) && ! defined (VESK_VST2_NUMBERED_OPCODES)
#define VESK_VST2_NUMBERED_OPCODES

static constexpr t_fstPluginOpcode veskEffEditTop = (t_fstPluginOpcode) 20;
static constexpr t_fstPluginOpcode veskEffConnectInput = (t_fstPluginOpcode) 31;
static constexpr t_fstPluginOpcode veskEffConnectOutput = (t_fstPluginOpcode) 32;
static constexpr t_fstPluginOpcode veskEffSetBypass = (t_fstPluginOpcode) 44;
static constexpr t_fstPluginOpcode veskEffGetTailSize = (t_fstPluginOpcode) 52;
static constexpr t_fstPluginOpcode veskEffIdle = (t_fstPluginOpcode) 53;
static constexpr t_fstPluginOpcode veskEffKeysRequired = (t_fstPluginOpcode) 57;
static constexpr t_fstPluginOpcode veskEffGetNumMidiInputChannels = (t_fstPluginOpcode) 78;
static constexpr t_fstPluginOpcode veskEffGetNumMidiOutputChannels = (t_fstPluginOpcode) 79;

static constexpr t_fstHostOpcode veskAudioMasterIdle = (t_fstHostOpcode) 3;
static constexpr t_fstHostOpcode veskAudioMasterPinConnected = (t_fstHostOpcode) 4;
static constexpr t_fstHostOpcode veskAudioMasterSetTime = (t_fstHostOpcode) 9;
static constexpr t_fstHostOpcode veskAudioMasterGetNumAutomatableParameters = (t_fstHostOpcode) 11;
static constexpr t_fstHostOpcode veskAudioMasterGetParameterQuantization = (t_fstHostOpcode) 12;
static constexpr t_fstHostOpcode veskAudioMasterIOChanged = (t_fstHostOpcode) 13;
static constexpr t_fstHostOpcode veskAudioMasterNeedIdle = (t_fstHostOpcode) 14;
static constexpr t_fstHostOpcode veskAudioMasterGetInputLatency = (t_fstHostOpcode) 18;
static constexpr t_fstHostOpcode veskAudioMasterGetOutputLatency = (t_fstHostOpcode) 19;
static constexpr t_fstHostOpcode veskAudioMasterGetPreviousPlug = (t_fstHostOpcode) 20;
static constexpr t_fstHostOpcode veskAudioMasterGetNextPlug = (t_fstHostOpcode) 21;
static constexpr t_fstHostOpcode veskAudioMasterWillReplaceOrAccumulate = (t_fstHostOpcode) 22;
static constexpr t_fstHostOpcode veskAudioMasterGetAutomationState = (t_fstHostOpcode) 24;
static constexpr t_fstHostOpcode veskAudioMasterOfflineStart = (t_fstHostOpcode) 25;
static constexpr t_fstHostOpcode veskAudioMasterOfflineRead = (t_fstHostOpcode) 26;
static constexpr t_fstHostOpcode veskAudioMasterOfflineWrite = (t_fstHostOpcode) 27;
static constexpr t_fstHostOpcode veskAudioMasterOfflineGetCurrentPass = (t_fstHostOpcode) 28;
static constexpr t_fstHostOpcode veskAudioMasterOfflineGetCurrentMetaPass = (t_fstHostOpcode) 29;
static constexpr t_fstHostOpcode veskAudioMasterSetOutputSampleRate = (t_fstHostOpcode) 30;
static constexpr t_fstHostOpcode veskAudioMasterGetOutputSpeakerArrangement = (t_fstHostOpcode) 31;
static constexpr t_fstHostOpcode veskAudioMasterVendorSpecific = (t_fstHostOpcode) 35;
static constexpr t_fstHostOpcode veskAudioMasterSetIcon = (t_fstHostOpcode) 36;
static constexpr t_fstHostOpcode veskAudioMasterGetLanguage = (t_fstHostOpcode) 38;
static constexpr t_fstHostOpcode veskAudioMasterOpenWindow = (t_fstHostOpcode) 39;
static constexpr t_fstHostOpcode veskAudioMasterCloseWindow = (t_fstHostOpcode) 40;
static constexpr t_fstHostOpcode veskAudioMasterGetDirectory = (t_fstHostOpcode) 41;
static constexpr t_fstHostOpcode veskAudioMasterUpdateDisplay = (t_fstHostOpcode) 42;

#define effEditTop veskEffEditTop
#define effConnectInput veskEffConnectInput
#define effConnectOutput veskEffConnectOutput
#define effSetBypass veskEffSetBypass
#define effGetTailSize veskEffGetTailSize
#define effIdle veskEffIdle
#define effKeysRequired veskEffKeysRequired
#define effGetNumMidiInputChannels veskEffGetNumMidiInputChannels
#define effGetNumMidiOutputChannels veskEffGetNumMidiOutputChannels

#define audioMasterIdle veskAudioMasterIdle
#define audioMasterPinConnected veskAudioMasterPinConnected
#define audioMasterSetTime veskAudioMasterSetTime
#define audioMasterGetNumAutomatableParameters veskAudioMasterGetNumAutomatableParameters
#define audioMasterGetParameterQuantization veskAudioMasterGetParameterQuantization
#define audioMasterIOChanged veskAudioMasterIOChanged
#define audioMasterNeedIdle veskAudioMasterNeedIdle
#define audioMasterGetInputLatency veskAudioMasterGetInputLatency
#define audioMasterGetOutputLatency veskAudioMasterGetOutputLatency
#define audioMasterGetPreviousPlug veskAudioMasterGetPreviousPlug
#define audioMasterGetNextPlug veskAudioMasterGetNextPlug
#define audioMasterWillReplaceOrAccumulate veskAudioMasterWillReplaceOrAccumulate
#define audioMasterGetAutomationState veskAudioMasterGetAutomationState
#define audioMasterOfflineStart veskAudioMasterOfflineStart
#define audioMasterOfflineRead veskAudioMasterOfflineRead
#define audioMasterOfflineWrite veskAudioMasterOfflineWrite
#define audioMasterOfflineGetCurrentPass veskAudioMasterOfflineGetCurrentPass
#define audioMasterOfflineGetCurrentMetaPass veskAudioMasterOfflineGetCurrentMetaPass
#define audioMasterSetOutputSampleRate veskAudioMasterSetOutputSampleRate
#define audioMasterGetOutputSpeakerArrangement veskAudioMasterGetOutputSpeakerArrangement
#define audioMasterVendorSpecific veskAudioMasterVendorSpecific
#define audioMasterSetIcon veskAudioMasterSetIcon
#define audioMasterGetLanguage veskAudioMasterGetLanguage
#define audioMasterOpenWindow veskAudioMasterOpenWindow
#define audioMasterCloseWindow veskAudioMasterCloseWindow
#define audioMasterGetDirectory veskAudioMasterGetDirectory
#define audioMasterUpdateDisplay veskAudioMasterUpdateDisplay

// The interface declares an arrangement with room for eight speakers, and JUCE sizes the records
// it allocates that way (more only beyond eight channels). fst declares an open array instead
// (sizeof 8), so a record JUCE allocated for one or two channels would be overrun by the
// speakers it writes. The same layout with the declared eight speakers:
struct VeskVstSpeakerArrangement
{
    int type;
    int numChannels;
    t_fstSpeakerProperties speakers[8];
};
#define VstSpeakerArrangement VeskVstSpeakerArrangement

// The interface's pin record ends with 48 reserved bytes after the short label; fst stops at the
// short label. JUCE's VST client writes the short label with its terminating zero, up to nine
// bytes, so a host that allocated fst's record (JUCE's VST host built here, the host check) was
// overrun by one byte past its end. The interface's full 128-byte layout:
struct VeskVstPinProperties
{
    char label[64];
    int flags;
    int arrangementType;
    char shortLabel[8];
    char future[48];
};
#define VstPinProperties VeskVstPinProperties

#endif
