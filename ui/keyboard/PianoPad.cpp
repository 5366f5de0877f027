#include "PianoPad.h"

namespace zentak
{
KeyOverlay::KeyOverlay(PianoPad& owner) : pad(owner)
{
    setInterceptsMouseClicks(true, false);
    setMouseCursor(juce::MouseCursor::PointingHandCursor);
}

void KeyOverlay::mouseDown(const juce::MouseEvent& e)
{
    // The pressed key is the drag key at once, so a drag that begins on it never holds a second note.
    dragKey = pad.keyAt((float)e.x, (float)e.y);
    if (dragKey >= 0)
        pad.pressKey(dragKey, e.y);
}

void KeyOverlay::mouseDrag(const juce::MouseEvent& e)
{
    const int k = pad.keyAt((float)e.x, (float)e.y);
    if (k < 0 || k == dragKey)
        return;
    if (dragKey == -1)
    {
        dragKey = k;
        pad.pressKey(k, e.y);
        return;
    }
    pad.releaseKey(dragKey);
    dragKey = -1; // the next drag event on k presses it
}

void KeyOverlay::mouseUp(const juce::MouseEvent&)
{
    dragKey = -1;
    pad.releaseAll();
}

PianoPad::PianoPad(MidiCntrState& state, StsResor& skin) : controller(state)
{
    setOpaque(true);
    buttonHeld = [] { return juce::ModifierKeys::getCurrentModifiersRealtime().isAnyMouseButtonDown(); };
    for (int i = 0; i < numKeys; ++i)
    {
        keys[(size_t)i] = std::make_unique<PianoKey>(controller, skin, kindPattern[i % 12], i);
        addAndMakeVisible(*keys[(size_t)i]);
    }
    addAndMakeVisible(keyOverlay);
    layout(1.0f);
}

PianoPad::~PianoPad()
{
    stopTimer();
    releaseAll();
}

void PianoPad::layout(float s)
{
    scale = s;
    const int d = (int)(25.0f * s), e = (int)(152.0f * s), g = (int)(16.0f * s), f = (int)(100.0f * s);
    setBounds((int)(242.0f * s), (int)(20.0f * s), d * numWhiteKeys, (int)(151.0f * s));
    for (auto& k : keys)
        k->setScale(s);
    int white = 0;
    for (auto& k : keys)
        if (k->getKind() == PianoKey::white)
        {
            k->setBounds(white * d, 0, d, e);
            k->hitLeft = (float)(white * d);
            k->hitWidth = (float)d;
            ++white;
        }
    for (int i = 0; i < numKeys; ++i)
    {
        auto& k = *keys[(size_t)i];
        if (k.getKind() != PianoKey::black)
            continue;
        const int x = (int)((float)blackOffset[i % 12] * s + (float)((i / 12) * 7 * d));
        k.setBounds(x, 0, g, f);
        k.hitLeft = (float)x;
        k.hitWidth = (float)g;
        if (i < numKeys - 1)
            keys[(size_t)i + 1]->hitLeft = (float)x + (float)g + 2.0f * s;
        k.toFront(false);
    }
    keyOverlay.setBounds(0, 0, getWidth(), e);
    keyOverlay.toFront(false);
}

int PianoPad::keyAt(float x, float y) const
{
    int found = -1;
    if (y < (float)keys[1]->getHeight())
    {
        for (int i = 0; i < numKeys; ++i)
            if (keys[(size_t)i]->hitLeft <= x)
                found = i;
    }
    else
    {
        for (int i = 0; i < numKeys; ++i)
            if (keys[(size_t)i]->getKind() == PianoKey::white && (float)keys[(size_t)i]->getX() <= x)
                found = i;
    }
    return found >= 0 && found < numKeys ? found : -1;
}

void PianoPad::pressKey(int i, int y)
{
    if (i < 0 || i >= numKeys)
        return;
    keys[(size_t)i]->press(y);
    if (anyKeyPressed() && !isTimerRunning())
        startTimer(50);
}

void PianoPad::releaseKey(int i)
{
    if (i >= 0 && i < numKeys)
        keys[(size_t)i]->release();
}

void PianoPad::releaseAll()
{
    keyOverlay.dragKey = -1;
    for (auto& k : keys)
        k->release();
}

bool PianoPad::anyKeyPressed() const
{
    for (const auto& k : keys)
        if (k->isPressed())
            return true;
    return false;
}

void PianoPad::timerCallback()
{
    if (!anyKeyPressed())
    {
        stopTimer();
        return;
    }
    if (buttonHeld != nullptr && buttonHeld())
        return;
    // The release never reached us (let go outside the window, the mouse taken away): stop the notes.
    stopTimer();
    releaseAll();
}

void PianoPad::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff111214));
}
} // namespace zentak
