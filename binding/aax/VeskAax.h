/* The interface of the Vesk AAX module: seven ACF entry points with C linkage and the small set of
   plain C records and function tables they hand out. A host loads the module, calls ACFStartup,
   reads the collection through ACFRegisterPlugin and the processing components through
   ACFRegisterComponent, gets the effect's function table from ACFGetClassFactory, creates effect
   instances from it, and calls ACFShutdown before unloading (ACFCanUnloadNow tells it when).

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

/* The version of this interface, reported by ACFGetSDKVersion: major in the high 32 bits. */
#define VESK_AAX_INTERFACE_VERSION ((uint64_t) 1 << 32)

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
    /* A parameter changed inside the effect (from its editor): index and new normalised value.
       May be called from any thread. May be null. */
    void (*parameterChanged) (void* context, int32_t index, float value);
} VeskAaxHostCallbacks;

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

    /* Creates an instance for processing component `componentIndex`; null when out of range. */
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

    /* Real-time processing. */
    void (*process) (VeskAaxEffect*, const VeskAaxProcessContext* context);

    /* Chunks: the whole state. getChunkSize takes a snapshot that getChunk then copies. */
    VeskAcfResult (*getChunkSize) (VeskAaxEffect*, uint32_t* size);
    VeskAcfResult (*getChunk) (VeskAaxEffect*, void* data, uint32_t capacity, uint32_t* written);
    VeskAcfResult (*setChunk) (VeskAaxEffect*, const void* data, uint32_t size);

    /* The editor, shown inside a native parent window (an X11 window ID on Linux). Calls may
       come from any thread; the module runs its user interface on its own message thread. */
    VeskAcfResult (*openEditor) (VeskAaxEffect*, void* parentWindow, int32_t* width, int32_t* height);
    VeskAcfResult (*closeEditor) (VeskAaxEffect*);
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
