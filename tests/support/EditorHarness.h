#pragma once

#include "editor/Editor.h"
#include "editor/EditorImages.h"
#include "processor/Processor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace juce
{
// The framework's own message pump (juce_events); the test binary has no modal loops.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

// Helpers for tests that open the pedal editor, press its controls as a mouse would and look at
// what it draws.
namespace EditorHarness
{
// The editor's ten controls, found by type and name among its children.
struct Controls
{
    KnobTSDrive* drive = nullptr;
    KnobTSTone* tone = nullptr;
    KnobTSLevel* level = nullptr;
    juce::ToggleButton* led = nullptr;
    juce::Slider* quality = nullptr;
    juce::ToggleButton* stereo = nullptr;
    juce::Slider* inputGain = nullptr;
    KnobTSOnoff* foot = nullptr;
    juce::ToggleButton* mod = nullptr;
    juce::ToggleButton* modBackground = nullptr;

    std::vector<juce::Component*> all() const
    {
        return { drive, tone, level, led, quality, stereo, inputGain, foot, mod, modBackground };
    }
};

inline Controls controlsOf (juce::Component& editor)
{
    Controls c;
    for (auto* child : editor.getChildren())
    {
        const auto name = child->getName();
        if (auto* k = dynamic_cast<KnobTSDrive*> (child)) c.drive = k;
        else if (auto* t = dynamic_cast<KnobTSTone*> (child)) c.tone = t;
        else if (auto* l = dynamic_cast<KnobTSLevel*> (child)) c.level = l;
        else if (auto* f = dynamic_cast<KnobTSOnoff*> (child)) c.foot = f;
        else if (name == "led_toggle") c.led = dynamic_cast<juce::ToggleButton*> (child);
        else if (name == "quality_sw") c.quality = dynamic_cast<juce::Slider*> (child);
        else if (name == "stereo_toggle") c.stereo = dynamic_cast<juce::ToggleButton*> (child);
        else if (name == "input_gain") c.inputGain = dynamic_cast<juce::Slider*> (child);
        else if (name == "mod_sw") c.mod = dynamic_cast<juce::ToggleButton*> (child);
        else if (name == "mod_bg") c.modBackground = dynamic_cast<juce::ToggleButton*> (child);
    }
    return c;
}

// An editor as the host opens it, and its controls.
struct OpenEditor
{
    explicit OpenEditor (Processor& p)
        : editor (dynamic_cast<Editor*> (p.createEditorIfNeeded()))
    {
        if (editor != nullptr)
            controls = controlsOf (*editor);
    }

    std::unique_ptr<Editor> editor;
    Controls controls;
};

// Mouse events as the framework would deliver them to a component, from the main mouse source.
// The real pointer is elsewhere, so a button sees the mouse leave it on any drag.
struct Mouse
{
    explicit Mouse (juce::Component& target) : component (target) {}

    void down (juce::Point<float> at, int clicks = 1)
    {
        downAt = at;
        downTime = juce::Time::getCurrentTime();
        static_cast<juce::MouseListener&> (component).mouseDown (event (at, clicks, false, true));
    }
    void drag (juce::Point<float> to)
    {
        static_cast<juce::MouseListener&> (component).mouseDrag (event (to, 1, true, true));
        dragged = true;
    }
    void up (juce::Point<float> at)
    {
        static_cast<juce::MouseListener&> (component).mouseUp (event (at, 1, dragged, false));
        dragged = false;
    }
    void click (juce::Point<float> at) { down (at); up (at); }
    void doubleClick (juce::Point<float> at)
    {
        click (at);
        down (at, 2);
        static_cast<juce::MouseListener&> (component).mouseDoubleClick (event (at, 2, false, true));
        up (at);
    }
    void wheel (juce::Point<float> at, float deltaY)
    {
        juce::MouseWheelDetails details;
        details.deltaX = 0.0f;
        details.deltaY = deltaY;
        details.isReversed = false;
        details.isSmooth = false;
        details.isInertial = false;
        static_cast<juce::MouseListener&> (component).mouseWheelMove (event (at, 0, false, false), details);
    }

    juce::Component& component;

private:
    juce::MouseEvent event (juce::Point<float> at, int clicks, bool wasDragged, bool buttonHeld) const
    {
        const auto mods = buttonHeld ? juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier) : juce::ModifierKeys();
        return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), at, mods,
                                 juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f,
                                 &component, &component, juce::Time::getCurrentTime(),
                                 downAt, downTime, clicks, wasDragged);
    }

    juce::Point<float> downAt;
    juce::Time downTime;
    bool dragged = false;
};

// Everything the processor tells its host: value changes (with the value sent) and gestures.
struct HostLog final : juce::AudioProcessorListener
{
    enum class What { value, begin, end };
    struct Entry
    {
        What what;
        int index;
        float value;
    };

    explicit HostLog (Processor& p) : processor (p) { processor.addListener (this); }
    ~HostLog() override { processor.removeListener (this); }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        entries.push_back ({ What::value, index, value });
        if (onValue)
            onValue (index, value);
    }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override
    {
        entries.push_back ({ What::begin, index, 0.0f });
    }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override
    {
        entries.push_back ({ What::end, index, 0.0f });
    }

    std::vector<Entry> values() const
    {
        std::vector<Entry> v;
        for (const auto& e : entries)
            if (e.what == What::value)
                v.push_back (e);
        return v;
    }

    Processor& processor;
    std::vector<Entry> entries;
    std::function<void (int, float)> onValue;
};

// Delivers the messages waiting on the message thread's queue, as a host's event loop would.
inline int dispatchPendingMessages()
{
    int delivered = 0;
    while (delivered < 100000 && juce::dispatchNextMessageOnSystemQueue (true))
        ++delivered;
    return delivered;
}

// What the component draws with `scale` physical pixels per unit (2 on a display scaled to 200 %).
inline juce::Image snapshotOf (juce::Component& c, float scale = 1.0f)
{
    return c.createComponentSnapshot (c.getLocalBounds(), true, scale);
}

// Pixels of `area` (in the snapshot) that differ from `expected` placed at area's origin;
// points for which `skip` is true are not compared. Returns the first few differences as text.
inline std::string differences (const juce::Image& snapshot, juce::Rectangle<int> area,
                                const juce::Image& expected, juce::Rectangle<int> expectedArea,
                                const std::function<bool (juce::Point<int>)>& skip = {})
{
    std::string report;
    int count = 0;
    for (int y = 0; y < area.getHeight(); ++y)
        for (int x = 0; x < area.getWidth(); ++x)
        {
            const juce::Point<int> at (area.getX() + x, area.getY() + y);
            if (skip && skip (at))
                continue;
            const auto got = snapshot.getPixelAt (at.x, at.y).getARGB();
            const auto want = expected.getPixelAt (expectedArea.getX() + x, expectedArea.getY() + y).getARGB();
            if (got != want && ++count <= 5)
                report += "(" + std::to_string (at.x) + "," + std::to_string (at.y) + ") got "
                          + juce::String::toHexString ((int) got).toStdString() + " want "
                          + juce::String::toHexString ((int) want).toStdString() + "; ";
        }
    if (count > 5)
        report += std::to_string (count) + " pixels differ";
    return report;
}

// Frame k of a vertical strip of equal frames.
inline juce::Rectangle<int> frameOf (const juce::Image& strip, int frames, int k)
{
    const int h = strip.getHeight() / frames;
    return { 0, k * h, strip.getWidth(), h };
}
}
