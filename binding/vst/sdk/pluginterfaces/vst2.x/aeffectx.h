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

// fst numbers only the mono, stereo and 10.2 speaker arrangements and the M, L and R speakers;
// the others carry placeholders above 100000 as well, so a host would read a mono bus (JUCE
// names its one channel the centre speaker) as speaker 100389 instead of 3 (kSpeakerC). These
// are the numbers of the VST 2.4 interface: the arrangements count up from mono (0) to 8.1 Music
// (27) in the order fst lists them, and the speakers up from M (0) to Lfe2 (19).
#define VESK_VST2_ARRANGEMENT(name, number) \
    static constexpr t_fstSpeakerArrangementType vesk##name = (t_fstSpeakerArrangementType) number;
VESK_VST2_ARRANGEMENT (SpeakerArrStereoSurround, 2)
VESK_VST2_ARRANGEMENT (SpeakerArrStereoCenter, 3)
VESK_VST2_ARRANGEMENT (SpeakerArrStereoSide, 4)
VESK_VST2_ARRANGEMENT (SpeakerArrStereoCLfe, 5)
VESK_VST2_ARRANGEMENT (SpeakerArr30Cine, 6)
VESK_VST2_ARRANGEMENT (SpeakerArr30Music, 7)
VESK_VST2_ARRANGEMENT (SpeakerArr31Cine, 8)
VESK_VST2_ARRANGEMENT (SpeakerArr31Music, 9)
VESK_VST2_ARRANGEMENT (SpeakerArr40Cine, 10)
VESK_VST2_ARRANGEMENT (SpeakerArr40Music, 11)
VESK_VST2_ARRANGEMENT (SpeakerArr41Cine, 12)
VESK_VST2_ARRANGEMENT (SpeakerArr41Music, 13)
VESK_VST2_ARRANGEMENT (SpeakerArr50, 14)
VESK_VST2_ARRANGEMENT (SpeakerArr51, 15)
VESK_VST2_ARRANGEMENT (SpeakerArr60Cine, 16)
VESK_VST2_ARRANGEMENT (SpeakerArr60Music, 17)
VESK_VST2_ARRANGEMENT (SpeakerArr61Cine, 18)
VESK_VST2_ARRANGEMENT (SpeakerArr61Music, 19)
VESK_VST2_ARRANGEMENT (SpeakerArr70Cine, 20)
VESK_VST2_ARRANGEMENT (SpeakerArr70Music, 21)
VESK_VST2_ARRANGEMENT (SpeakerArr71Cine, 22)
VESK_VST2_ARRANGEMENT (SpeakerArr71Music, 23)
VESK_VST2_ARRANGEMENT (SpeakerArr80Cine, 24)
VESK_VST2_ARRANGEMENT (SpeakerArr80Music, 25)
VESK_VST2_ARRANGEMENT (SpeakerArr81Cine, 26)
VESK_VST2_ARRANGEMENT (SpeakerArr81Music, 27)
VESK_VST2_ARRANGEMENT (SpeakerC, 3)
VESK_VST2_ARRANGEMENT (SpeakerLfe, 4)
VESK_VST2_ARRANGEMENT (SpeakerLs, 5)
VESK_VST2_ARRANGEMENT (SpeakerRs, 6)
VESK_VST2_ARRANGEMENT (SpeakerLc, 7)
VESK_VST2_ARRANGEMENT (SpeakerRc, 8)
VESK_VST2_ARRANGEMENT (SpeakerS, 9)
VESK_VST2_ARRANGEMENT (SpeakerSl, 10)
VESK_VST2_ARRANGEMENT (SpeakerSr, 11)
VESK_VST2_ARRANGEMENT (SpeakerTm, 12)
VESK_VST2_ARRANGEMENT (SpeakerTfl, 13)
VESK_VST2_ARRANGEMENT (SpeakerTfc, 14)
VESK_VST2_ARRANGEMENT (SpeakerTfr, 15)
VESK_VST2_ARRANGEMENT (SpeakerTrl, 16)
VESK_VST2_ARRANGEMENT (SpeakerTrc, 17)
VESK_VST2_ARRANGEMENT (SpeakerTrr, 18)
VESK_VST2_ARRANGEMENT (SpeakerLfe2, 19)
#undef VESK_VST2_ARRANGEMENT

#define kSpeakerArrStereoSurround veskSpeakerArrStereoSurround
#define kSpeakerArrStereoCenter veskSpeakerArrStereoCenter
#define kSpeakerArrStereoSide veskSpeakerArrStereoSide
#define kSpeakerArrStereoCLfe veskSpeakerArrStereoCLfe
#define kSpeakerArr30Cine veskSpeakerArr30Cine
#define kSpeakerArr30Music veskSpeakerArr30Music
#define kSpeakerArr31Cine veskSpeakerArr31Cine
#define kSpeakerArr31Music veskSpeakerArr31Music
#define kSpeakerArr40Cine veskSpeakerArr40Cine
#define kSpeakerArr40Music veskSpeakerArr40Music
#define kSpeakerArr41Cine veskSpeakerArr41Cine
#define kSpeakerArr41Music veskSpeakerArr41Music
#define kSpeakerArr50 veskSpeakerArr50
#define kSpeakerArr51 veskSpeakerArr51
#define kSpeakerArr60Cine veskSpeakerArr60Cine
#define kSpeakerArr60Music veskSpeakerArr60Music
#define kSpeakerArr61Cine veskSpeakerArr61Cine
#define kSpeakerArr61Music veskSpeakerArr61Music
#define kSpeakerArr70Cine veskSpeakerArr70Cine
#define kSpeakerArr70Music veskSpeakerArr70Music
#define kSpeakerArr71Cine veskSpeakerArr71Cine
#define kSpeakerArr71Music veskSpeakerArr71Music
#define kSpeakerArr80Cine veskSpeakerArr80Cine
#define kSpeakerArr80Music veskSpeakerArr80Music
#define kSpeakerArr81Cine veskSpeakerArr81Cine
#define kSpeakerArr81Music veskSpeakerArr81Music
#define kSpeakerC veskSpeakerC
#define kSpeakerLfe veskSpeakerLfe
#define kSpeakerLs veskSpeakerLs
#define kSpeakerRs veskSpeakerRs
#define kSpeakerLc veskSpeakerLc
#define kSpeakerRc veskSpeakerRc
#define kSpeakerS veskSpeakerS
#define kSpeakerSl veskSpeakerSl
#define kSpeakerSr veskSpeakerSr
#define kSpeakerTm veskSpeakerTm
#define kSpeakerTfl veskSpeakerTfl
#define kSpeakerTfc veskSpeakerTfc
#define kSpeakerTfr veskSpeakerTfr
#define kSpeakerTrl veskSpeakerTrl
#define kSpeakerTrc veskSpeakerTrc
#define kSpeakerTrr veskSpeakerTrr
#define kSpeakerLfe2 veskSpeakerLfe2

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
