// The editor's wiring: what each user action sends to the parameters, and how host changes come
// back to the controls through the poll.
#include "support/DisplayErrors.h"
#include "support/EditorHarness.h"

using namespace EditorHarness;
using What = HostLog::What;

namespace
{
struct EditorWiring : ::testing::Test
{
    void SetUp() override
    {
        p.setCurrentProgram (0);
        open = std::make_unique<OpenEditor> (p);
        ASSERT_NE (open->editor, nullptr);
        c = open->controls;
        log = std::make_unique<HostLog> (p);
    }
    void TearDown() override
    {
        log.reset();
        open.reset();
    }

    FloatParameter& param (int k) { return *p.parameters[(size_t) k]; }

    Processor p;
    std::unique_ptr<OpenEditor> open;
    Controls c;
    std::unique_ptr<HostLog> log;
};

juce::Point<float> centreOf (const juce::Component& c) { return c.getLocalBounds().toFloat().getCentre(); }
}

TEST_F (EditorWiring, DraggingAKnobSendsValueOver127InsideOneGesture)
{
    struct Case { juce::Slider* knob; int index; };
    for (auto [knob, index] : { Case { c.drive, 1 }, Case { c.tone, 2 }, Case { c.level, 3 } })
    {
        log->entries.clear();
        knob->setValue (0.0, juce::dontSendNotification);
        Mouse mouse (*knob);
        const auto start = centreOf (*knob);
        mouse.down (start);
        mouse.drag (start.translated (0.0f, -100.0f));   // 100 of 250 pixels up: 50.8 -> 51
        mouse.drag (start.translated (0.0f, -250.0f));   // the whole range
        mouse.up (start.translated (0.0f, -250.0f));

        EXPECT_EQ (knob->getValue(), 127.0);
        ASSERT_GE (log->entries.size(), 4u);
        EXPECT_EQ (log->entries.front().what, What::begin);
        EXPECT_EQ (log->entries.front().index, index);
        EXPECT_EQ (log->entries.back().what, What::end);
        EXPECT_EQ (log->entries.back().index, index);
        const auto values = log->values();
        ASSERT_EQ (values.size(), 2u);
        EXPECT_EQ (values[0].index, index);
        EXPECT_EQ (values[0].value, (float) (51.0 / 127.0));
        EXPECT_EQ (values[1].value, 1.0f);
        EXPECT_EQ (param (index).getValue(), 1.0f);
    }
}

TEST_F (EditorWiring, DoubleClickResetsAKnobTo64)
{
    c.tone->setValue (10.0, juce::dontSendNotification);
    Mouse mouse (*c.tone);
    mouse.doubleClick (centreOf (*c.tone));
    EXPECT_EQ (c.tone->getValue(), 64.0);
    const auto values = log->values();
    ASSERT_FALSE (values.empty());
    EXPECT_EQ (values.back().index, 2);
    EXPECT_FLOAT_EQ (values.back().value, 0.503937f);
    EXPECT_EQ (values.back().value, (float) (64.0 / 127.0));
    EXPECT_EQ (param (2).getValue(), (float) (64.0 / 127.0));
    // the reset is wrapped in a gesture of its own
    EXPECT_EQ (log->entries.back().what, What::end);
    EXPECT_EQ (log->entries.back().index, 2);
}

TEST_F (EditorWiring, QualitySwitchSelectsLoOnTheLeftHalfAndHiOnTheRight)
{
    Mouse mouse (*c.quality);
    mouse.down ({ 10.0f, 8.0f });
    mouse.up ({ 10.0f, 8.0f });
    EXPECT_EQ (c.quality->getValue(), 0.0);
    mouse.down ({ 23.0f, 8.0f });
    mouse.up ({ 23.0f, 8.0f });
    EXPECT_EQ (c.quality->getValue(), 0.0) << "still the left half";
    mouse.down ({ 40.0f, 8.0f });
    mouse.up ({ 40.0f, 8.0f });
    EXPECT_EQ (c.quality->getValue(), 1.0);

    const auto values = log->values();
    ASSERT_EQ (values.size(), 2u);
    EXPECT_EQ (values[0].index, 6);
    EXPECT_EQ (values[0].value, 0.0f);
    EXPECT_EQ (values[1].index, 6);
    EXPECT_EQ (values[1].value, 1.0f);
    EXPECT_EQ (param (6).getLabel(), "High");

    int begins = 0, ends = 0;
    for (const auto& e : log->entries)
    {
        begins += e.what == What::begin && e.index == 6;
        ends += e.what == What::end && e.index == 6;
    }
    EXPECT_EQ (begins, 3);
    EXPECT_EQ (ends, 3);
}

