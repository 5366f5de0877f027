// StsBut (image, bevelled and text styles; listeners; colliding command ids) and SwitchLED.
#include "WidgetTestSupport.h"

#include "ui/widgets/StsBut.h"
#include "ui/widgets/SwitchLED.h"

using namespace zentak;
using namespace zentak::test;

namespace
{
struct Recorder : stsbutChangeListener
{
    Recorder(std::vector<juce::String>& l, juce::String n) : log(l), name(std::move(n)) {}
    void stsbutChanged(StsBut& b) override { log.push_back(name + ":" + b.getText()); }
    std::vector<juce::String>& log;
    juce::String name;
};

using ButtonTest = SkinTest;
} // namespace

TEST_F(ButtonTest, ImageButtonsReportAtThePressAndTrackHover)
{
    for (int style : {(int)StsBut::largeImage, (int)StsBut::smallImage})
    {
        StsBut b("Recv", 12, style);
        b.setup(0, 0, 80, style == StsBut::largeImage ? 18 : 14, true);
        ChangeLog<int> log(b, [&b] { return b.getCommandId(); });
        std::vector<int> states;
        b.mouseEnter(mouse(b, 5, 5));
        states.push_back(b.getVisualState());
        b.mouseDown(mouse(b, 5, 5));
        states.push_back(b.getVisualState());
        EXPECT_EQ(log.flush(), (std::vector<int>{12})) << "reported before the release";
        b.mouseExit(mouse(b, 90, 5));
        states.push_back(b.getVisualState());
        b.mouseUp(mouse(b, 90, 5));
        states.push_back(b.getVisualState());
        EXPECT_EQ(states, (std::vector<int>{1, 2, 0, 1})) << style;
        EXPECT_EQ(log.flush().size(), 1u) << "moving off before the release leaves the report made";
    }
}

TEST_F(ButtonTest, SmallButtonRightPartWidensWhenHovered)
{
    StsBut b("SEQ", 40, StsBut::smallImage);
    b.setup(0, 0, 100, 14, true);
    // Left part 47 wide; right part 23 wide at 77 (normal) or 33 wide at 67 (hover).
    EXPECT_EQ(render(b).getPixelAt(70, 7).getAlpha(), 0);
    EXPECT_GT(render(b).getPixelAt(80, 7).getAlpha(), 200);
    b.mouseEnter(mouse(b, 50, 5));
    EXPECT_GT(render(b).getPixelAt(70, 7).getAlpha(), 200);
    EXPECT_EQ(render(b).getPixelAt(60, 7).getAlpha(), 0);
}

TEST_F(ButtonTest, BevelledButtonSinksWhilePressed)
{
    StsBut b("SEQUENCER", 98, StsBut::bevelled);
    b.setup(13, 9, 95, 20, true);
    EXPECT_EQ(b.getBounds(), juce::Rectangle<int>(13, 9, 95, 20));
    EXPECT_EQ(b.getFontSize(), 13.0f);
    auto up = render(b);
    EXPECT_EQ(up.getPixelAt(4, 10), juce::Colour(0xff202d31));
    EXPECT_EQ(up.getPixelAt(10, 0), juce::Colour(0xff000000)); // line colour A along the top
    ChangeLog<int> log(b, [&b] { return (int)b.isPressed(); });
    b.mouseDown(mouse(b, 5, 5));
    EXPECT_EQ(log.flush(), (std::vector<int>{1}));
    EXPECT_EQ(render(b).getPixelAt(4, 10), juce::Colour(0xff040405));
    b.mouseUp(mouse(b, 5, 5));
    EXPECT_FALSE(b.isPressed());
    EXPECT_EQ(render(b).getPixelAt(4, 10), juce::Colour(0xff202d31));
}

TEST_F(ButtonTest, TextButtonsReportCompletedClicksToListenersNewestFirst)
{
    StsBut b("OK", 0, StsBut::textLined);
    b.setup(5, 5, 60, 20, true);
    std::vector<juce::String> calls;
    Recorder first(calls, "first"), second(calls, "second");
    b.addButtonListener(&first);
    b.addButtonListener(&second);
    b.addButtonListener(&first); // no duplicates
    ChangeLog<std::size_t> log(b, [&calls] { return calls.size(); });

    b.mouseDown(mouse(b, 5, 19)); // a press on the button itself reports nothing
    b.mouseUp(mouse(b, 5, 19));
    juce::TextButton other;
    b.buttonClicked(&other);
    EXPECT_TRUE(log.flush().empty());
    EXPECT_TRUE(calls.empty());

    b.buttonClicked(b.getTextButton());
    EXPECT_EQ(calls, (std::vector<juce::String>{"second:OK", "first:OK"}));
    EXPECT_EQ(log.flush(), (std::vector<std::size_t>{2})) << "the change message comes after the listeners";
    b.removeButtonListener(&first);
    b.removeButtonListener(&second);
}

