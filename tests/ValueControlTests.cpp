// StsCont: knob frames, shown values, the mouse rules of every kind, the gesture-end timer, wheel
// steps and what each kind paints at display scales 1.0 and 0.6.
#include "WidgetTestSupport.h"

#include "ui/widgets/StsCont.h"

using namespace zentak;
using namespace zentak::test;

namespace
{
struct Report
{
    int kind, requested, value;
};

struct ControlTest : SkinTest
{
    StsCont c;
    ChangeLog<Report> log{c, [this] { return Report{c.changeKind, c.requestedValue, c.value}; }};

    void make(int kind, int lo, int hi, float w, float h, int box = 77, int shown = 0)
    {
        c.setup(7, "Cutoff", lo, hi, kind, box);
        c.setDesignBounds(10, 20, w, h);
        c.forgetValue();
        c.showValue(shown, juce::String(shown));
    }

    std::vector<int> kinds()
    {
        std::vector<int> v;
        for (const auto& r : log.flush())
            v.push_back(r.kind);
        return v;
    }

    void press(float x, float y, juce::ModifierKeys m = leftButton) { c.mouseDown(mouse(c, x, y, m)); }
    void drag(float x, float y) { c.mouseDrag(mouse(c, x, y)); }
    void release(float x, float y, juce::ModifierKeys m = leftButton) { c.mouseUp(mouse(c, x, y, m)); }
};
} // namespace

TEST_F(ControlTest, KnobFrameFollowsTheValueAcrossTheRange)
{
    struct Case
    {
        int lo, hi, v, frame;
    };
    for (const auto& k : {Case{0, 127, 0, 0}, Case{0, 127, 127, 54}, Case{0, 100, 50, 27}, Case{0, 12, 6, 27},
                          Case{30, 250, 250, 54}, Case{30, 250, 30, 0}, Case{0, 127, 300, 54},
                          Case{10, 20, 5, 0}, Case{-12, 12, 0, 27}, Case{0, 0, 0, 0}, Case{5, 5, 9, 0}})
    {
        make(StsCont::knob, k.lo, k.hi, 51, 58);
        c.forgetValue();
        c.showValue(k.v, "x");
        EXPECT_EQ(c.getKnobFrame(), k.frame) << k.lo << ".." << k.hi << " at " << k.v;
        EXPECT_EQ(c.value, juce::jlimit(k.lo, k.hi, k.v));
    }
}

TEST_F(ControlTest, ShownValueIgnoresRepeatsUntilForgotten)
{
    make(StsCont::knob, 0, 127, 51, 58, 77, 40);
    c.showValue(40, "changed");
    EXPECT_EQ(c.getValueText(), "40");
    c.forgetValue();
    c.showValue(40, "changed");
    EXPECT_EQ(c.getValueText(), "changed");

    c.immediateRepaint = false;
    c.showValue(41, "41");
    EXPECT_TRUE(c.repaintPending);
    EXPECT_TRUE(log.flush().empty()); // showing a value never reports
}

TEST_F(ControlTest, DraggingFollowsTheStepsOfEachKind)
{
    struct Case
    {
        int kind, hi, dx, dy, expected;
    };
    // Start value 6; knobs with a maximum below 15 move one step per 15 pixels.
    for (const auto& k :
         {Case{StsCont::knob, 12, 14, 0, 6}, Case{StsCont::knob, 12, 15, 0, 7},
          Case{StsCont::knob, 15, 1, 0, 7}, Case{StsCont::knob, 127, 10, 10, 6},
          Case{StsCont::knob, 127, 10, -10, 26}, Case{StsCont::knob, 127, -20, 0, 0},
          Case{StsCont::knob, 12, 0, -200, 12}, Case{StsCont::waveSelector, 127, 3, 0, 7},
          Case{StsCont::narrowSelector, 127, 0, -4, 8}, Case{StsCont::narrowSelector, 127, 1, 1, 6}})
    {
        make(k.kind, 0, k.hi, 62, 56, 77, 6);
        log.clear();
        press(20, 30);
        drag(20.0f + (float)k.dx, 30.0f + (float)k.dy);
        const auto& reports = log.flush();
        SCOPED_TRACE("kind " + juce::String(k.kind) + " max " + juce::String(k.hi) + " drag " +
                     juce::String(k.dx) + "," + juce::String(k.dy));
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports.back().kind, k.expected == 6 ? StsCont::gestureStart : StsCont::dragValue);
        EXPECT_EQ(c.requestedValue, k.expected);
        EXPECT_EQ(c.value, 6); // the owner decides what is shown
    }
}

