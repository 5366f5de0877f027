// PianoKey: one of the 94 keys of the on-screen keyboard. A press sends a note-on to the instrument
// through the controller state and remembers the note and channel it sent; the release turns off exactly
// that note, whatever the octave or channel is by then, and a key that is destroyed while sounding turns
// its note off too. The key shows its new state after a short timer, so that fast glissandi do not
// repaint every key on every event. Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"
#include "ui/widgets/StsResor.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class PianoKey : public juce::Component, public juce::ChangeBroadcaster, private juce::Timer
{
public:
    enum Kind
    {
        white = 0,
        black = 1
    };

    PianoKey(MidiCntrState& state, StsResor& skin, int kind, int index);
    ~PianoKey() override;

    /** Plays the key; y is the press's height in the pad's pixels (used when the keyboard velocity is
        below 6: the velocity then comes from where the key was struck). */
    void press(int y);
    /** Turns off the note this key sent, if it sounds. */
    void release();

    /** The velocity a press at unscaled height y gives, or -1 when the press is below the key. */
    static int positionVelocity(int kind, float y);

    bool isPressed() const { return pressed; }
    bool isDrawnPressed() const { return drawnPressed; }
    int soundingNote() const { return note; }
    int getVelocitySent() const { return velocitySent; }
    int getKind() const { return kind; }
    int getIndex() const { return index; }
    void setScale(float s) { scale = s; }
    float getScale() const { return scale; }

    float hitLeft = 0, hitWidth = 0; // the key's share of the pad for hit testing, in pad pixels

    void paint(juce::Graphics& g) override;
    /** Shows the key's new state (public for tests that do not run the message loop). */
    void timerCallback() override;

private:
    MidiCntrState& controller; // never owned
    StsResor& images;
    bool drawnPressed = false, pressed = false;
    float scale = 1.0f;
    const int kind, index;
    int velocitySent = 0;
    int note = -1, channel = 0; // what the press sent, -1: nothing sounds

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PianoKey)
};

} // namespace zentak
