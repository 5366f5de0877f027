// StsCont: the value control of every sound parameter and global setting: a knob, a value box
// (selector), an LED switch or a wave-shape selector, with its caption and its value text. It turns
// presses, drags, releases and wheel steps into a requested value and broadcasts a change kind; it never
// changes its shown value itself: the owner shows each value with showValue. Message thread only.
#pragma once

#include "library/WaveBank.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class StsCont : public juce::Component, public juce::ChangeBroadcaster, public juce::Timer
{
public:
    /** Kinds passed to setup. */
    enum Kind
    {
        selector = 0,
        ledSwitch = 1,
        knob = 3,
        waveSelector = 10,
        narrowSelector = 11,
        centredLedSwitch = 101,
        compactSelector = 102
    };

    /** Change kinds, read by the listener from changeKind. */
    enum Change
    {
        dragValue = 1,
        toggled = 64,
        wheelStep = 65,
        gestureEnd = 66,
        gestureStart = 67,
        valueMenuWanted = 99,
        rightButton = 100
    };

    StsCont();
    ~StsCont() override;

    void setup(int parameter, const juce::String& caption, int minimumValue, int maximumValue,
               int controlKind, int valueBoxWidth);
    /** Places the control at exactly these unscaled bounds. */
    void setDesignBounds(float x, float y, float width, float height);
    /** Places the control at its design bounds times s, each product truncated. */
    void setDisplayScale(float s);
    void setDesignPosition(float x, float y);
    /** Copies the top-left region of image, of the control's current size, as its background. */
    void setBackgroundImage(const juce::Image& image);

    /** Shows v (limited to the range) with its text; ignored when v is already shown. */
    void showValue(int v, const juce::String& text);
    /** Makes the next showValue take effect whatever it shows. */
    void forgetValue() { value = -1; }
    /** Limits v to the range, stores it as the requested value and reports change kind 1 if it
        differs from the shown value. */
    void requestValue(int v);

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void paint(juce::Graphics& g) override;
    /** The end of a gesture, 100 ms after a release. */
    void timerCallback() override;

    int getKind() const { return kind; }
    int getKnobFrame() const { return knobFrame; }
    const juce::String& getLabel() const { return label; }
    const juce::String& getValueText() const { return valueText; }
    float getScale() const { return scale; }
    bool isDragging() const { return dragging; }
    bool isMenuArmed() const { return menuArmed; }
    bool hasBackgroundImage() const { return hasBackground; }

    // State that the owner and the listener read or set directly.
    int changeKind = 0;                   // kind of the last event (Change)
    const WaveBank* waveSource = nullptr; // kind 10: the wave bank whose shapes are drawn; not owned
    bool fillsBackground = false;         // fill the control with fillColour before drawing
    juce::uint32 fillColour = 0xff000000;
    int value = -1;          // the value shown; -1 until shown (forgetValue)
    int parameterNumber = 0; // program or global parameter number
    int requestedValue = 0;  // the value asked for by the last user event, within the range
    int minimum = 0, maximum = 0;
    bool immediateRepaint = true; // false while the page is off screen: new values only mark repaintPending
    bool repaintPending = false;

private:
    int clampToRange(int v) const;
    int px(float v) const { return (int)(v * scale); }
    void toggle();
    void paintValueBox(juce::Graphics& g, int box, int barSourceWidth, bool sheen);
    void paintText(juce::Graphics& g, const juce::String& text, juce::uint32 colour, float size,
                   juce::Rectangle<float> r, juce::Justification j);
    void paintLed(juce::Graphics& g, int x, float ellipseWidth);

    bool hasBackground = false;
    juce::Image background;
    juce::String label;
    float designX = 0, designY = 0, designW = 0, designH = 0;
    juce::Image knobFilm, valueBar, valueEndCap, valueSheen, waveOverlay, ledSwitchStrip;
    int dragStartValue = 0;
    int designWidth = 0, designHeight = 0;
    int kind = -1;
    int boxWidth = 0;
    juce::String valueText;
    bool dragging = false;
    bool menuArmed = false;
    int knobFrame = 0;
    int pressY = 0, pressX = 0;
    int range = 0;
    float scale = 1.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(StsCont)
};

} // namespace zentak
