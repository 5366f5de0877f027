// The sequencer lane and page, driven by synthetic mouse events on the real components: the toggle
// strip, quantize, the pen, the wheel, balanced gestures, note names, the Draw Mode menu and the two
// views, and a pen drag that reaches the instrument simulator and the host.
#include "WidgetTestSupport.h"

#include "plugin/ZentakAudioProcessor.h"
#include "synthlink/SystemMidiDevices.h"
#include "synthlink/simulator/EvolverSimulator.h"
#include "ui/main/MainComp.h"
#include "ui/main/MenuSeam.h"

#include <map>
#include <tuple>

using namespace zentak;
using namespace zentak::test;

namespace
{
using Ev = SeqClass::Event;

struct LaneTest : SkinTest, StateRig
{
    std::unique_ptr<MidiCntrState> state = std::make_unique<MidiCntrState>(options());

    /** A lane at scale 1 in the 522 x 155 reference frame: step k spans x 32k .. 32k + 32. */
    std::unique_ptr<SeqClass> lane(int index)
    {
        auto l = std::make_unique<SeqClass>(*state, index);
        l->setLayout(0, 0, 522, 155);
        return l;
    }
    static float stepX(int k) { return 32.0f * (float)k + 16.0f; }
    /** The y that draws value v. */
    static float yFor(int v) { return 23.0f + (float)(100 - v) * 1.25f - 0.1f; }

    static void click(SeqClass& l, float x, float y)
    {
        l.mouseDown(mouse(l, x, y));
        l.mouseUp(mouse(l, x, y));
        l.timerCallback(); // the 30 ms gesture end
    }
    static std::vector<int> valuesSent(const std::vector<Ev>& events)
    {
        std::vector<int> v;
        for (const auto& e : events)
            if (e.kind == SeqClass::newValue)
                v.push_back(e.value);
        return v;
    }
};

/** Every step's events: starts and ends alternate, one end per start, and values only inside. */
::testing::AssertionResult balanced(const std::vector<Ev>& events)
{
    std::map<int, bool> open;
    for (size_t i = 0; i < events.size(); ++i)
    {
        const auto& e = events[i];
        auto& o = open[e.index];
        if (e.kind == SeqClass::gestureStart && o)
            return ::testing::AssertionFailure() << "second start for " << e.index << " at " << i;
        if (e.kind == SeqClass::gestureEnd && !o)
            return ::testing::AssertionFailure() << "end without start for " << e.index << " at " << i;
        if (e.kind == SeqClass::newValue && !o)
            return ::testing::AssertionFailure() << "value outside a gesture for " << e.index << " at " << i;
        if (e.kind == SeqClass::gestureStart || e.kind == SeqClass::gestureEnd)
            o = e.kind == SeqClass::gestureStart;
    }
    for (const auto& [index, o] : open)
        if (o)
            return ::testing::AssertionFailure() << "gesture left open for " << index;
    return ::testing::AssertionSuccess();
}
} // namespace

TEST_F(LaneTest, ToggleStripCyclesResetOffAndBack)
{
    struct Case
    {
        int lane, step, start;
        bool quantize;
        std::vector<int> sent;
    };
    const Case cases[] = {
        {0, 3, 40, false, {101, 102, 40}},
        {2, 0, 40, false, {101, 40}},
        {0, 5, 40, true, {101, 102, 40}}, // quantize never turns reset into 100
        {1, 9, 37, true, {101, 36}},      // the saved value comes back quantized
    };
    for (const auto& c : cases)
    {
        auto l = lane(c.lane);
        l->setQuantize(c.quantize);
        l->showStep(c.step, c.start);
        std::vector<int> sent;
        for (size_t i = 0; i < c.sent.size(); ++i)
        {
            click(*l, stepX(c.step), 8.0f);
            const auto events = l->takeEvents();
            EXPECT_TRUE(balanced(events)) << c.lane << "/" << i;
            const auto v = valuesSent(events);
            ASSERT_EQ(v.size(), 1u);
            sent.push_back(v[0]);
            EXPECT_EQ(l->displayedValue(c.step), i == 0 ? c.start : c.sent[i - 1])
                << "shown only when it comes back";
            l->showStep(c.step, v[0]); // the controller reports it back
        }
        EXPECT_EQ(sent, c.sent) << "lane " << c.lane;
    }
}