TEST_F(ControlTest, GestureStartsOnPressAndEndsAHundredMillisecondsAfterRelease)
{
    make(StsCont::knob, 0, 127, 51, 58, 77, 50);
    press(25, 25);
    EXPECT_EQ(kinds(), (std::vector<int>{StsCont::gestureStart}));
    EXPECT_TRUE(c.isDragging());
    release(25, 25);
    EXPECT_FALSE(c.isDragging());
    EXPECT_TRUE(c.isTimerRunning());
    EXPECT_EQ(c.getTimerInterval(), 100);
    c.timerCallback();
    EXPECT_FALSE(c.isTimerRunning());
    EXPECT_EQ(kinds().back(), StsCont::gestureEnd);
}

TEST_F(ControlTest, RightButtonReportsAndNeverDrags)
{
    make(StsCont::knob, 0, 127, 51, 58, 77, 50);
    press(25, 25, rightButton);
    EXPECT_EQ(kinds(), (std::vector<int>{StsCont::rightButton}));
    EXPECT_FALSE(c.isDragging());
    drag(60, 0);
    release(60, 0, rightButton);
    EXPECT_FALSE(c.isTimerRunning());
    EXPECT_EQ(kinds().size(), 1u);
}

TEST_F(ControlTest, SelectorAsksForTheMenuOnlyForPressAndReleaseOnItsBox)
{
    struct Case
    {
        float scale, pressY, releaseY;
        bool menu;
    };
    for (const auto& k : {Case{1.0f, 5, 10, true}, Case{1.0f, 20, 20, false}, Case{1.0f, 5, 25, false},
                          Case{0.6f, 10, 10, true}, Case{0.6f, 11, 5, false}, Case{0.6f, 5, 11, false}})
    {
        for (int kind : {(int)StsCont::selector, (int)StsCont::compactSelector})
        {
            make(kind, 0, 10, 100, 34, 40);
            c.setDisplayScale(k.scale);
            log.clear();
            press(20, k.pressY);
            release(20, k.releaseY);
            const auto v = kinds();
            SCOPED_TRACE("kind " + juce::String(kind) + " at " + juce::String(k.scale) + ", " +
                         juce::String(k.pressY) + " to " + juce::String(k.releaseY));
            EXPECT_EQ(!v.empty() && v.back() == StsCont::valueMenuWanted, k.menu);
            // Only the compact selector ends a gesture after the release, even though none began.
            EXPECT_EQ(c.isTimerRunning(), kind == StsCont::compactSelector);
            c.stopTimer();
        }
    }
}

TEST_F(ControlTest, LedSwitchesToggleOnlyOnTheirLed)
{
    struct Case
    {
        int kind;
        float scale, x;
        bool toggles;
    };
    // Centred switch 60 wide: the LED spans (20, 40) times the scale, both ends excluded.
    for (const auto& k :
         {Case{StsCont::ledSwitch, 1.0f, 24, true}, Case{StsCont::ledSwitch, 1.0f, 25, false},
          Case{StsCont::ledSwitch, 0.6f, 14, true}, Case{StsCont::ledSwitch, 0.6f, 16, false},
          Case{StsCont::centredLedSwitch, 1.0f, 21, true}, Case{StsCont::centredLedSwitch, 1.0f, 20, false},
          Case{StsCont::centredLedSwitch, 1.0f, 40, false}, Case{StsCont::centredLedSwitch, 0.6f, 13, true},
          Case{StsCont::centredLedSwitch, 0.6f, 25, false}})
    {
        for (int shown : {0, 1})
        {
            make(k.kind, 0, 1, 60, 40, 77, shown);
            c.setDisplayScale(k.scale);
            log.clear();
            press(k.x, 5);
            const auto& reports = log.flush();
            SCOPED_TRACE("kind " + juce::String(k.kind) + " x " + juce::String(k.x) + " at " +
                         juce::String(k.scale));
            ASSERT_EQ(reports.size(), k.toggles ? 1u : 0u);
            if (k.toggles)
            {
                EXPECT_EQ(reports[0].kind, StsCont::toggled);
                EXPECT_EQ(reports[0].requested, shown == 0 ? 1 : 0);
            }
        }
    }
}

