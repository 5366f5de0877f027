// The displays: LCD_Comp, Envel, VelIndClass, WheelCnt, ProgBar, RenameCnt and the about panel.
#include "WidgetTestSupport.h"

#include "ui/widgets/AboutPanel.h"
#include "ui/widgets/Envel.h"
#include "ui/widgets/LCD_Comp.h"
#include "ui/widgets/ProgBar.h"
#include "ui/widgets/RenameCnt.h"
#include "ui/widgets/VelIndClass.h"
#include "ui/widgets/WheelCnt.h"

using namespace zentak;
using namespace zentak::test;

namespace
{
struct StateTest : SkinTest, StateRig
{
    std::unique_ptr<MidiCntrState> state;

    void SetUp() override
    {
        state = std::make_unique<MidiCntrState>(options());
        state->ports().openOutputPort(1);
        state->instrumentChannel = 3;
    }

    std::vector<std::vector<juce::uint8>> sent()
    {
        state->ports().waitUntilSent();
        auto m = devices->messages();
        devices->sent.clear();
        return m;
    }

    std::vector<juce::MidiMessage> hostQueue()
    {
        juce::MidiBuffer out;
        state->drainHostQueue(out, 100000);
        std::vector<juce::MidiMessage> v;
        for (const auto meta : out)
            v.push_back(meta.getMessage());
        return v;
    }
};
} // namespace

TEST_F(SkinTest, LcdShowsSlotsWithThreeDigitsAndReportsItsAreas)
{
    LCD_Comp lcd;
    EXPECT_EQ(lcd.getBounds().getWidth(), 182);
    for (auto [slot, text] : {std::pair{98, "A:099"}, std::pair{99, "A:100"}, std::pair{100, "A:101"}})
    {
        lcd.show(0, slot, 4, "Big Sawz", "Leads");
        EXPECT_EQ(lcd.getSlotText(), text);
    }
    lcd.showSlot(3, 0);
    EXPECT_EQ(lcd.getSlotText(), "D:001");
    EXPECT_EQ(lcd.getNameText(), "Big Sawz");

    struct Case
    {
        float scale, x, y;
        int area;
    };
    ChangeLog<int> log(lcd, [&lcd] { return lcd.clickArea; });
    for (const auto& k : {Case{1.0f, 100, 30, 2}, Case{1.0f, 67, 10, 1}, Case{1.0f, 68, 10, 0},
                          Case{0.6f, 20, 14, 2}, Case{0.6f, 40, 13, 1}, Case{0.6f, 41, 5, 0}})
    {
        lcd.setScale(k.scale);
        log.clear();
        lcd.mouseDown(mouse(lcd, k.x, k.y));
        const auto& v = log.flush();
        EXPECT_EQ(v.empty() ? 0 : v.back(), k.area) << k.scale << " " << k.x << "," << k.y;
    }

    for (float s : {1.0f, 0.6f})
    {
        lcd.setScale(s);
        lcd.setSize((int)(182 * s), (int)(45 * s));
        const auto image = render(lcd);
        // Dark navy text on the light panel: the slot text up top, the bold name below it.
        EXPECT_GT(countInk(image, {(int)(15 * s), (int)(7 * s), (int)(50 * s), (int)(14 * s)}, 0.95f, -0.2f),
                  5)
            << s;
        EXPECT_GT(
            countInk(image, {(int)(15 * s), (int)(23 * s), (int)(100 * s), (int)(18 * s)}, 0.95f, -0.2f), 20)
            << s;
    }
}

TEST_F(SkinTest, EnvelopeShapeFollowsTheValuesAndTheScale)
{
    Envel env;
    env.attack = 20;
    env.decay = 40;
    env.sustain = 50;
    env.release = 10;
    env.setDesignBounds(18, 85, 218, 65);
    env.setDisplayScale(0.6f);
    EXPECT_EQ(env.getBounds(), juce::Rectangle<int>(10, 51, 130, 39));
    const float t = 0.5045454f;
    EXPECT_FLOAT_EQ(env.pointX(1), 12 + t * 20);
    EXPECT_FLOAT_EQ(env.pointX(3), 12 + t * (20 + 40 + 56));
    EXPECT_FLOAT_EQ(env.pointY(2), 59 - 0.44f * 50);
    EXPECT_FLOAT_EQ(env.getOutline().getBounds().getRight(), 0.6f * env.pointX(4));

    for (float s : {1.0f, 0.6f})
    {
        env.setDisplayScale(s);
        const auto image = render(env);
        // Inside the shape near its foot, below the glass: the fill colour; the screen elsewhere.
        const int x = (int)((12 + t * 20) * s), y = (int)(56 * s);
        EXPECT_TRUE(near(image.getPixelAt(x, y), juce::Colour(0xff5f4405), 3)) << s;
        EXPECT_LT(image.getPixelAt((int)(200 * s), y).getBrightness(), 0.3f) << s;
        EXPECT_GT(countNear(image, image.getBounds(), juce::Colour(0xffc9910e), 40), 20) << s;
    }
}