TEST_F(LaneTest, QuantizeLowersOddPitchesOnly)
{
    auto l = lane(1);
    l->setQuantize(true);
    l->mouseDown(mouse(*l, stepX(4), 100.0f));
    l->mouseDrag(mouse(*l, stepX(4), yFor(37)));
    EXPECT_EQ(valuesSent(l->takeEvents()), (std::vector<int>{36}));

    // The wheel steps by two with quantize on; reset is reached from 99 and kept.
    struct Case
    {
        int laneIndex, from;
        float delta;
        bool quantize;
        int to; // -1: nothing is queued at all
    };
    const Case cases[] = {
        {1, 36, 1.0f, true, 38},    {1, 36, -1.0f, true, 34},  {1, 99, 1.0f, true, 101},
        {0, 100, 1.0f, false, 101}, {1, 101, 1.0f, false, -1}, {1, 0, -1.0f, false, -1},
    };
    for (const auto& c : cases)
    {
        auto w = lane(c.laneIndex);
        w->setQuantize(c.quantize);
        w->showStep(2, c.from);
        w->mouseWheelMove(mouse(*w, stepX(2), 80.0f), wheel(c.delta));
        const auto events = w->takeEvents();
        if (c.to < 0)
        {
            EXPECT_TRUE(events.empty()) << c.from;
            continue;
        }
        EXPECT_EQ(events, (std::vector<Ev>{{67, 130, 0}, {68, 130, c.to}, {66, 130, 0}})) << c.from;
        EXPECT_EQ(w->displayedValue(2), c.to);
    }
}

TEST_F(LaneTest, PressOnAStepBorderSelectsNothing)
{
    auto l = lane(0);
    for (float x : {32.0f, 64.0f, 0.0f})
    {
        l->mouseDown(mouse(*l, x, 100.0f));
        l->mouseDrag(mouse(*l, x, 40.0f));
        l->mouseUp(mouse(*l, x, 40.0f));
        l->timerCallback();
        EXPECT_TRUE(l->takeEvents().empty()) << x;
        EXPECT_EQ(l->getCurrentStep(), -1);
    }
}

TEST_F(LaneTest, SliderDragKeepsToThePressedStepInOneGesture)
{
    auto l = lane(0);
    l->mouseDown(mouse(*l, stepX(5), 100.0f));
    for (float y : {90.0f, 80.0f, 80.0f, 60.0f})
        l->mouseDrag(mouse(*l, stepX(9), y)); // sliders: x does not matter
    l->mouseUp(mouse(*l, stepX(9), 60.0f));
    auto events = l->takeEvents();
    EXPECT_EQ(valuesSent(events), (std::vector<int>{46, 54, 70}));
    EXPECT_TRUE(l->isGestureOpen(5)) << "open until 30 ms after the release";
    l->timerCallback();
    const auto more = l->takeEvents();
    events.insert(events.end(), more.begin(), more.end());
    EXPECT_TRUE(balanced(events));
    for (const auto& e : events)
        EXPECT_EQ(e.index, 133);
}