TEST_F(ControlTest, WheelStepsAskForOneStepFromTheShownValue)
{
    make(StsCont::ledSwitch, 0, 1, 120, 18, 77, 0);
    c.mouseWheelMove(mouse(c, 5, 5), wheel(0.5f));
    ASSERT_EQ(log.flush().size(), 1u);
    EXPECT_EQ(log.entries[0].kind, StsCont::wheelStep);
    EXPECT_EQ(log.entries[0].requested, 1);

    log.clear();
    c.showValue(1, "On");
    c.mouseWheelMove(mouse(c, 5, 5), wheel(0.5f)); // already at the top
    c.mouseWheelMove(mouse(c, 5, 5), wheel(0.0f));
    EXPECT_TRUE(log.flush().empty());

    // Several steps before the owner shows a value do not add up, and give one callback.
    make(StsCont::knob, 0, 127, 51, 58, 77, 60);
    log.clear();
    for (int i = 0; i < 3; ++i)
        c.mouseWheelMove(mouse(c, 5, 5), wheel(1.0f));
    ASSERT_EQ(log.flush().size(), 1u);
    EXPECT_EQ(log.entries[0].requested, 61);
    c.mouseWheelMove(mouse(c, 5, 5), wheel(-1.0f));
    EXPECT_EQ(c.requestedValue, 59);
}

TEST_F(ControlTest, RequestedValuesStayInRange)
{
    make(StsCont::knob, 10, 20, 51, 58, 77, 15);
    c.requestValue(99);
    EXPECT_EQ(c.requestedValue, 20);
    c.requestValue(-5);
    EXPECT_EQ(c.requestedValue, 10);
    c.requestValue(15); // the shown value: nothing to report
    EXPECT_EQ(kinds(), (std::vector<int>{StsCont::dragValue}));
}

TEST_F(ControlTest, PlacementScalesTheDesignBounds)
{
    make(StsCont::knob, 0, 127, 51, 58);
    EXPECT_EQ(c.getBounds(), juce::Rectangle<int>(10, 20, 51, 58));
    c.setDisplayScale(0.6f);
    EXPECT_EQ(c.getBounds(), juce::Rectangle<int>(6, 12, 30, 34));
    c.setDesignPosition(100, 50);
    EXPECT_EQ(c.getBounds(), juce::Rectangle<int>(60, 30, 30, 34));
}

TEST_F(ControlTest, KnobPaintsItsFrameValueAndLabelAtBothScales)
{
    for (float s : {1.0f, 0.6f})
    {
        make(StsCont::knob, 0, 127, 51, 58, 77, 127);
        c.fillsBackground = true;
        c.fillColour = 0xff1f3b74;
        c.setDisplayScale(s);
        const auto image = render(c);
        SCOPED_TRACE(s);
        // The film frame covers (w/2 - 15)·s .. +50·s; nothing of it left of that.
        const int left = (int)(10 * s), size = (int)(50 * s);
        EXPECT_EQ(image.getPixelAt(left - 1, (int)(18 * s)), juce::Colour(0xff1f3b74));
        EXPECT_GT(countNear(image, {left, 0, size, size}, juce::Colour(0xfff4bb62), 40), 10); // the lit arc
        // Value text in 0xFFEEEEEE around y 41·s, label in 0xFFDADADA around y 53·s.
        EXPECT_GT(countInk(image, {0, (int)(36 * s), image.getWidth(), (int)(9 * s)}, 0.3f, 0.3f), 4);
        EXPECT_GT(countInk(image, {0, (int)(48 * s), image.getWidth(), (int)(10 * s)}, 0.3f, 0.3f), 4);
        EXPECT_EQ(countInk(image, {0, (int)(60 * s), image.getWidth(), 3}, 0.3f, 0.3f), 0);
    }
}

