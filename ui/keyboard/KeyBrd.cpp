#include "KeyBrd.h"

#include "ui/widgets/SkinImage.h"

namespace zentak
{
KeyBrd::KeyBrd(MidiCntrState& state)
    : controller(state), octave(state), modWheel(&state, 0, false), pitch(&state, WheelCnt::centre, true),
      velocity(&state), keyPad(state, *skin), keyGlow(skinImage("keyGlow")),
      keyboardBar(skinImage("keyboardBar"))
{
    setOpaque(true);

    velocity.setVelocity(controller.keyboardVelocity);
    addAndMakeVisible(velocity);
    addAndMakeVisible(keyPad);
    addAndMakeVisible(octave);
    // The strip shows the octave the keys play, which outlives the window in the controller state.
    octave.setFirstNote(juce::jlimit(0, 6, controller.keyboardOctave) * 12);
    pitch.setDesignBounds(100, 46, 31, 112);
    modWheel.setDesignBounds(160, 46, 31, 112);
    addAndMakeVisible(pitch);
    addAndMakeVisible(modWheel);
    setDisplayScale(1.0f);
}

KeyBrd::~KeyBrd()
{
    keyPad.releaseAll();
}

void KeyBrd::setDisplayScale(float s)
{
    scale = s;
    setBounds(0, (int)((float)restTop * s), (int)((float)designWidth * s), (int)((float)designHeight * s));
    const float t = 0.7f * s;
    octave.setScale(t);
    octave.setBounds((int)(50.0f * t), (int)(40.0f * t), (int)(269.0f * t), (int)(16.0f * t));
    pitch.setDisplayScale(s);
    modWheel.setDisplayScale(s);
    velocity.setDisplayScale(s);
    keyPad.layout(s);
    setAlwaysOnTop(false);
    setAlwaysOnTop(true);
    toFront(false);
}

void KeyBrd::mouseMove(const juce::MouseEvent& e)
{
    setMouseCursor((float)e.y < (float)barHeight * scale ? juce::MouseCursor::UpDownResizeCursor
                                                         : juce::MouseCursor::NormalCursor);
}

void KeyBrd::mouseDown(const juce::MouseEvent& e)
{
    toFront(false);
    dragging = (float)e.y < (float)barHeight * scale;
    if (dragging)
        pressY = e.y;
}

void KeyBrd::mouseDrag(const juce::MouseEvent& e)
{
    if (!dragging)
        return;
    const int top = juce::jmax(28, juce::jmin(restingTop(), getY() + e.y - pressY));
    setTopLeftPosition(0, top);
}

void KeyBrd::mouseUp(const juce::MouseEvent&)
{
    dragging = false;
    const int a = getY();
    const int b = restingTop();
    const int c = (int)((float)designHeight * scale * 0.5f);
    const int d = (int)((float)middleTop * scale);
    const int top = a > b - c ? b : (a > d - c ? d : a);
    setTopLeftPosition(0, top);
    sendChangeMessage();
}

void KeyBrd::paint(juce::Graphics& g)
{
    const float s = scale;
    g.fillAll(juce::Colour(0xff111214));
    g.setOpacity(1.0f);
    // The handle bar: the 100 x 22 source is cut to the 20 rows the image has.
    g.drawImage(keyboardBar, 0, 0, (int)(1607.0f * s), (int)(20.0f * s * 20.0f / 22.0f), 0, 0, 100, 20);
    g.setOpacity(0.484f);
    for (float x : {72.0f, 132.0f})
        g.drawImage(keyGlow, (int)(x * s), (int)(29.0f * s), (int)(168.0f * s * 0.56f),
                    (int)(257.0f * s * 0.56f), 0, 0, 168, 291);
    g.setOpacity(1.0f);
    skin->paintKeyboardShadow(g, s, 0, (int)(242.0f * s));
}
} // namespace zentak