TEST_F(LaneTest, PenDrawsEveryStepCrossedAndEndsAllSixteen)
{
    auto l = lane(3);
    l->setEditMode(SeqClass::pen);
    l->mouseDown(mouse(*l, 5.0f, 100.0f));
    // A fast stroke: events land only on steps 0, 3, 9 and 15; the steps between are drawn too.
    const std::pair<int, int> stroke[] = {{0, 20}, {3, 50}, {9, 80}, {15, 20}};
    for (auto [k, v] : stroke)
        l->mouseDrag(mouse(*l, stepX(k), yFor(v)));
    l->mouseUp(mouse(*l, stepX(15), 20.0f));
    auto events = l->takeEvents();
    std::vector<int> stepsValued;
    for (const auto& e : events)
        if (e.kind == SeqClass::newValue)
            stepsValued.push_back(e.index - 128);
    EXPECT_EQ(stepsValued, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(l->pendingValue(6), 65) << "halfway between 50 at step 3 and 80 at step 9";
    l->timerCallback();
    const auto ends = l->takeEvents();
    EXPECT_EQ(ends.size(), 16u);
    events.insert(events.end(), ends.begin(), ends.end());
    EXPECT_TRUE(balanced(events));
}

TEST_F(LaneTest, APressBeforeTheGestureEndFiredEndsTheOldGestureFirst)
{
    auto l = lane(1);
    l->mouseDown(mouse(*l, stepX(2), 100.0f));
    l->mouseDrag(mouse(*l, stepX(2), 50.0f));
    l->mouseUp(mouse(*l, stepX(2), 50.0f));
    // Within 30 ms: a press in another step's toggle strip (which queues its start twice over).
    l->mouseDown(mouse(*l, stepX(7), 5.0f));
    l->mouseUp(mouse(*l, stepX(7), 5.0f));
    // And a wheel step on the step being held does not end its gesture.
    l->mouseDown(mouse(*l, stepX(8), 100.0f));
    l->mouseWheelMove(mouse(*l, stepX(8), 100.0f), wheel(1.0f));
    EXPECT_TRUE(l->isGestureOpen(8));
    l->mouseUp(mouse(*l, stepX(8), 100.0f));
    l->timerCallback();
    const auto events = l->takeEvents();
    EXPECT_TRUE(balanced(events));
    int starts = 0;
    for (const auto& e : events)
        starts += e.kind == SeqClass::gestureStart ? 1 : 0;
    EXPECT_EQ(starts, 3);
}

TEST_F(LaneTest, LabelsReadValuesOrNoteNames)
{
    const std::pair<int, const char*> names[] = {{49, "C+2"}, {0, "C0"},    {23, "B+0"},
                                                 {100, "D4"}, {101, "RST"}, {102, "OFF"}};
    for (auto [v, text] : names)
        EXPECT_EQ(SeqClass::stepText(v, true), text) << v;
    EXPECT_EQ(SeqClass::stepText(49, false), "49");
    EXPECT_EQ(SeqClass::stepText(101, false), "RST");

    auto l = lane(0);
    l->showStep(0, 100);
    l->showStep(1, 101);
    const auto image = render(*l);
    // A bar at 100 rises to its label under the strip; a step at reset has no bar, its RST lit.
    EXPECT_GT(countNear(image, {2, 18, 28, 11}, juce::Colour(0xff133254), 6), 80);
    EXPECT_EQ(countNear(image, {34, 18, 28, 11}, juce::Colour(0xff133254), 6), 0);
    EXPECT_GT(countNear(image, {33, 3, 30, 11}, juce::Colour(0xff00ffff), 80), 3);
    EXPECT_EQ(countNear(image, {1, 3, 30, 11}, juce::Colour(0xff00ffff), 80), 0);
}

// The page ------------------------------------------------------------------------------------------

namespace
{
struct PageTest : SkinTest, StateRig
{
    std::unique_ptr<MidiCntrState> state = std::make_unique<MidiCntrState>(options());
    HostLog host;
    std::unique_ptr<MainComp> main;

    void SetUp() override
    {
        state->setHostNotifier(&host);
        main = std::make_unique<MainComp>(state.get());
        main->closeAbout();
    }
    void TearDown() override
    {
        main.reset();
        state->setHostNotifier(nullptr);
    }

    SeqPanel& page() { return main->sequencerPage(); }

    /** Delivers the change messages between the page's parts, the page and the window. */
    void pump()
    {
        for (int round = 0; round < 4; ++round)
        {
            for (int k = 0; k < SeqPanel::numLanes; ++k)
            {
                page().editButton(k).dispatchPendingMessages();
                page().lane(k).dispatchPendingMessages();
            }
            page().okButton().dispatchPendingMessages();
            page().drawModeButton().dispatchPendingMessages();
            page().programButton().dispatchPendingMessages();
            page().dispatchPendingMessages();
            main->handleUpdateNowIfNeeded();
        }
    }
    void press(juce::Component& c)
    {
        c.mouseDown(mouse(c, 5, 5));
        c.mouseUp(mouse(c, 5, 5));
        pump();
    }
};
} // namespace

TEST_F(PageTest, SequencerAndProgramButtonsSwitchPagesWithTheEditorInset)
{
    main->setSize(1607, 858);
    auto* sequencerButton = main->editorPage().group(groups::seq).sequencerButton();
    ASSERT_NE(sequencerButton, nullptr);
    sequencerButton->mouseDown(mouse(*sequencerButton, 5, 5));
    sequencerButton->dispatchPendingMessages();
    EXPECT_EQ(main->currentPage(), 98);
    EXPECT_TRUE(page().isVisible());
    EXPECT_EQ(page().getBounds(), juce::Rectangle<int>(0, 28, 1607, 686 - 28));
    EXPECT_EQ(main->editorPage().getBounds(), juce::Rectangle<int>(680, 228, 890, 400));
    EXPECT_FLOAT_EQ(main->editorPage().getScale(), 890.0f / 1607.0f);
    EXPECT_TRUE(main->editorPage().isVisible());

    press(page().programButton());
    EXPECT_EQ(main->currentPage(), 97);
    EXPECT_FALSE(page().isVisible());
    EXPECT_EQ(main->editorPage().getBounds(), juce::Rectangle<int>(0, 28, 1607, 658));
}

TEST_F(PageTest, EditOverviewAndOkMoveBetweenTheViews)
{
    main->runCommand(98);
    press(page().editButton(2));
    EXPECT_TRUE(page().isLaneEditingOpen());
    EXPECT_EQ(page().selectedLane(), 2);
    EXPECT_FALSE(main->editorPage().isVisible());
    EXPECT_EQ(page().lane(2).getDisplayMode(), SeqClass::large);
    EXPECT_EQ(page().lane(2).getBounds(), juce::Rectangle<int>(88, 100, 976, 522));
    EXPECT_EQ(page().lane(0).getBounds(), juce::Rectangle<int>(220, 20, 136, 60));
    EXPECT_EQ(page().destination(2).getX(), 97);
    EXPECT_LT(page().destination(0).getX(), 0);
    EXPECT_FALSE(page().programButton().isVisible());
    EXPECT_TRUE(page().okButton().isVisible());

    press(page().lane(0)); // the overview of lane 0
    EXPECT_EQ(page().selectedLane(), 0);
    EXPECT_EQ(page().lane(0).getDisplayMode(), SeqClass::large);
    EXPECT_EQ(page().lane(2).getBounds(), juce::Rectangle<int>(220 + 2 * 143, 20, 136, 60));
    EXPECT_LT(page().destination(2).getX(), 0);
    EXPECT_TRUE(host.events.empty()) << "opening a view edits nothing";

    press(page().okButton());
    EXPECT_FALSE(page().isLaneEditingOpen());
    EXPECT_TRUE(main->editorPage().isVisible());
    EXPECT_EQ(main->editorPage().getX(), 680);
    for (int k = 0; k < 4; ++k)
    {
        EXPECT_EQ(page().lane(k).getDisplayMode(), SeqClass::normal);
        EXPECT_EQ(page().destination(k).getX(), 14);
    }
}

TEST_F(PageTest, DrawModeMenuSetsAllLanesAndQuantizeTwiceChangesNothing)
{
    std::vector<int> choices{2, 3, 3, 3, 1};
    size_t next = 0;
    std::vector<juce::PopupMenu> shown;
    menus::ScopedShower seam(
        [&](juce::PopupMenu&& menu, juce::Component*, menus::Result result)
        {
            shown.push_back(menu);
            result(choices[next++]);
        });
    main->runCommand(98);
    const auto lanes = [this](auto get)
    {
        std::vector<int> v;
        for (int k = 0; k < 4; ++k)
            v.push_back((int)get(page().lane(k)));
        return v;
    };
    press(page().drawModeButton());
    EXPECT_EQ(lanes([](SeqClass& l) { return l.getEditMode(); }), (std::vector<int>{1, 1, 1, 1}));
    press(page().drawModeButton());
    press(page().drawModeButton());
    EXPECT_EQ(lanes([](SeqClass& l) { return l.getQuantize(); }), (std::vector<int>{0, 0, 0, 0}));
    press(page().drawModeButton());
    EXPECT_EQ(lanes([](SeqClass& l) { return l.getQuantize(); }), (std::vector<int>{1, 1, 1, 1}));
    press(page().drawModeButton());
    EXPECT_EQ(lanes([](SeqClass& l) { return l.getEditMode(); }), (std::vector<int>{0, 0, 0, 0}));

    // The menu ticks what lane 0 has: after Pen and one Quantize, both are ticked.
    ASSERT_EQ(shown.size(), 5u);
    juce::PopupMenu::MenuItemIterator it(shown[4]);
    std::vector<std::pair<juce::String, bool>> items;
    while (it.next())
        if (!it.getItem().isSeparator)
            items.emplace_back(it.getItem().text, it.getItem().isTicked);
    EXPECT_EQ(items, (std::vector<std::pair<juce::String, bool>>{
                         {"Sliders", false}, {"Pen", true}, {"Quantize", true}}));
}

TEST_F(PageTest, DestinationsSwitchNoteNamesAndStepsShowFromTheController)
{
    for (auto [destination, names] :
         {std::pair{2, true}, std::pair{4, false}, std::pair{1, true}, std::pair{0, false}})
    {
        state->postChange(codes::paramChanged(57, destination));
        main->handleAsyncUpdate();
        EXPECT_EQ(page().lane(1).showsNoteNames(), names) << destination;
    }
    for (auto [p, v, laneIndex, step] :
         {std::tuple{130, 5, 0, 2}, std::tuple{176, 77, 3, 0}, std::tuple{191, 101, 3, 15}})
    {
        state->postChange(codes::paramChanged(p, v));
        main->handleAsyncUpdate();
        EXPECT_EQ(page().lane(laneIndex).displayedValue(step), v) << p;
    }
    state->postChange(codes::paramChanged(66, 200));
    main->handleAsyncUpdate();
    EXPECT_EQ(page().tempo().value, 200);
    EXPECT_TRUE(host.events.empty()) << "values shown are never sent";
}

TEST_F(PageTest, ClosingTheWindowMidGestureEndsItForTheHost)
{
    main->runCommand(98);
    auto& l = page().lane(1);
    l.mouseDown(mouse(l, 50, 100));
    l.mouseDrag(mouse(l, 50, 60));
    pump();
    EXPECT_TRUE(page().isGestureOpen(145));
    main.reset();
    EXPECT_TRUE(host.faults.empty());
    EXPECT_EQ(host.text(), "b145 v145=70 e145");
}

// A pen drag across lane 3 against the simulator -----------------------------------------------------

namespace
{
struct GestureListener : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float) override
    {
        events.emplace_back('v', index);
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        events.emplace_back('b', index);
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        events.emplace_back('e', index);
    }
    std::vector<std::pair<char, int>> events;
};
} // namespace

