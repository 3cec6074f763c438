/* The interface of the Vesk AAX module: seven ACF entry points with C linkage and the small set of
   plain C records and function tables they hand out. A host loads the module, calls ACFStartup,
   reads the collection through ACFRegisterPlugin and the processing components through
   ACFRegisterComponent, gets the effect's function table from ACFGetClassFactory, creates effect
   instances from it, and calls ACFShutdown before unloading (ACFCanUnloadNow tells it when).

   Module life: every ACFStartup needs its ACFShutdown; the framework and the module's message
   thread live from the first ACFStartup to the last ACFShutdown. The last ACFShutdown is refused
   with VESK_ACF_E_BUSY while effect instances are alive, and then changes nothing: the host
   destroys its instances and calls ACFShutdown again. Effects cannot be created before ACFStartup
   or after the last ACFShutdown (create returns null).

   Every function returns VESK_ACF_OK (0) on success unless stated otherwise. Strings are UTF-8
   and stay valid as long as the module is loaded (records from the entry points) or the instance
   exists (parameter records). */

#ifndef VESK_AAX_H
#define VESK_AAX_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t VeskAcfResult;

#define VESK_ACF_OK 0
#define VESK_ACF_FALSE 1                /* ACFCanUnloadNow: instances are still alive */
#define VESK_ACF_E_INVALIDARG (-2)
#define VESK_ACF_E_NOTINITIALISED (-3)
#define VESK_ACF_E_NOINTERFACE (-4)
#define VESK_ACF_E_OUTOFRANGE (-5)
#define VESK_ACF_E_BUSY (-6)            /* ACFShutdown: instances are still alive */

/* The version of this interface, reported by ACFGetSDKVersion: major in the high 32 bits, minor
   in the low ones. 1.1 appended createWithHost and prepare to the effect's table and added
   VESK_ACF_E_BUSY; every 1.0 call keeps its meaning except process, which now needs prepare
   first (a block never prepares the effect on the processing thread). */
#define VESK_AAX_INTERFACE_VERSION (((uint64_t) 1 << 32) | 1u)

/* The interface identifier to pass to ACFGetClassFactory for VeskAaxEffectInterface. */
#define VESK_AAX_EFFECT_INTERFACE_ID "org.example.ferrow.aax.effect-interface.1"

#define VESK_AAX_CATEGORY_HARMONIC 0x40u  /* distortion, saturation */

/* A four-character code: the first character in the most significant byte. */
#define VESK_FOURCC(a, b, c, d) \
    (((uint32_t) (a) << 24) | ((uint32_t) (b) << 16) | ((uint32_t) (c) << 8) | (uint32_t) (d))

/* One processing component: a channel configuration the effect can be instantiated for. */
typedef struct VeskAaxProcessingComponent
{
    uint32_t inputChannels;
    uint32_t outputChannels;
    uint32_t nativeId;          /* native (real-time) plug-in ID */
    uint32_t audioSuiteId;      /* AudioSuite (offline) plug-in ID */
} VeskAaxProcessingComponent;

typedef struct VeskAaxEffectDescriptor
{
    const char* description;    /* names, as they are added: description first, then name */
    const char* name;
    uint32_t category;
    uint32_t manufacturerId;
    uint32_t productId;
    uint32_t numProcessingComponents;
    const VeskAaxProcessingComponent* processingComponents;  /* in registration order */
    int32_t canBypass;
    int32_t supportsMultiMono;
    uint32_t numMidiInputNodes;
    uint32_t numMidiOutputNodes;
} VeskAaxEffectDescriptor;

/* The collection: what ACFRegisterPlugin publishes. */
typedef struct VeskAaxCollection
{
    const char* effectIdentifier;       /* reverse-domain identifier */
    const char* manufacturerName;
    uint32_t numPackageNames;
    const char* const* packageNames;    /* in the order they were added */
    uint32_t packageVersion;            /* 0x00MMmmbb */
    uint32_t numEffects;
    const VeskAaxEffectDescriptor* effects;
} VeskAaxCollection;

