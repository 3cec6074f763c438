// The module's entry points and the effect's function table.

#define VESK_AAX_MODULE 1
#include "VeskAax.h"

#include "AaxEffect.h"

#include <atomic>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>

#ifdef _WIN32
 #ifndef NOMINMAX
  #define NOMINMAX
 #endif
 #ifndef WIN32_LEAN_AND_MEAN
  #define WIN32_LEAN_AND_MEAN
 #endif
 #include <windows.h>
#endif

namespace juce
{
// The framework's Linux message queue, as its plug-in layers use it (juce_linux_Messaging.cpp).
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace
{
// Collection and descriptor ---------------------------------------------------------------------

const char* const packageNames[] = { JucePlugin_Name, JucePlugin_Name };

constexpr uint32_t nativeIdBase = VESK_FOURCC ('j', 'c', 'a', 'a');
constexpr uint32_t audioSuiteIdBase = VESK_FOURCC ('j', 'y', 'a', 'a');

// One per channel configuration: mono, stereo, mono to stereo.
const VeskAaxProcessingComponent processingComponents[] = {
    { 1, 1, nativeIdBase + 0, audioSuiteIdBase + 0 },
    { 2, 2, nativeIdBase + 1, audioSuiteIdBase + 1 },
    { 1, 2, nativeIdBase + 2, audioSuiteIdBase + 2 },
};
constexpr uint32_t numProcessingComponents = sizeof (processingComponents) / sizeof (processingComponents[0]);

const VeskAaxEffectDescriptor effectDescriptor = {
    JucePlugin_Name,                       // description
    JucePlugin_Name,                       // name
    VESK_AAX_CATEGORY_HARMONIC,
    (uint32_t) JucePlugin_ManufacturerCode,
    (uint32_t) JucePlugin_PluginCode,
    numProcessingComponents,
    processingComponents,
    1,                                     // can bypass
    1,                                     // multi-mono
    0,                                     // no MIDI input
    0,                                     // no MIDI output
};

const VeskAaxCollection collection = {
    JUCE_STRINGIFY (JucePlugin_AAXIdentifier),
    JucePlugin_Manufacturer,
    2,
    packageNames,
    (uint32_t) JucePlugin_VersionCode,
    1,
    &effectDescriptor,
};

// Module life -----------------------------------------------------------------------------------

// A Linux host has no message loop the module could share, so the module runs the framework's
// loop on a thread of its own, as JUCE's own plug-in layers do on Linux. The module does the same
// on Windows, where the framework's hidden message window must then be made on that thread:
// Windows hands a window's messages only to the thread that created it.
class ModuleMessageThread final : public juce::Thread
{
public:
    ModuleMessageThread() : juce::Thread ("Vesk AAX message thread")
    {
        startThread (Priority::high);
        // Bounded: where the framework cannot set up its message queue (a Windows session without
        // a desktop), the module reports that instead of waiting forever on the first call.
        ready = started.wait (startTimeoutMs) && deliversMessages();
    }

    // True once a message posted from another thread has come through.
    bool isReady() const noexcept { return ready; }

    ~ModuleMessageThread() override
    {
        juce::MessageManager::getInstance()->stopDispatchLoop();
        signalThreadShouldExit();
        stopThread (-1);
    }

private:
    static constexpr int startTimeoutMs = 10000;

    void run() override
    {
       #ifdef _WIN32
        juce::ScopedJuceInitialiser_GUI juce;
       #endif
        juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
        started.signal();
        while (! threadShouldExit())
            if (! juce::dispatchNextMessageOnSystemQueue (true))
                juce::Thread::sleep (1);
    }

    bool deliversMessages()
    {
        auto delivered = std::make_shared<juce::WaitableEvent>();
        juce::MessageManager::callAsync ([delivered] { delivered->signal(); });
        return delivered->wait (startTimeoutMs);
    }

    juce::WaitableEvent started;
    bool ready = false;
};

// The framework and the message thread live from the first ACFStartup to the last ACFShutdown.
// Everything that touches components runs on that thread.
struct ModuleRuntime
{
   #ifndef _WIN32
    juce::ScopedJuceInitialiser_GUI juce;
   #endif
    ModuleMessageThread messageThread;
};

std::mutex moduleLock;
int startups = 0;
std::unique_ptr<ModuleRuntime> runtime;
std::atomic<int> liveEffects { 0 };

void runOnMessageThread (const std::function<void()>& f)
{
    auto* mm = juce::MessageManager::getInstance();
    if (mm->isThisTheMessageThread())
    {
        f();
        return;
    }
   #ifdef _WIN32
    // The calling thread may own the editor's parent window, and Windows notifies a parent of
    // its child windows' creation and destruction synchronously: while it waits, the caller
    // takes those sent messages, or the two threads would wait for each other.
    HANDLE done = CreateEventW (nullptr, TRUE, FALSE, nullptr);
    if (done == nullptr)
        return;
    juce::MessageManager::callAsync ([&f, done] { f(); SetEvent (done); });
    while (MsgWaitForMultipleObjects (1, &done, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
    {
        MSG m;
        PeekMessageW (&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle (done);
   #else
    mm->callFunctionOnMessageThread ([] (void* p) -> void* { (*static_cast<const std::function<void()>*> (p))(); return nullptr; },
                                     const_cast<std::function<void()>*> (&f));
   #endif
}

AaxEffect* toEffect (VeskAaxEffect* e) { return reinterpret_cast<AaxEffect*> (e); }

// The effect's function table -------------------------------------------------------------------

// Counts the instance in while the module is started, so that the last ACFShutdown cannot tear
// the framework down under it.
bool admitEffect()
{
    const std::lock_guard<std::mutex> l (moduleLock);
    if (runtime == nullptr)
        return false;
    ++liveEffects;
    return true;
}

VeskAaxEffect* makeEffect (uint32_t componentIndex, const AaxEffect::Host& host)
{
    if (componentIndex >= numProcessingComponents || ! admitEffect())
        return nullptr;

    AaxEffect* effect = nullptr;
    runOnMessageThread ([&] { effect = new AaxEffect (processingComponents[componentIndex], host); });
    return reinterpret_cast<VeskAaxEffect*> (effect);
}

VeskAaxEffect* createEffect (uint32_t componentIndex, const VeskAaxHostCallbacks* callbacks)
{
    AaxEffect::Host host;
    if (callbacks != nullptr)
    {
        host.context = callbacks->context;
        host.parameterChanged = callbacks->parameterChanged;
    }
    return makeEffect (componentIndex, host);
}

VeskAaxEffect* createEffectWithHost (uint32_t componentIndex, const VeskAaxHostInterface* h)
{
    AaxEffect::Host host;
    if (h != nullptr)
    {
        // Members beyond the size the host filled in count as null.
        const auto has = [h] (size_t end) { return h->structSize >= end; };
        if (has (offsetof (VeskAaxHostInterface, context) + sizeof (h->context)))
            host.context = h->context;
        if (has (offsetof (VeskAaxHostInterface, parameterChanged) + sizeof (h->parameterChanged)))
            host.parameterChanged = h->parameterChanged;
        if (has (offsetof (VeskAaxHostInterface, parameterGesture) + sizeof (h->parameterGesture)))
            host.parameterGesture = h->parameterGesture;
    }
    return makeEffect (componentIndex, host);
}

void destroyEffect (VeskAaxEffect* e)
{
    if (e == nullptr)
        return;
    runOnMessageThread ([&] { delete toEffect (e); });
    const std::lock_guard<std::mutex> l (moduleLock);
    --liveEffects;
}

int32_t getNumParameters (VeskAaxEffect* e) { return e != nullptr ? toEffect (e)->getNumParameters() : 0; }

VeskAcfResult getParameterInfo (VeskAaxEffect* e, int32_t index, VeskAaxParameterInfo* info)
{
    if (e == nullptr || info == nullptr)
        return VESK_ACF_E_INVALIDARG;
    return toEffect (e)->getParameterInfo (index, *info) ? VESK_ACF_OK : VESK_ACF_E_OUTOFRANGE;
}

float getParameterValue (VeskAaxEffect* e, int32_t index) { return e != nullptr ? toEffect (e)->getParameterValue (index) : 0.0f; }

VeskAcfResult setParameterValue (VeskAaxEffect* e, int32_t index, float value)
{
    if (e == nullptr)
        return VESK_ACF_E_INVALIDARG;
    return toEffect (e)->setParameterValue (index, value) ? VESK_ACF_OK : VESK_ACF_E_OUTOFRANGE;
}

VeskAcfResult getParameterText (VeskAaxEffect* e, int32_t index, float value, char* text, int32_t capacity)
{
    if (e == nullptr || text == nullptr || capacity <= 0)
        return VESK_ACF_E_INVALIDARG;
    if (index < 0 || index >= toEffect (e)->getNumParameters())
        return VESK_ACF_E_OUTOFRANGE;
    AaxEffect::getParameterText (value).copyToUTF8 (text, (size_t) capacity);
    return VESK_ACF_OK;
}

int32_t getMasterBypassIndex (VeskAaxEffect* e) { return e != nullptr ? toEffect (e)->getMasterBypassIndex() : -1; }
int32_t getLatencySamples (VeskAaxEffect* e) { return e != nullptr ? toEffect (e)->getLatencySamples() : 0; }
double getTailSeconds (VeskAaxEffect* e) { return e != nullptr ? toEffect (e)->getTailSeconds() : 0.0; }

void process (VeskAaxEffect* e, const VeskAaxProcessContext* context)
{
    if (e != nullptr && context != nullptr)
        toEffect (e)->process (*context);
}

VeskAcfResult prepare (VeskAaxEffect* e, double sampleRate, int32_t maximumBlockSize)
{
    if (e == nullptr)
        return VESK_ACF_E_INVALIDARG;
    return toEffect (e)->prepare (sampleRate, (int) maximumBlockSize) ? VESK_ACF_OK : VESK_ACF_E_INVALIDARG;
}

VeskAcfResult getChunkSize (VeskAaxEffect* e, uint32_t* size)
{
    if (e == nullptr || size == nullptr)
        return VESK_ACF_E_INVALIDARG;
    *size = toEffect (e)->getChunkSize();
    return VESK_ACF_OK;
}

VeskAcfResult getChunk (VeskAaxEffect* e, void* data, uint32_t capacity, uint32_t* written)
{
    if (e == nullptr || data == nullptr || written == nullptr)
        return VESK_ACF_E_INVALIDARG;
    return toEffect (e)->copyChunk (data, capacity, *written) ? VESK_ACF_OK : VESK_ACF_E_OUTOFRANGE;
}

VeskAcfResult setChunk (VeskAaxEffect* e, const void* data, uint32_t size)
{
    if (e == nullptr || (data == nullptr && size > 0))
        return VESK_ACF_E_INVALIDARG;
    toEffect (e)->setChunk (data, size);
    return VESK_ACF_OK;
}

VeskAcfResult openEditor (VeskAaxEffect* e, void* parentWindow, int32_t* width, int32_t* height)
{
    if (e == nullptr || width == nullptr || height == nullptr)
        return VESK_ACF_E_INVALIDARG;
    bool ok = false;
    int w = 0, h = 0;
    runOnMessageThread ([&] { ok = toEffect (e)->openEditor (parentWindow, w, h); });
    *width = w;
    *height = h;
    return ok ? VESK_ACF_OK : VESK_ACF_E_NOINTERFACE;
}

VeskAcfResult closeEditor (VeskAaxEffect* e)
{
    if (e == nullptr)
        return VESK_ACF_E_INVALIDARG;
    runOnMessageThread ([&] { toEffect (e)->closeEditor(); });
    return VESK_ACF_OK;
}

const VeskAaxEffectInterface effectInterface = {
    sizeof (VeskAaxEffectInterface),
    createEffect,
    destroyEffect,
    getNumParameters,
    getParameterInfo,
    getParameterValue,
    setParameterValue,
    getParameterText,
    getMasterBypassIndex,
    getLatencySamples,
    getTailSeconds,
    process,
    getChunkSize,
    getChunk,
    setChunk,
    openEditor,
    closeEditor,
    createEffectWithHost,
    prepare,
};
}

// Entry points ----------------------------------------------------------------------------------

extern "C" {

VeskAcfResult ACFStartup (void*)
{
    const std::lock_guard<std::mutex> l (moduleLock);
    if (startups == 0)
    {
        runtime = std::make_unique<ModuleRuntime>();
        if (! runtime->messageThread.isReady())
        {
            runtime.reset();
            return VESK_ACF_E_NOTINITIALISED;
        }
    }
    ++startups;
    return VESK_ACF_OK;
}

VeskAcfResult ACFShutdown (void*)
{
    const std::lock_guard<std::mutex> l (moduleLock);
    if (startups == 0)
        return VESK_ACF_E_NOTINITIALISED;
    if (startups == 1 && liveEffects.load() > 0)
        return VESK_ACF_E_BUSY;   // the instances still need the framework and the message thread
    if (--startups == 0)
        runtime.reset();
    return VESK_ACF_OK;
}

VeskAcfResult ACFRegisterPlugin (void*, const VeskAaxCollection** result)
{
    if (result == nullptr)
        return VESK_ACF_E_INVALIDARG;
    *result = &collection;
    return VESK_ACF_OK;
}

VeskAcfResult ACFRegisterComponent (void*, uint32_t index, const VeskAaxProcessingComponent** result)
{
    if (result == nullptr)
        return VESK_ACF_E_INVALIDARG;
    if (index >= numProcessingComponents)
        return VESK_ACF_E_OUTOFRANGE;
    *result = &processingComponents[index];
    return VESK_ACF_OK;
}

VeskAcfResult ACFGetClassFactory (void*, const char* effectIdentifier, const char* interfaceId, const void** factory)
{
    if (effectIdentifier == nullptr || interfaceId == nullptr || factory == nullptr)
        return VESK_ACF_E_INVALIDARG;
    *factory = nullptr;
    if (std::strcmp (effectIdentifier, collection.effectIdentifier) != 0
        || std::strcmp (interfaceId, VESK_AAX_EFFECT_INTERFACE_ID) != 0)
        return VESK_ACF_E_NOINTERFACE;
    *factory = &effectInterface;
    return VESK_ACF_OK;
}

VeskAcfResult ACFCanUnloadNow (void*)
{
    return liveEffects.load() == 0 ? VESK_ACF_OK : VESK_ACF_FALSE;
}

VeskAcfResult ACFGetSDKVersion (uint64_t* version)
{
    if (version == nullptr)
        return VESK_ACF_E_INVALIDARG;
    *version = VESK_AAX_INTERFACE_VERSION;
    return VESK_ACF_OK;
}
}
