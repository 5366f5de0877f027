// OctaveKeyClass: the miniature keyboard strip of the on-screen keyboard. A click or drag on it chooses
// the octave of the keys (the first note the 94 keys start from); the keys outside that range are
// shaded. The octave is written into the controller state and takes effect at the next key press.
// Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class OctaveKeyClass : public juce::Component, public juce::ChangeBroadcaster
{
public:
    explicit OctaveKeyClass(MidiCntrState& state);

    /** The strip's scale (the keyboard gives it 0.7 x its own). */
    void setScale(float t);
    float getScale() const { return scale; }
    /** n (below 0: 0) becomes the start of its octave, 0 ... 72; repaints. */
    void setFirstNote(int n);
    int getFirstNote() const { return firstNote; }

    /** Where note n lies on the unscaled strip. */
    static int keyX(int n);
    /** The white key's note at unscaled pixel p of the strip. */
    static int noteAtPixel(float p);

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;

private:
    void choose(float x);

    MidiCntrState& controller; // never owned
    float scale = 0.7f;
    int firstNote = 36;
    const int span = 94;
    juce::Image strip;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(OctaveKeyClass)
};

} // namespace zentak