#define VESK_AAX_TAPER_LINEAR 0

typedef struct VeskAaxParameterInfo
{
    const char* identifier;
    const char* name;
    const char* shortName;
    float minimum;
    float maximum;
    float defaultValue;     /* normalised */
    int32_t numSteps;       /* 2147483647 for a continuous parameter */
    int32_t taper;          /* VESK_AAX_TAPER_LINEAR */
    int32_t displayDecimals;
    int32_t automatable;
} VeskAaxParameterInfo;

typedef struct VeskAaxHostCallbacks
{
    void* context;
    /* A parameter changed inside the effect: index and new normalised value. Called for a change
       made in the editor, and for each of the effect's own parameters after setChunk (with the
       value the chunk gave it). Never called for a value the host set itself. May be called from
       any thread. May be null. */
    void (*parameterChanged) (void* context, int32_t index, float value);
} VeskAaxHostCallbacks;

/* The host's callbacks as createWithHost takes them (interface 1.1). `structSize` is the size of
   the record the host filled in, so that later versions can append members: a member beyond it
   counts as null. */
typedef struct VeskAaxHostInterface
{
    uint32_t structSize;
    void* context;
    /* As in VeskAaxHostCallbacks. */
    void (*parameterChanged) (void* context, int32_t index, float value);
    /* The user touched (begin = 1) or released (begin = 0) a parameter in the editor: the values
       reported in between are one gesture, as automation writing expects. A drag or a
       double-click reset is one gesture; a value the editor changes without a gesture of its own
       (a switch clicked) is reported as touch, value, release. Called on the module's message
       thread. May be null. */
    void (*parameterGesture) (void* context, int32_t index, int32_t begin);
} VeskAaxHostInterface;

/* One processing call: channel counts are those of the instance's processing component. Input
   and output pointers may be the same buffers. */
typedef struct VeskAaxProcessContext
{
    const float* const* inputs;
    float* const* outputs;
    int32_t numSamples;
    double sampleRate;
} VeskAaxProcessContext;

typedef struct VeskAaxEffect VeskAaxEffect;