TEST_F(SkinTest, EnvelopeDragsMoveTheirHandles)
{
    struct Report
    {
        int kind;
        float attack, decay, sustain, release;
    };
    Envel env;
    env.attack = 20;
    env.decay = 20;
    env.sustain = 50;
    env.release = 20;
    env.valuesChanged();
    ChangeLog<Report> log(env,
                          [&env] {
                              return Report{env.changeKind, env.attack, env.decay, env.sustain, env.release};
                          });

    const float ax = env.pointX(1), ay = env.pointY(1);
    env.mouseDown(mouse(env, ax, ay));
    EXPECT_EQ(env.getHandle(), Envel::attackPeak);
    EXPECT_EQ(log.flush().back().kind, 67);
    // Whole-pixel drags divided by 1.5 never end in a half: 1, 2 and 3 pixels give 1, 1 and 2.
    for (auto [dx, expected] :
         {std::pair{1, 21.0f}, std::pair{2, 21.0f}, std::pair{3, 22.0f}, std::pair{300, 110.0f}})
    {
        env.mouseDrag(mouse(env, ax + (float)dx, ay));
        EXPECT_EQ(env.attack, expected) << dx;
    }
    EXPECT_EQ(log.flush().back().kind, 1);
    env.mouseUp(mouse(env, ax + 300, ay));
    EXPECT_TRUE(env.isTimerRunning());
    env.timerCallback();
    EXPECT_EQ(log.flush().back().kind, 66);

    // The sustain segment moves decay across and sustain up, within their maxima.
    env.attack = 20;
    env.valuesChanged();
    const float sx = (env.pointX(2) + env.pointX(3)) / 2, sy = env.pointY(2);
    env.mouseDown(mouse(env, sx, sy));
    EXPECT_EQ(env.getHandle(), Envel::sustainSegment);
    env.mouseDrag(mouse(env, sx - 6, sy - 15));
    EXPECT_EQ(env.decay, 16.0f);
    EXPECT_EQ(env.sustain, 60.0f);
    env.mouseDrag(mouse(env, sx - 100, sy - 200));
    EXPECT_EQ(env.decay, 0.0f);
    EXPECT_EQ(env.sustain, 100.0f);
    env.mouseUp(mouse(env, 0, 0));
    env.stopTimer();

    // Right button: reported, no drag; a press away from every handle: nothing.
    log.clear();
    env.mouseDown(mouse(env, env.pointX(4), env.pointY(4), rightButton));
    EXPECT_EQ(log.flush().back().kind, 100);
    EXPECT_FALSE(env.isDragging());
    log.clear();
    env.mouseDown(mouse(env, 200, 5));
    EXPECT_TRUE(log.flush().empty());
}

TEST_F(SkinTest, EnvelopeReleaseHandleIsCaughtWithinSevenScaledPixels)
{
    Envel env;
    env.setDisplayScale(1.2f);
    const float px = env.pointX(4) * 1.2f;
    // The release end sits at y 59: caught strictly between (59 - 7) · 1.2 and (59 + 7) · 1.2.
    for (auto [py, caught] :
         {std::pair{62.0f, false}, std::pair{62.5f, true}, std::pair{79.0f, true}, std::pair{79.3f, false}})
        EXPECT_EQ(env.handleAt(px, py) == Envel::releaseEnd, caught) << py;
    EXPECT_EQ(env.handleAt(env.pointX(1) * 1.2f, env.pointY(1) * 1.2f), Envel::attackPeak);
    EXPECT_EQ(env.handleAt(5, 5), Envel::none);
}

