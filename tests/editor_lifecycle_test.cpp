// Opening and closing the editor: nothing leaks, every look is gone with the editor, and no
// control is destroyed after the look it is drawn with.
#include "support/EditorHarness.h"

#include <malloc.h>

#include <map>

using namespace EditorHarness;

namespace
{
// Records, at the moment each watched component is deleted, whether its look still exists.
struct DeletionWatch final : juce::ComponentListener
{
    void watch (juce::Component& c)
    {
        looks.emplace (&c, juce::WeakReference<juce::LookAndFeel> (&c.getLookAndFeel()));
        names.emplace (&c, c.getName().isEmpty() ? juce::String ("(unnamed)") : c.getName());
        c.addComponentListener (this);
    }
    void componentBeingDeleted (juce::Component& c) override
    {
        ++deleted;
        if (looks[&c].get() == nullptr)
            deletedAfterItsLook.add (names[&c]);
    }

    std::map<juce::Component*, juce::WeakReference<juce::LookAndFeel>> looks;
    std::map<juce::Component*, juce::String> names;
    juce::StringArray deletedAfterItsLook;
    int deleted = 0;
};

std::size_t heapInUse() { return mallinfo2().uordblks; }
}

TEST (EditorLifecycle, ControlsAreDeletedBeforeTheirLooksAndTheLooksGoWithTheEditor)
{
    Processor p;
    OpenEditor open (p);
    ASSERT_NE (open.editor, nullptr);

    DeletionWatch watch;
    std::vector<juce::WeakReference<juce::LookAndFeel>> ownLooks;
    for (auto* control : open.controls.all())
    {
        watch.watch (*control);
        for (auto* child : control->getChildren())   // the input-gain value label
            watch.watch (*child);
        if (&control->getLookAndFeel() != &juce::LookAndFeel::getDefaultLookAndFeel())
            ownLooks.emplace_back (&control->getLookAndFeel());
    }
    ASSERT_EQ (ownLooks.size(), 6u);

    // Close while the value label is being edited and the foot switch is held down.
    auto* label = dynamic_cast<juce::Label*> (open.controls.inputGain->getChildComponent (0));
    ASSERT_NE (label, nullptr);
    label->showEditor();
    ASSERT_NE (label->getCurrentTextEditor(), nullptr);
    watch.watch (*label->getCurrentTextEditor());
    Mouse (*open.controls.foot).down ({ 50.0f, 40.0f });

    open.editor.reset();

    EXPECT_EQ (watch.deleted, 12);
    EXPECT_EQ (watch.deletedAfterItsLook.joinIntoString (", "), "");
    for (auto& look : ownLooks)
        EXPECT_EQ (look.get(), nullptr) << "a look outlived the editor";
}

TEST (EditorLifecycle, HundredsOfOpenAndCloseLeakNothing)
{
    Processor p;
    auto openPaintAndClose = [&p] (int i)
    {
        p.setCurrentProgram (i % 4);
        OpenEditor open (p);
        ASSERT_NE (open.editor, nullptr);
        const auto shot = snapshotOf (*open.editor);
        ASSERT_TRUE (shot.isValid());
        open.editor->timerCallback();
        Mouse (*open.controls.stereo).click ({ 15.0f, 10.0f });
        open.editor.reset();
        dispatchPendingMessages();
    };

    // The first rounds fill the image cache and the framework's own caches (fonts, glyphs),
    // which keep growing a little for a while; a leak grows with every round.
    for (int i = 0; i < 400; ++i)
        openPaintAndClose (i);

    const auto before = heapInUse();
    for (int i = 0; i < 400; ++i)
        openPaintAndClose (i);
    const auto after = heapInUse();
    EXPECT_EQ (p.getActiveEditor(), nullptr);

    // Under a sanitizer the allocator keeps no statistics; its own leak check runs at exit.
    if (before == 0)
        GTEST_SKIP() << "the C allocator's statistics are not available (sanitizer build)";

    // One editor holds well over 20 kB of objects; 400 rounds leave less than one behind.
    EXPECT_LT ((long long) after - (long long) before, 16 * 1024) << "heap grew from " << before << " to " << after;
}