typedef struct VeskAaxEffectInterface
{
    uint32_t structSize;

    /* Creates an instance for processing component `componentIndex`; null when out of range or
       when the module is not started. `callbacks` may be null. */
    VeskAaxEffect* (*create) (uint32_t componentIndex, const VeskAaxHostCallbacks* callbacks);
    void (*destroy) (VeskAaxEffect*);

    /* Parameters: the effect's own, in index order, then the master bypass. */
    int32_t (*getNumParameters) (VeskAaxEffect*);
    VeskAcfResult (*getParameterInfo) (VeskAaxEffect*, int32_t index, VeskAaxParameterInfo* info);
    float (*getParameterValue) (VeskAaxEffect*, int32_t index);
    VeskAcfResult (*setParameterValue) (VeskAaxEffect*, int32_t index, float value);
    /* The display text of a normalised value; writes at most `capacity` bytes, terminated. */
    VeskAcfResult (*getParameterText) (VeskAaxEffect*, int32_t index, float value, char* text, int32_t capacity);
    int32_t (*getMasterBypassIndex) (VeskAaxEffect*);

    int32_t (*getLatencySamples) (VeskAaxEffect*);
    double (*getTailSeconds) (VeskAaxEffect*);

    /* Real-time processing; allocates nothing and never prepares the effect itself. Outcomes:
       - before the first prepare, or with a context rate other than the prepared one (a rate of
         0 means the prepared one): the outputs are silent;
       - a block longer than the prepared maximum is processed in pieces of at most that length;
       - numSamples 0: nothing is read or written; negative, null outputs or a null output
         channel: ignored, nothing is written;
       - null inputs or a null input channel: that input is silent. */
    void (*process) (VeskAaxEffect*, const VeskAaxProcessContext* context);

    /* Chunks: the whole state. getChunkSize tells the size of the current state; getChunk copies
       the state as it is when called, whether getChunkSize came first or not. When `capacity` is
       too small, getChunk copies nothing, writes the size needed to *written and returns
       VESK_ACF_E_OUTOFRANGE. setChunk reports every parameter's new value through
       parameterChanged. */
    VeskAcfResult (*getChunkSize) (VeskAaxEffect*, uint32_t* size);
    VeskAcfResult (*getChunk) (VeskAaxEffect*, void* data, uint32_t capacity, uint32_t* written);
    VeskAcfResult (*setChunk) (VeskAaxEffect*, const void* data, uint32_t size);

    /* The editor, shown inside a native parent window (an X11 window ID on Linux). Calls may
       come from any thread; the module runs its user interface on its own message thread.
       Opening an open editor with another parent window moves it into that window. */
    VeskAcfResult (*openEditor) (VeskAaxEffect*, void* parentWindow, int32_t* width, int32_t* height);
    VeskAcfResult (*closeEditor) (VeskAaxEffect*);

    /* Interface 1.1 (check structSize before use). */

    /* As create, with the host's callbacks of VeskAaxHostInterface; `host` may be null. */
    VeskAaxEffect* (*createWithHost) (uint32_t componentIndex, const VeskAaxHostInterface* host);

    /* Prepares processing at `sampleRate` for blocks of up to `maximumBlockSize` samples; the
       host calls it before processing and whenever the rate or its largest block changes, not
       from the processing thread. A processing call in flight finishes first. Returns
       VESK_ACF_E_INVALIDARG for a rate that is not positive and finite or a maximum below 1. */
    VeskAcfResult (*prepare) (VeskAaxEffect*, double sampleRate, int32_t maximumBlockSize);
} VeskAaxEffectInterface;

/* The entry points. `host` is opaque to the module and may be null. */
typedef VeskAcfResult (*VeskACFStartupProc) (void* host);
typedef VeskAcfResult (*VeskACFShutdownProc) (void* host);
typedef VeskAcfResult (*VeskACFRegisterPluginProc) (void* host, const VeskAaxCollection** collection);
typedef VeskAcfResult (*VeskACFRegisterComponentProc) (void* host, uint32_t index, const VeskAaxProcessingComponent** component);
typedef VeskAcfResult (*VeskACFGetClassFactoryProc) (void* host, const char* effectIdentifier, const char* interfaceId, const void** factory);
typedef VeskAcfResult (*VeskACFCanUnloadNowProc) (void* host);
typedef VeskAcfResult (*VeskACFGetSDKVersionProc) (uint64_t* version);

#ifdef VESK_AAX_MODULE
 #ifdef _WIN32
  #define VESK_AAX_EXPORT __declspec (dllexport)
 #else
  #define VESK_AAX_EXPORT __attribute__ ((visibility ("default")))
 #endif
 VESK_AAX_EXPORT VeskAcfResult ACFStartup (void* host);
 VESK_AAX_EXPORT VeskAcfResult ACFShutdown (void* host);
 VESK_AAX_EXPORT VeskAcfResult ACFRegisterPlugin (void* host, const VeskAaxCollection** collection);
 VESK_AAX_EXPORT VeskAcfResult ACFRegisterComponent (void* host, uint32_t index, const VeskAaxProcessingComponent** component);
 VESK_AAX_EXPORT VeskAcfResult ACFGetClassFactory (void* host, const char* effectIdentifier, const char* interfaceId, const void** factory);
 VESK_AAX_EXPORT VeskAcfResult ACFCanUnloadNow (void* host);
 VESK_AAX_EXPORT VeskAcfResult ACFGetSDKVersion (uint64_t* version);
#endif

#ifdef __cplusplus
}
#endif

#endif