TEST_F (EditorWiring, InputGainDragSendsValueOver10)
{
    Mouse mouse (*c.inputGain);
    mouse.down ({ 20.0f, 7.0f });
    mouse.drag ({ 75.0f, 7.0f });    // (75 - 1) / 148 of the bar: 5.0
    mouse.drag ({ 38.0f, 7.0f });    // 37 / 148 = 0.25: 2.5
    mouse.up ({ 38.0f, 7.0f });

    EXPECT_EQ (c.inputGain->getValue(), 2.5);
    const auto values = log->values();
    ASSERT_EQ (values.size(), 2u);
    EXPECT_EQ (values[0].index, 4);
    EXPECT_EQ (values[0].value, 0.5f);
    EXPECT_EQ (values[1].value, 0.25f);
    EXPECT_EQ (log->entries.front().what, What::begin);
    EXPECT_EQ (log->entries.front().index, 4);
    EXPECT_EQ (log->entries.back().what, What::end);
    EXPECT_EQ (log->entries.back().index, 4);
    // 0.25 is stored as step 12.25 of 49
    EXPECT_EQ (param (4).getValue(), 12.25f * 0.020408163f);
}

TEST_F (EditorWiring, InputGainDoubleClickReturnsTo5)
{
    c.inputGain->setValue (1.0, juce::dontSendNotification);
    static_cast<juce::MouseListener&> (*c.inputGain).mouseDoubleClick (
        juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), { 20.0f, 7.0f }, {},
                          juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f,
                          c.inputGain, c.inputGain, juce::Time::getCurrentTime(), { 20.0f, 7.0f },
                          juce::Time::getCurrentTime(), 2, false));
    EXPECT_EQ (c.inputGain->getValue(), 5.0);
    ASSERT_FALSE (log->values().empty());
    EXPECT_EQ (log->values().back().value, 0.5f);
}

TEST_F (EditorWiring, StereoSwitchSendsTheEndsOfTheRangeWithoutGesture)
{
    Mouse mouse (*c.stereo);
    mouse.click (centreOf (*c.stereo));
    EXPECT_TRUE (c.stereo->getToggleState());
    EXPECT_EQ (param (5).getLabel(), "Stereo");
    mouse.click (centreOf (*c.stereo));
    EXPECT_FALSE (c.stereo->getToggleState());
    EXPECT_EQ (param (5).getLabel(), "Mono");

    ASSERT_EQ (log->entries.size(), 2u) << "button clicks send no gesture";
    EXPECT_EQ (log->entries[0].what, What::value);
    EXPECT_EQ (log->entries[0].index, 5);
    EXPECT_EQ (log->entries[0].value, 1.0f);
    EXPECT_EQ (log->entries[1].value, 0.0f);
}

TEST_F (EditorWiring, FootSwitchTurnsTheLedInTheSameCallback)
{
    std::vector<bool> ledWhenSent;
    log->onValue = [&] (int index, float) { if (index == 0) ledWhenSent.push_back (c.led->getToggleState()); };

    Mouse mouse (*c.foot);
    mouse.click (centreOf (*c.foot));
    EXPECT_FALSE (c.foot->getToggleState());
    EXPECT_FALSE (c.led->getToggleState());
    EXPECT_EQ (param (0).getLabel(), "Disabled");
    mouse.click (centreOf (*c.foot));
    EXPECT_TRUE (c.led->getToggleState());
    EXPECT_EQ (param (0).getLabel(), "Enabled");

    const auto values = log->values();
    ASSERT_EQ (values.size(), 2u);
    EXPECT_EQ (values[0].index, 0);
    EXPECT_EQ (values[0].value, 0.0f);
    EXPECT_EQ (values[1].value, 1.0f);
    EXPECT_EQ (ledWhenSent, (std::vector<bool> { false, true }));
    EXPECT_EQ (log->entries.size(), 2u);
}