TEST_F(StateTest, VelocityBarWritesTheKeyboardVelocity)
{
    VelIndClass bar(state.get());
    bar.setVelocity(100);
    EXPECT_EQ(state->keyboardVelocity, 100);
    bar.setVelocity(300);
    EXPECT_EQ(bar.getVelocity(), 127);
    bar.mouseDown(mouse(bar, 10, 50));
    bar.mouseDrag(mouse(bar, 10, 27));
    EXPECT_EQ(state->keyboardVelocity, 100);
    bar.mouseDrag(mouse(bar, 10, 200));
    EXPECT_EQ(state->keyboardVelocity, 0);
    bar.mouseDown(mouse(bar, 45, 50)); // outside the bar: drags are ignored
    bar.mouseDrag(mouse(bar, 45, 10));
    EXPECT_EQ(state->keyboardVelocity, 0);

    for (float s : {1.0f, 0.6f})
    {
        bar.setVelocity(64);
        bar.setDisplayScale(s);
        EXPECT_EQ(bar.getBounds(),
                  juce::Rectangle<int>((int)(35 * s), (int)(38 * s), (int)(70 * s), (int)(120 * s)));
        const auto image = render(bar);
        EXPECT_GT(countInk(image, {(int)(26 * s), (int)(16 * s), (int)(27 * s), (int)(13 * s)}, 0.1f, 0.3f),
                  2)
            << s;
        EXPECT_GT(countInk(image, {0, 0, (int)(80 * s), (int)(13 * s)}, 0.0f, 0.5f), 5) << s;
        // The dark part covers the top (127 - 64) / 127 of the bar.
        EXPECT_TRUE(near(image.getPixelAt((int)(7 * s), (int)(30 * s)), juce::Colour(0xff101010), 4)) << s;
    }
}

TEST_F(StateTest, PitchWheelSpringsBackToItsCentre)
{
    WheelCnt pitch(state.get(), 64, true);
    EXPECT_EQ(pitch.getFrame(), 17);
    pitch.mouseDown(mouse(pitch, 10, 60));
    pitch.mouseDrag(mouse(pitch, 10, 20)); // 40 up
    EXPECT_EQ(pitch.getValue(), 104);
    pitch.mouseUp(mouse(pitch, 10, 20));
    EXPECT_EQ(pitch.getValue(), 64);

    const auto messages = sent();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], bytes({0xe2, (104 * 128) & 0x7f, (104 * 128) >> 7}));
    EXPECT_EQ(messages[1], bytes({0xe2, 0x00, 0x40})) << "8192: the centre";
    EXPECT_TRUE(hostQueue().empty()) << "the wheels play the instrument only";

    pitch.setValue(20, false); // shown from the host: nothing is sent
    EXPECT_TRUE(sent().empty());
}

TEST_F(StateTest, ModulationWheelSendsControllerOneAndStays)
{
    WheelCnt wheelControl(state.get(), 0, false);
    wheelControl.mouseWheelMove(mouse(wheelControl, 5, 5), wheel(1.0f));
    wheelControl.mouseDown(mouse(wheelControl, 5, 100));
    wheelControl.mouseDrag(mouse(wheelControl, 5, 0));
    wheelControl.mouseUp(mouse(wheelControl, 5, 0));
    EXPECT_EQ(wheelControl.getValue(), 101);
    EXPECT_EQ(sent(), (std::vector<std::vector<juce::uint8>>{bytes({0xb2, 1, 1}), bytes({0xb2, 1, 101})}));
    EXPECT_TRUE(hostQueue().empty()) << "the wheels play the instrument only";

    wheelControl.setValue(127, false);
    wheelControl.mouseWheelMove(mouse(wheelControl, 5, 5), wheel(1.0f));
    EXPECT_EQ(wheelControl.getValue(), 127);
    EXPECT_TRUE(sent().empty()) << "a wheel at 127 stepped up sends nothing";
    EXPECT_EQ(wheelControl.getFrame(), 34);
}

