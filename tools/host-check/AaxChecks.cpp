// Host calls of the AAX module that the format-neutral checks do not reach: chunks and the
// notices around them, preparation and the processing outcomes it defines, heap use on the
// processing thread, the module's shutdown with instances alive, and the editor's parent window
// and gestures under a real pointer.

#include "AaxPluginInstance.h"
#include "HeapCount.h"
#include "HostCheck.h"
#include "XDesk.h"
#include "editor/EditorLayout.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

namespace hostcheck
{
namespace
{
// What the effect tells its host, in order.
class HostLog
{
public:
    struct Entry
    {
        char what;   // 'v' value, 'b' touch, 'e' release
        int index;
        float value;
    };

    VeskAaxHostInterface callbacks()
    {
        VeskAaxHostInterface h {};
        h.structSize = sizeof (h);
        h.context = this;
        h.parameterChanged = [] (void* c, int32_t i, float v) { static_cast<HostLog*> (c)->add ({ 'v', i, v }); };
        h.parameterGesture = [] (void* c, int32_t i, int32_t begin) { static_cast<HostLog*> (c)->add ({ begin != 0 ? 'b' : 'e', i, 0.0f }); };
        return h;
    }

    std::vector<Entry> take()
    {
        const std::lock_guard<std::mutex> l (lock);
        auto e = std::move (entries);
        entries.clear();
        return e;
    }

    static juce::String describe (const std::vector<Entry>& entries)
    {
        juce::StringArray a;
        for (auto& e : entries)
            a.add (juce::String::charToString (e.what) + juce::String (e.index) + (e.what == 'v' ? "=" + juce::String (e.value, 4) : juce::String()));
        return "[" + a.joinIntoString (" ") + "]";
    }

private:
    void add (Entry e)
    {
        const std::lock_guard<std::mutex> l (lock);
        entries.push_back (e);
    }

    std::mutex lock;
    std::vector<Entry> entries;
};

// One stereo block through the effect's process call, in place.
struct Block
{
    Block (int n, float fill) : left ((size_t) n, fill), right ((size_t) n, fill) {}

    void process (const VeskAaxEffectInterface& api, VeskAaxEffect* e, double rate, int n)
    {
        float* channels[2] = { left.data(), right.data() };
        VeskAaxProcessContext c { channels, channels, n, rate };
        api.process (e, &c);
    }

    bool allEqual (float v) const
    {
        for (size_t i = 0; i < left.size(); ++i)
            if (left[i] != v || right[i] != v)
                return false;
        return true;
    }

