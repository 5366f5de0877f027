// VelIndClass: the "Note Velocity" bar of the on-screen keyboard. Dragging in the bar sets the velocity
// the keys send, written straight into the controller state's keyboard velocity. Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class VelIndClass : public juce::Component
{
public:
    explicit VelIndClass(MidiCntrState* controller);

    /** Limits v to 0..127; a new velocity is stored, written to the controller state and shown. */
    void setVelocity(int v);
    int getVelocity() const { return velocity; }
    /** scale := s; placed at the design bounds times s. */
    void setDisplayScale(float s);
    float getScale() const { return scale; }

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;

    // Design bounds, unscaled.
    float designX = 35, designY = 38, designHeight = 120, designWidth = 70;

private:
    MidiCntrState* controller; // never owned
    bool pressInBar = false;
    float scale = 1.0f;
    int velocity = -1;
    juce::Image keyboardBox;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(VelIndClass)
};

} // namespace zentak