TEST_F (EditorWiring, FootSwitchShowsPressedUntilReleaseEvenWhenDraggedOff)
{
    Mouse mouse (*c.foot);
    mouse.down (centreOf (*c.foot));
    EXPECT_TRUE (c.foot->isShownPressed());
    mouse.drag ({ 300.0f, 300.0f });
    EXPECT_TRUE (c.foot->isShownPressed());
    mouse.up ({ 300.0f, 300.0f });
    EXPECT_FALSE (c.foot->isShownPressed());
    EXPECT_TRUE (c.foot->getToggleState()) << "released outside: no click";
    EXPECT_TRUE (log->entries.empty());
    EXPECT_EQ (param (0).getValue(), 1.0f);
}

TEST_F (EditorWiring, ModelSwitchMovesItsStripInTheSameCallback)
{
    std::vector<bool> stripWhenSent;
    log->onValue = [&] (int index, float) { if (index == 7) stripWhenSent.push_back (c.modBackground->getToggleState()); };

    Mouse mouse (*c.mod);
    mouse.click (centreOf (*c.mod));
    EXPECT_TRUE (c.mod->getToggleState());
    EXPECT_EQ (param (7).getLabel(), "Modded");
    mouse.click (centreOf (*c.mod));
    EXPECT_EQ (param (7).getLabel(), "Original");

    const auto values = log->values();
    ASSERT_EQ (values.size(), 2u);
    EXPECT_EQ (values[0].index, 7);
    EXPECT_EQ (values[0].value, 1.0f);
    EXPECT_EQ (values[1].value, 0.0f);
    EXPECT_EQ (stripWhenSent, (std::vector<bool> { true, false }));
}

TEST_F (EditorWiring, LedAndModelStripIgnoreClicks)
{
    for (auto* display : { c.led, c.modBackground })
    {
        const bool before = display->getToggleState();
        Mouse mouse (*display);
        mouse.click (centreOf (*display));
        mouse.click (centreOf (*display));
        mouse.click (centreOf (*display));
        EXPECT_EQ (display->getToggleState(), before) << display->getName();
        EXPECT_FALSE (display->isEnabled());
    }
    EXPECT_TRUE (log->entries.empty());
}

TEST_F (EditorWiring, HostChangesReachTheControlsAtTheNextPollAndWriteNothingBack)
{
    ASSERT_TRUE (open->editor->isTimerRunning());
    EXPECT_EQ (open->editor->getTimerInterval(), 150);

    param (0).setValue (0.0f);
    param (1).setValue (0.25f);     // 31.75 -> 32
    param (2).setValue (0.75f);     // 95.25 -> 95
    param (3).setValue (0.1f);      // 12.7 -> 13
    param (4).setValue (0.77f);     // step 37.73 -> 0.76999998 -> 7.7
    param (5).setValue (1.0f);
    param (6).setValue (0.0f);
    param (7).setValue (1.0f);
    log->entries.clear();

    // Nothing moves until the poll runs.
    EXPECT_EQ (c.drive->getValue(), 0.0);
    EXPECT_TRUE (c.led->getToggleState());

    open->editor->timerCallback();
    EXPECT_EQ (c.drive->getValue(), 32.0);
    EXPECT_EQ (c.tone->getValue(), 95.0);
    EXPECT_EQ (c.level->getValue(), 13.0);
    EXPECT_NEAR (c.inputGain->getValue(), 7.7, 1e-9);
    EXPECT_EQ (c.quality->getValue(), 0.0);
    EXPECT_FALSE (c.led->getToggleState());
    EXPECT_FALSE (c.foot->getToggleState());
    EXPECT_TRUE (c.stereo->getToggleState());
    EXPECT_TRUE (c.mod->getToggleState());
    EXPECT_TRUE (c.modBackground->getToggleState());

    EXPECT_TRUE (log->entries.empty()) << "the poll must not write the parameters";
    EXPECT_EQ (param (1).getValue(), 0.25f);
    EXPECT_EQ (param (4).getValue(), 37.73f * 0.020408163f);

    // A second poll with nothing changed leaves everything alone, too.
    open->editor->timerCallback();
    EXPECT_TRUE (log->entries.empty());
}

TEST_F (EditorWiring, HostAutomationOfTheModelFlipsSwitchAndStrip)
{
    for (float x : { 1.0f, 0.0f, 0.6f, 0.4f })
    {
        param (7).setValue (x);
        log->entries.clear();
        open->editor->timerCallback();
        EXPECT_TRUE (log->entries.empty());
        const bool modded = x >= 0.5f;
        EXPECT_EQ (c.mod->getToggleState(), modded) << x;
        EXPECT_EQ (c.modBackground->getToggleState(), modded) << x;
    }
}

