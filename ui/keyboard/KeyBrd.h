// KeyBrd: the on-screen keyboard along the bottom of the main window: 94 keys, the octave strip, the
// "Note Velocity" bar and the pitch and modulation wheels. It plays the instrument only, through the
// controller state, and sends nothing to the host. It can be dragged up by its top bar and snaps to its
// resting place or a middle height when let go; every layout of the window puts it back at rest. Its
// change message (after a press on it) asks the owner to bring it to the front. Message thread only.
#pragma once

#include "OctaveKeyClass.h"
#include "PianoPad.h"
#include "ui/widgets/VelIndClass.h"
#include "ui/widgets/WheelCnt.h"

namespace zentak
{

class KeyBrd : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int designWidth = 1607, designHeight = 172, restTop = 686, middleTop = 534,
                         barHeight = 20;

    explicit KeyBrd(MidiCntrState& state);
    ~KeyBrd() override;

    /** Scales everything by s and puts the keyboard back at its resting place, in front. */
    void setDisplayScale(float s);
    float getScale() const { return scale; }
    /** The top of the keyboard at rest for the current scale. */
    int restingTop() const { return (int)((float)restTop * scale); }

    OctaveKeyClass& octaveStrip() { return octave; }
    WheelCnt& modulationWheel() { return modWheel; }
    WheelCnt& pitchWheel() { return pitch; }
    VelIndClass& velocityBar() { return velocity; }
    PianoPad& pad() { return keyPad; }

    void mouseMove(const juce::MouseEvent& e) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;

private:
    MidiCntrState& controller; // never owned
    juce::SharedResourcePointer<StsResor> skin;
    float scale = 1.0f;
    OctaveKeyClass octave;
    WheelCnt modWheel, pitch;
    VelIndClass velocity;
    PianoPad keyPad;
    juce::Image keyGlow;
    bool dragging = false;
    int pressY = 0;
    juce::Image keyboardBar;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(KeyBrd)
};

} // namespace zentak
