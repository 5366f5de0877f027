// SwitchLED: a small LED check box with a caption ("Use Loaded Data" of the bank browser). A press on
// the LED flips it and broadcasts; the owner reads isOn(). Message thread only.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class SwitchLED : public juce::Component, public juce::ChangeBroadcaster
{
public:
    SwitchLED(const juce::String& caption, float fontSize);

    bool isOn() const { return on; }
    /** Shows a state without broadcasting (the owner's own value). */
    void setOn(bool state);

    void mouseDown(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;

    juce::uint32 captionColour = 0xfffefefe;

private:
    juce::String caption;
    bool on = false;
    float fontSize;
    juce::Image ledPair;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SwitchLED)
};

} // namespace zentak