    std::vector<float> left, right;
};

void signal (Block& b, int offset)
{
    for (size_t i = 0; i < b.left.size(); ++i)
    {
        b.left[i] = 0.4f * (float) std::sin (0.031 * (double) (offset + (int) i));
        b.right[i] = -0.3f * (float) std::sin (0.017 * (double) (offset + (int) i));
    }
}

void checkChunks (const VeskAaxEffectInterface& api, VeskAaxEffect* e, HostLog& log)
{
    uint32_t size = 0;
    api.getChunkSize (e, &size);   // a size taken before the state changes
    const auto fat = expected::stateBlock (3);
    log.take();
    report().expectInt (api.setChunk (e, fat.getData(), (uint32_t) fat.getSize()), VESK_ACF_OK, "setChunk of \"4 Fat\"");
    const auto notices = log.take();
    report().saw ("host heard after setChunk: " + HostLog::describe (notices));
    bool eachOnce = notices.size() == 8;
    for (size_t k = 0; eachOnce && k < 8; ++k)
        eachOnce = notices[k].what == 'v' && notices[k].index == (int) k && notices[k].value == expected::programValues[3][k];
    report().expect (eachOnce, "after setChunk the host hears each of the eight new values once, in index order, without a gesture");

    std::vector<char> buffer (1 << 16);
    uint32_t written = 0;
    report().expectInt (api.getChunk (e, buffer.data(), (uint32_t) buffer.size(), &written), VESK_ACF_OK, "getChunk without getChunkSize first");
    report().expect (written == fat.getSize() && std::memcmp (buffer.data(), fat.getData(), fat.getSize()) == 0,
                     "getChunk without getChunkSize gives the current state (\"4 Fat\"), not the one sized before");
    written = 0;
    report().expectInt (api.getChunk (e, buffer.data(), 16, &written), VESK_ACF_E_OUTOFRANGE, "getChunk into 16 bytes refused");
    report().expectInt (written, (juce::int64) fat.getSize(), "getChunk into 16 bytes tells the size needed");

    api.setParameterValue (e, 2, 0.25f);
    report().expect (log.take().empty(), "a value the host sets is not reported back to it");
}

void checkProcessing (const VeskAaxEffectInterface& api, VeskAaxEffect* e, HostLog& log)
{
    const double rate = 48000.0;
    const int prepared = 256;

    report().expectInt (api.prepare (e, 0.0, 512), VESK_ACF_E_INVALIDARG, "prepare at rate 0 refused");
    report().expectInt (api.prepare (e, std::nan (""), 512), VESK_ACF_E_INVALIDARG, "prepare at rate NaN refused");
    report().expectInt (api.prepare (e, rate, 0), VESK_ACF_E_INVALIDARG, "prepare for blocks of 0 refused");

    {
        Block b (64, 0.5f);
        b.process (api, e, rate, 64);
        report().expect (b.allEqual (0.0f), "a block before prepare comes out silent");
    }

    report().expectInt (api.prepare (e, rate, prepared), VESK_ACF_OK, "prepare at 48 kHz for blocks of 256");
    {
        Block b (64, 7.0f);
        b.process (api, e, rate, 0);
        report().expect (b.allEqual (7.0f), "a zero-length block reads and writes nothing");
        b.process (api, e, 44100.0, 64);
        report().expect (b.allEqual (0.0f), "a block at a rate other than the prepared one comes out silent");
    }

    // Heap use on the processing thread, in the host's process: ordinary blocks, single samples,
    // blocks larger than prepared, with and without the master bypass.
    const int sizes[] = { 256, 1, 17, 1000, 4096, 255, 256, 3000 };
    Block big (4096, 0.0f);
    std::size_t heapBlocks = 0;
    int offset = 0;
    for (int round = 0; round < 2; ++round)
    {
        api.setParameterValue (e, api.getMasterBypassIndex (e), round == 0 ? 0.0f : 1.0f);
        for (int n : sizes)
        {
            signal (big, offset);
            offset += n;
            HeapCount::Scope heap;
            big.process (api, e, rate, n);
            heapBlocks += heap.blocks();
        }
    }
    api.setParameterValue (e, api.getMasterBypassIndex (e), 0.0f);
    if (HeapCount::available())
    {
        // The count sees what the module allocates: reading a chunk builds text on the heap.
        std::vector<char> chunk (1 << 16);
        uint32_t written = 0;
        std::size_t chunkBlocks = 0;
        {
            HeapCount::Scope heap;
            api.getChunk (e, chunk.data(), (uint32_t) chunk.size(), &written);
            chunkBlocks = heap.blocks();
        }
        report().saw ("heap blocks requested by one getChunk inside the module: " + juce::String ((int) chunkBlocks));
        report().expect (chunkBlocks > 0, "the host's heap count sees allocations made inside the module");
        report().expectInt ((juce::int64) heapBlocks, 0, "heap blocks requested on the processing thread (16 blocks of 1 to 4096 samples, 256 prepared)");
    }
    else
        report().saw ("heap use on the processing thread not measurable in this build");

    // A block larger than prepared sounds as the same samples in prepared-size pieces.
    auto* other = api.createWithHost (1, nullptr);
    auto* again = api.createWithHost (1, nullptr);
    if (other != nullptr && again != nullptr)
    {
        api.prepare (other, rate, prepared);
        api.prepare (again, rate, prepared);
        Block whole (1000, 0.0f), pieces (1000, 0.0f);
        signal (whole, 0);
        signal (pieces, 0);
        whole.process (api, other, rate, 1000);
        for (int start = 0; start < 1000; start += prepared)
        {
            const int n = juce::jmin (prepared, 1000 - start);
            float* channels[2] = { pieces.left.data() + start, pieces.right.data() + start };
            VeskAaxProcessContext c { channels, channels, n, rate };
            api.process (again, &c);
        }
        report().expect (whole.left == pieces.left && whole.right == pieces.right,
                         "a block of 1000 samples with 256 prepared: bit-identical to four prepared-size calls");
    }
    if (other != nullptr)
        api.destroy (other);
    if (again != nullptr)
        api.destroy (again);
    log.take();
}

void checkShutdown (AaxModule& m, VeskAaxEffect* e)
{
    const auto& api = *m.effect;
    report().expectInt (m.shutdown (nullptr), VESK_ACF_E_BUSY, "the last ACFShutdown with an instance alive is refused");
    report().expectInt (m.canUnloadNow (nullptr), VESK_ACF_FALSE, "ACFCanUnloadNow after the refusal");
    Block b (256, 0.0f);
    signal (b, 0);
    b.process (api, e, 48000.0, 256);
    bool sound = false;
    for (float x : b.left)
        sound = sound || (std::isfinite (x) && x != 0.0f);
    report().expect (sound, "the instance still processes after the refused shutdown");

    report().expectInt (m.startup (nullptr), VESK_ACF_OK, "a second ACFStartup");
    report().expectInt (m.shutdown (nullptr), VESK_ACF_OK, "a shutdown that is not the last is accepted with an instance alive");
    report().expect (api.getParameterValue (e, 1) == expected::programValues[3][1], "the instance still answers");
}
}

void checkAaxHostCalls (const Target& t)
{
    report().section ("AAX: chunks, notices, preparation, processing and shutdown through the module");
    juce::String error;
    auto m = AaxModule::open (t.binary, error);
    if (! report().expect (m != nullptr, "module loads and starts (" + error + ")"))
        return;
    const auto& api = *m->effect;

    HostLog log;
    const auto callbacks = log.callbacks();
    auto* e = api.createWithHost (1, &callbacks);
    if (! report().expect (e != nullptr, "instance for component 1 with the host's callbacks"))
        return;

    checkChunks (api, e, log);
    checkProcessing (api, e, log);
    checkShutdown (*m, e);

    api.destroy (e);
    report().expectInt (m->shutdown (nullptr), VESK_ACF_OK, "the last ACFShutdown once no instance is alive");
    report().expect (api.create (0, nullptr) == nullptr, "no instance after the last ACFShutdown");
    m->startup (nullptr);   // the module object shuts down once more when it goes
}

void checkAaxEditorCalls (const Target& t)
{
    report().section ("AAX: the editor's parent window, and gestures under the pointer");
    XDesk desk;
    if (! report().expect (desk.ok() && desk.canMovePointer(), "an X display with the XTEST extension"))
        return;
    juce::String error;
    auto m = AaxModule::open (t.binary, error);
    if (! report().expect (m != nullptr, "module loads and starts (" + error + ")"))
        return;
    const auto& api = *m->effect;

    HostLog log;
    const auto callbacks = log.callbacks();
    auto* e = api.createWithHost (1, &callbacks);
    if (! report().expect (e != nullptr, "instance"))
        return;
    api.prepare (e, 48000.0, 512);

    const juce::Point<int> originA (40, 40), originB (480, 40);
    const auto a = desk.createWindow (originA.x, originA.y, EditorLayout::width, EditorLayout::height);
    const auto b = desk.createWindow (originB.x, originB.y, EditorLayout::width, EditorLayout::height);
    // Up to 10 s: on a loaded machine the editor's message thread may answer late.
    const auto waitFor = [] (const std::function<bool()>& done)
    {
        for (int i = 0; i < 500 && ! done(); ++i)
            std::this_thread::sleep_for (std::chrono::milliseconds (20));
        return done();
    };

    int32_t w = 0, h = 0;
    report().expectInt (api.openEditor (e, (void*) (juce::pointer_sized_uint) a, &w, &h), VESK_ACF_OK, "editor opens in window A");
    report().expect (waitFor ([&] { return desk.countChildren (a) > 0; }), "window A holds the editor");
    report().expectInt (api.openEditor (e, (void*) (juce::pointer_sized_uint) b, &w, &h), VESK_ACF_OK, "editor opened again in window B");
    const bool moved = waitFor ([&] { return desk.countChildren (b) > 0 && desk.countChildren (a) == 0; });
    report().saw ("children: window A " + juce::String (desk.countChildren (a)) + ", window B " + juce::String (desk.countChildren (b)));
    report().expect (moved, "the editor left window A for window B");

    // The editor polls the parameters every 150 ms; give it time to show and to settle.
    std::this_thread::sleep_for (std::chrono::milliseconds (500));
    const auto at = [&] (juce::Rectangle<int> r) { return originB + r.getCentre(); };

    // A double-click on the input-gain bar returns it to 5.0 (0.5) as one gesture.
    api.setParameterValue (e, 4, 0.2f);
    std::this_thread::sleep_for (std::chrono::milliseconds (400));
    log.take();
    const auto bar = at (EditorLayout::inputGain());
    desk.click (bar.x, bar.y);
    std::this_thread::sleep_for (std::chrono::milliseconds (60));
    desk.click (bar.x, bar.y);
    waitFor ([&] { return api.getParameterValue (e, 4) == 0.5f; });
    std::this_thread::sleep_for (std::chrono::milliseconds (600));   // past the double-click time
    auto heard = log.take();
    report().saw ("double-click on the input-gain bar: host heard " + HostLog::describe (heard));
    report().expectFloat (api.getParameterValue (e, 4), 0.5f, "input gain after a double-click on the bar");
    report().expect (heard.size() >= 3 && heard.front().what == 'b' && heard.front().index == 4 && heard.back().what == 'e'
                         && heard.back().index == 4,
                     "the reset reached the host between touch and release of Input Gain");

    // A drag on the drive knob: touch, values, release.
    heard.clear();
    const auto knob = at (EditorLayout::drive());
    desk.movePointer (knob.x, knob.y);
    desk.button (true);
    for (int step = 1; step <= 8; ++step)
    {
        desk.movePointer (knob.x, knob.y - 5 * step);
        std::this_thread::sleep_for (std::chrono::milliseconds (20));
    }
    desk.button (false);
    waitFor ([&] { auto l = log.take(); heard.insert (heard.end(), l.begin(), l.end()); return ! heard.empty() && heard.back().what == 'e'; });
    report().saw ("drag on the drive knob: host heard " + HostLog::describe (heard));
    bool ordered = heard.size() >= 3 && heard.front().what == 'b' && heard.back().what == 'e';
    for (auto& entry : heard)
        ordered = ordered && entry.index == 1;
    report().expect (ordered && api.getParameterValue (e, 1) > 0.0f, "the drag reached the host as touch, values and release of TS Drive");

    // A click on the stereo switch, which the editor sends without a gesture of its own.
    heard.clear();
    const auto stereo = at (EditorLayout::stereo());
    desk.click (stereo.x, stereo.y);
    waitFor ([&] { auto l = log.take(); heard.insert (heard.end(), l.begin(), l.end()); return heard.size() >= 3; });
    report().saw ("click on the stereo switch: host heard " + HostLog::describe (heard));
    report().expect (heard.size() == 3 && heard[0].what == 'b' && heard[1].what == 'v' && heard[2].what == 'e' && heard[0].index == 5
                         && heard[1].index == 5 && heard[2].index == 5,
                     "the switch reached the host as touch, value and release of Processing");

    api.closeEditor (e);
    report().expect (waitFor ([&] { return desk.countChildren (b) == 0; }), "the editor closed");
    desk.destroyWindow (a);
    desk.destroyWindow (b);
    api.destroy (e);
}
}