TEST_F(ButtonTest, TextStylesPlaceTheirChildAndDrawTheirCaption)
{
    struct Case
    {
        int style;
        juce::Rectangle<int> child;
        juce::uint32 text;
        float font;
    };
    juce::Colour bottoms[3];
    int i = 0;
    for (const auto& k : {Case{StsBut::textLined, {0, -3, 70, 26}, 0xff000000, 12},
                          Case{StsBut::textPlain, {0, -3, 70, 26}, 0xff000000, 12},
                          Case{StsBut::textDark, {0, -5, 70, 23}, 0xffffffff, 13}})
    {
        StsBut b("BANK A", 0, k.style);
        b.setup(0, 0, 70, 20, true);
        ASSERT_NE(b.getTextButton(), nullptr);
        EXPECT_EQ(b.getTextButton()->getBounds(), k.child) << k.style;
        EXPECT_EQ(b.getFontSize(), k.font);
        const auto image = render(b);
        EXPECT_GT(countNear(image, {10, 4, 50, 12}, juce::Colour(k.text), 40), 10) << k.style;
        bottoms[i++] = image.getPixelAt(35, 19);
    }
    // Style 130 draws a black line along its bottom edge (half of it falls inside); the child of
    // style 140 ends two pixels above the bottom.
    EXPECT_LT(bottoms[0].getBrightness(), bottoms[1].getBrightness() - 0.2f);
    EXPECT_EQ(bottoms[2].getAlpha(), 0);
}

TEST_F(ButtonTest, OwnersTellCollidingIdsApartByTheSender)
{
    // The bank browser's BANK A, OK and category buttons all carry id 0.
    StsBut bankA("BANK A", 0, StsBut::textLined), ok("OK", 0, StsBut::textLined);
    bankA.setup(0, 0, 60, 20, true);
    ok.setup(0, 30, 60, 20, true);
    struct Owner : juce::ChangeListener, stsbutChangeListener
    {
        void changeListenerCallback(juce::ChangeBroadcaster* source) override { senders.push_back(source); }
        void stsbutChanged(StsBut& b) override { buttons.push_back(&b); }
        std::vector<juce::ChangeBroadcaster*> senders;
        std::vector<StsBut*> buttons;
    } owner;
    for (auto* b : {&bankA, &ok})
    {
        b->addChangeListener(&owner);
        b->addButtonListener(&owner);
    }
    ok.buttonClicked(ok.getTextButton());
    bankA.buttonClicked(bankA.getTextButton());
    ok.dispatchPendingMessages();
    bankA.dispatchPendingMessages();
    EXPECT_EQ(owner.buttons, (std::vector<StsBut*>{&ok, &bankA}));
    EXPECT_EQ(owner.senders, (std::vector<juce::ChangeBroadcaster*>{&ok, &bankA}));
    EXPECT_EQ(ok.getCommandId(), bankA.getCommandId());
    for (auto* b : {&bankA, &ok})
    {
        b->removeChangeListener(&owner);
        b->removeButtonListener(&owner);
    }
}

TEST_F(ButtonTest, SwitchLedTogglesOnlyOnItsLed)
{
    SwitchLED led("Use Loaded Data", 13.0f);
    EXPECT_EQ(led.getBounds(), juce::Rectangle<int>(10, 10, 100, 15));
    EXPECT_FALSE(led.isOn());
    ChangeLog<bool> log(led, [&led] { return led.isOn(); });
    const auto dark = render(led).getPixelAt(7, 9);
    led.mouseDown(mouse(led, 25, 5)); // on the caption
    EXPECT_TRUE(log.flush().empty());
    led.mouseDown(mouse(led, 10, 5));
    EXPECT_EQ(log.flush(), (std::vector<bool>{true}));
    const auto lit = render(led).getPixelAt(7, 9);
    EXPECT_GT(lit.getBrightness(), dark.getBrightness() + 0.3f);
    EXPECT_GT(lit.getBlue(), lit.getRed());
    EXPECT_GT(countNear(render(led), {20, 0, 80, 15}, juce::Colour(0xfffefefe), 40), 10);
}
