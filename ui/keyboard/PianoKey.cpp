#include "PianoKey.h"

namespace zentak
{
PianoKey::PianoKey(MidiCntrState& state, StsResor& skin, int keyKind, int keyIndex)
    : controller(state), images(skin), kind(keyKind), index(keyIndex)
{
    // A white key fills its whole box (its rounded corners show the case); a black key lies over the
    // white keys, which show through its corners.
    setOpaque(kind == white);
}

PianoKey::~PianoKey()
{
    stopTimer();
    release(); // closing the window leaves no note hanging on the instrument
}

int PianoKey::positionVelocity(int keyKind, float y)
{
    if (y > 152.0f)
        return -1;
    float d;
    if (keyKind == black)
        d = y <= 100.0f ? y : 127.0f;
    else
    {
        d = juce::jmax(0.0f, y - 52.0f);
        if (d > 127.0f)
            d = 254.0f - d;
    }
    return juce::jlimit(5, 127, (int)(d * 1.27f));
}

void PianoKey::press(int y)
{
    if (pressed)
        return;
    int v = controller.keyboardVelocity;
    if (v < 6)
    {
        // The pad is scaled with the window: the height is measured on the unscaled key.
        v = positionVelocity(kind, (float)y / juce::jmax(0.01f, scale));
        if (v < 0)
            return;
    }
    velocitySent = v;
    const int n = index + controller.keyboardOctave * 12;
    if (n < 0 || n >= 128)
        return; // beyond the MIDI range: nothing sounds, nothing to release
    note = n;
    channel = controller.instrumentChannel.load();
    controller.sendNoteOn(channel, note, v);
    pressed = true;
    startTimer(20);
}

void PianoKey::release()
{
    if (!pressed)
        return;
    velocitySent = 0;
    controller.sendNoteOff(channel, note);
    note = -1;
    pressed = false;
    startTimer(30);
}

void PianoKey::timerCallback()
{
    stopTimer();
    if (drawnPressed != pressed)
        repaint();
}

void PianoKey::paint(juce::Graphics& g)
{
    g.setOpacity(1.0f);
    if (kind == white)
        g.fillAll(juce::Colour(0xff111214));
    if (kind == white)
        g.drawImage(pressed ? images.whiteKeyDown : images.whiteKey, 0, 0, (int)(25.0f * scale),
                    (int)(152.0f * scale), 0, 0, 25, 152);
    else
        g.drawImage(pressed ? images.blackKeyDown : images.blackKey, 0, 0, (int)(16.0f * scale),
                    (int)(100.0f * scale), 0, 0, 16, 100);
    drawnPressed = pressed;
}
} // namespace zentak