TEST_F(StateTest, WheelPaintsItsFrameAtTheScale)
{
    WheelCnt wheelControl(state.get(), 127, false);
    for (float s : {1.0f, 0.6f})
    {
        wheelControl.setDesignBounds(10, 20, 31, 112);
        wheelControl.setDisplayScale(s);
        const auto image = render(wheelControl);
        // Frame 34 is the film's last, 30 pixels wide: it covers 30·s of the 31·s.
        const int covered = (int)(30 * s * (float)(int)(31 * s) / (31 * s));
        EXPECT_EQ(image.getPixelAt(covered - 1, 50).getAlpha(), 255) << s;
        EXPECT_LT(image.getPixelAt(covered, 50).getAlpha(), 255) << s;
    }
    EXPECT_EQ(wheelControl.getBounds(), juce::Rectangle<int>(6, 12, 18, 67));
}

TEST_F(SkinTest, ProgressBoxIsCentredAndFillsThreePixelsPerStep)
{
    ProgBar box(1000, 600);
    EXPECT_EQ(box.getBounds(), juce::Rectangle<int>(0, 0, 1000, 600));
    EXPECT_EQ(box.track().getBounds(), juce::Rectangle<int>(300, 280, 384, 24));
    EXPECT_EQ(box.label().getBounds(), juce::Rectangle<int>(300, 320, 88, 24));
    EXPECT_EQ(box.label().getText(), "-");
    EXPECT_EQ(box.cancelButton().getBounds(), juce::Rectangle<int>(619, 320, 60, 24));
    EXPECT_EQ(box.cancelButton().getCommandId(), 999);
    EXPECT_EQ(box.cancelButton().getStyle(), StsBut::textDark);
    box.showProgress(127);
    EXPECT_EQ(box.fill().getBounds(), juce::Rectangle<int>(300, 280, 381, 24));
    box.showProgress(500);
    EXPECT_EQ(box.value, 127);

    const auto image = render(box);
    EXPECT_EQ(image.getPixelAt(5, 5), juce::Colour(0x55000000)); // the window behind is dimmed
    EXPECT_GT(image.getPixelAt(400, 292).getBlue(), 150);        // the cyan fill
}

TEST_F(SkinTest, RenameDialogHoldsSixteenCharacters)
{
    RenameCnt dialog(40, 50, "Big Sawz");
    EXPECT_EQ(dialog.getBounds(), juce::Rectangle<int>(40, 50, 180, 43));
    EXPECT_EQ(dialog.name(), "Big Sawz");
    EXPECT_EQ(dialog.cancelButton().getBounds(), juce::Rectangle<int>(0, 26, 50, 18));
    EXPECT_EQ(dialog.okButton().getBounds(), juce::Rectangle<int>(130, 26, 50, 18));
    EXPECT_EQ(dialog.okButton().getCommandId(), 1111);
    EXPECT_EQ(dialog.cancelButton().getCommandId(), 1113);
    dialog.nameField().setText("");
    dialog.nameField().insertTextAtCaret("Twenty characters!!!");
    EXPECT_EQ(dialog.name(), "Twenty character");
    EXPECT_EQ(render(dialog).getPixelAt(90, 40), juce::Colour(0xff221414));
}

TEST_F(SkinTest, AboutPanelClosesOnClickOrTimeout)
{
    AboutPanel untimed("2.0.2", 0);
    EXPECT_FALSE(untimed.isTimed());
    EXPECT_FALSE(untimed.isTimerRunning());
    ChangeLog<int> clicks(untimed, [] { return 1; });
    untimed.mouseDown(mouse(untimed, 1, 1));
    EXPECT_EQ(clicks.flush().size(), 1u);

    AboutPanel splash("2.0.2", 2000);
    EXPECT_TRUE(splash.isTimed());
    EXPECT_EQ(splash.getTimerInterval(), 2000);
    ChangeLog<bool> log(splash, [&splash] { return splash.isTimed(); });
    splash.timerCallback();
    EXPECT_EQ(log.flush(), (std::vector<bool>{false}));
    EXPECT_FALSE(splash.isTimerRunning());

    splash.setSize(1000, 600);
    const auto image = render(splash);
    EXPECT_EQ(image.getPixelAt(10, 10), juce::Colour(0x55000000));
    EXPECT_EQ(image.getPixelAt(305, 105).getAlpha(), 255);                              // the picture
    EXPECT_GT(countNear(image, {336, 220, 200, 30}, juce::Colour(0xff95b3f3), 40), 20); // "Version: 2.0.2"
}