TEST_F(SkinTest, PenDragAcrossLaneFourReachesTheSimulatorAndTheHostInGestures)
{
    TempFolder temp;
    auto devices = std::make_shared<SystemMidiDevices>(false);
    ZentakAudioProcessor processor(MidiCntrStateOptions{temp.folder, {}, devices, false});
    auto& state = processor.state();
    state.selectInputPort(1);
    state.selectOutputPort(1);
    GestureListener host;
    processor.addListener(&host);
    {
        MainComp main(&state);
        main.runCommand(98);
        auto& page = main.sequencerPage();
        page.drawModeChosen(2); // Pen
        auto& l = page.lane(3);
        state.ports().waitUntilSent();
        devices->simulator().waitUntilIdle();
        const size_t before = devices->simulator().receivedCount();

        l.mouseDown(mouse(l, 3, 100));
        for (int x = 4; x < 520; x += 6)
            l.mouseDrag(mouse(l, (float)x, 30.0f + (float)(x % 100)));
        l.mouseUp(mouse(l, 519, 60));
        l.dispatchPendingMessages();
        l.timerCallback();
        l.dispatchPendingMessages();

        state.ports().waitUntilSent();
        devices->simulator().waitUntilIdle();
        const auto log = devices->simulator().received();
        std::map<int, int> lastSent;
        for (size_t i = before; i < log.size(); ++i)
        {
            const auto& m = log[i];
            ASSERT_GE(m.size(), 9u);
            ASSERT_EQ(m[4], 0x08) << "step changes only";
            lastSent[m[5]] = m[6] | (m[7] << 4);
        }
        ASSERT_EQ(lastSent.size(), 16u);
        EXPECT_EQ(lastSent.begin()->first, 48);
        EXPECT_EQ(lastSent.rbegin()->first, 63);
        for (auto [step, v] : lastSent)
            EXPECT_EQ(state.editByte(128 + step), v) << step;
    }
    processor.removeListener(&host);

    // Each of 176 ... 191: one begin, its values, one end.
    for (int p = 176; p <= 191; ++p)
    {
        const std::pair<char, int> b{'b', p}, e{'e', p};
        std::vector<std::pair<char, int>> mine;
        for (const auto& x : host.events)
            if (x.second == p)
                mine.push_back(x);
        ASSERT_GE(mine.size(), 3u) << p;
        EXPECT_EQ(mine.front(), b) << p;
        EXPECT_EQ(mine.back(), e) << p;
        EXPECT_EQ(std::count(mine.begin(), mine.end(), b), 1) << p;
        EXPECT_EQ(std::count(mine.begin(), mine.end(), e), 1) << p;
    }
}
