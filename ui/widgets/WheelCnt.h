// WheelCnt: the pitch wheel or the modulation wheel of the on-screen keyboard. Dragging up or a wheel
// step raises the value (0..127); a user change is sent to the instrument only, through the controller
// state. The pitch wheel springs back to its
// centre, 64 (pitch value 8192), when released. Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class WheelCnt : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int centre = 64;

    WheelCnt(MidiCntrState* controller, int initialValue, bool isPitchWheel);

    /** Limits v to 0..127; a new value is stored, its frame chosen, sent when send is set, shown. */
    void setValue(int v, bool send);
    int getValue() const { return (int)value; }
    int getFrame() const { return frame; }
    bool isPitchWheel() const { return pitchWheel; }

    void setDesignBounds(float x, float y, float w, float h);
    /** scale := s; placed at the design bounds times s. */
    void setDisplayScale(float s);
    float getScale() const { return scale; }

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void paint(juce::Graphics& g) override;

private:
    MidiCntrState* controller; // never owned
    float scale = 1.0f;
    float value = 0;
    const float frameFactor = 34.0f / 127.0f;
    int frame = 0;
    const float minimum = 0, maximum = 127;
    bool pitchWheel;
    float designX = 0, designY = 0, designWidth = 31, designHeight = 112;
    juce::Image wheelFilm;
    int pressY = 0;
    int valueAtPress = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(WheelCnt)
};

} // namespace zentak