TEST_F(ControlTest, ValueBoxesPaintTheirGeometryAndTextColours)
{
    struct Case
    {
        int kind;
        int box;
        juce::uint32 textColour;
    };
    for (float s : {1.0f, 0.6f})
        for (const auto& k :
             {Case{StsCont::selector, 77, 0xffb6fffd}, Case{StsCont::compactSelector, 40, 0xffb6fffd},
              Case{StsCont::narrowSelector, 60, 0xffe1ab5a}})
        {
            make(k.kind, 0, 10, 100, 34, k.box, 3);
            c.forgetValue();
            c.showValue(3, "WWW");
            c.fillsBackground = true;
            c.fillColour = 0xff1f3b74;
            c.setDisplayScale(s);
            const auto image = render(c);
            const int box = k.kind == StsCont::selector ? 100 : k.box;
            const int boxW = (int)((float)box * s), boxH = (int)(16 * s);
            SCOPED_TRACE("kind " + juce::String(k.kind) + " at " + juce::String(s));
            EXPECT_LT(image.getPixelAt(2, boxH / 2).getBrightness(), 0.2f);     // the dark bar
            EXPECT_EQ(image.getPixelAt(2, boxH + 1), juce::Colour(0xff1f3b74)); // below the box
            if (k.kind != StsCont::selector)
            {
                EXPECT_EQ(image.getPixelAt(boxW + 1, 2), juce::Colour(0xff1f3b74)) << "right of the box";
            }
            EXPECT_GT(countNear(image, {0, 0, boxW, boxH}, juce::Colour(k.textColour), s < 1.0f ? 70 : 40),
                      3);
            EXPECT_EQ(countNear(image, {0, boxH, image.getWidth(), image.getHeight() - boxH},
                                juce::Colour(k.textColour), 12),
                      0);
        }
}

TEST_F(ControlTest, LedSwitchPaintsItsStateAndTheBackgroundSnapshot)
{
    juce::Image patch(juce::Image::RGB, 200, 100, true);
    patch.setPixelAt(119, 17, juce::Colours::magenta);
    for (const auto& [shown, red] : {std::pair{0, false}, std::pair{1, true}, std::pair{2, false}})
    {
        make(StsCont::ledSwitch, 0, 2, 120, 18, 77, shown);
        c.setBackgroundImage(patch);
        const auto image = render(c);
        const auto centre = image.getPixelAt(18, 10);
        EXPECT_EQ(centre.getRed() > 2 * centre.getBlue() + 40, red) << shown;
        if (shown == 2)
        {
            EXPECT_EQ(centre, juce::Colours::black) << "no LED for other values";
        }
        EXPECT_EQ(image.getPixelAt(119, 17), juce::Colours::magenta); // the copied patch region
        EXPECT_TRUE(c.isOpaque());
    }
}

TEST_F(ControlTest, WaveSelectorDrawsTheShapeUnderItsBox)
{
    WaveBank waves; // all shapes silent: the line runs at y = 32768 · 0.000275 + 4 = 13
    for (float s : {1.0f, 0.6f})
    {
        make(StsCont::waveSelector, 0, 127, 62, 56, 77, 5);
        c.waveSource = &waves;
        c.setDisplayScale(s);
        const auto image = render(c);
        const auto line = juce::Colour(0xffd5b639);
        const int y = (int)(24 * s) + (int)(13 * s);
        EXPECT_GT(countNear(image, {(int)(10 * s), y - 1, (int)(40 * s), 3}, line, 60), 5) << s;
        EXPECT_EQ(countNear(image, {0, (int)(24 * s) + 1, image.getWidth(), (int)(7 * s)}, line, 30), 0) << s;
    }
}