TEST_F (EditorWiring, PollNeverMovesAKnobAwayFromTheValueJustSet)
{
    for (int v = 0; v <= 127; ++v)
    {
        c.level->setValue (v, juce::sendNotificationSync);
        open->editor->timerCallback();
        ASSERT_EQ (c.level->getValue(), (double) v);
    }
}

TEST_F (EditorWiring, ProgramChangeShowsAtTheNextPoll)
{
    p.setCurrentProgram (1);
    // The switch reports each new value to the host once; the poll then writes nothing back.
    EXPECT_EQ (log->values().size(), 8u);
    log->entries.clear();
    open->editor->timerCallback();
    EXPECT_EQ (c.drive->getValue(), 0.0);
    EXPECT_EQ (c.tone->getValue(), 64.0);
    EXPECT_EQ (c.level->getValue(), 88.0);
    EXPECT_NEAR (c.inputGain->getValue(), 3.2, 1e-9);
    EXPECT_TRUE (c.led->getToggleState());
    EXPECT_FALSE (c.stereo->getToggleState());
    EXPECT_EQ (c.quality->getValue(), 1.0);
    EXPECT_FALSE (c.mod->getToggleState());
    EXPECT_TRUE (log->values().empty());
}

// The input-gain bar as a user's mouse reaches it: button events delivered to the editor's window
// (its peer) at the bar's coordinates go to whatever component lies there, the value label that
// covers the bar included.
TEST_F (EditorWiring, InputGainBarThroughTheWindowDoubleClickResetsAndAPlainClickOpensTyping)
{
    if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
        GTEST_SKIP() << "needs a display (run under Xvfb)";

    DisplayErrors::tolerate();
    auto& editor = *open->editor;
    editor.addToDesktop (0);
    editor.setVisible (true);
    auto* peer = editor.getPeer();
    ASSERT_NE (peer, nullptr);
    juce::Label* label = nullptr;
    for (auto* child : c.inputGain->getChildren())
        if (auto* l = dynamic_cast<juce::Label*> (child))
            label = l;
    ASSERT_NE (label, nullptr);

    const auto bar = c.inputGain->getBounds().toFloat().getCentre();
    ASSERT_EQ (editor.getComponentAt (bar.roundToInt()), label);   // the label covers the bar
    const auto left = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier);
    const auto press = [&] (juce::int64 at)
    {
        peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, bar, left,
                                juce::MouseInputSource::defaultPressure, 0.0f, at);
        peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, bar, {},
                                juce::MouseInputSource::defaultPressure, 0.0f, at + 20);
    };
    const auto runFor = [] (int ms)
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) ms;
        while (juce::Time::getMillisecondCounter() < end)
        {
            dispatchPendingMessages();
            juce::Thread::sleep (5);
        }
    };

    ASSERT_NE (c.inputGain->getValue(), 5.0);   // 3.3, from Input Gain 0.33
    const auto t = juce::Time::currentTimeMillis();
    press (t);
    press (t + 80);
    runFor (juce::MouseEvent::getDoubleClickTimeout() + 200);
    EXPECT_EQ (c.inputGain->getValue(), 5.0);
    ASSERT_FALSE (log->values().empty());
    EXPECT_EQ (log->values().back().value, 0.5f);
    EXPECT_EQ (log->entries.front().what, What::begin);
    EXPECT_EQ (log->entries.back().what, What::end);
    EXPECT_EQ (label->getCurrentTextEditor(), nullptr) << "a double-click opens no text entry";

    // A plain click, long after: the value opens for typing once the double-click time is over.
    press (juce::Time::currentTimeMillis());
    EXPECT_EQ (label->getCurrentTextEditor(), nullptr);
    runFor (juce::MouseEvent::getDoubleClickTimeout() + 200);
    ASSERT_NE (label->getCurrentTextEditor(), nullptr);
    label->getCurrentTextEditor()->setText ("2.5", false);
    label->hideEditor (false);
    EXPECT_EQ (c.inputGain->getValue(), 2.5);
    EXPECT_EQ (log->values().back().value, 0.25f);

    editor.removeFromDesktop();
}
