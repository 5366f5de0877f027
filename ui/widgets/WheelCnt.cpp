#include "WheelCnt.h"

#include "SkinImage.h"

namespace zentak
{
WheelCnt::WheelCnt(MidiCntrState* state, int initialValue, bool isPitchWheel)
    : controller(state), pitchWheel(isPitchWheel), wheelFilm(skinImage("wheelFilm"))
{
    value = juce::jlimit(minimum, maximum, (float)initialValue);
    frame = (int)(value * frameFactor);
    setMouseCursor(juce::MouseCursor::PointingHandCursor);
    setSize(31, 112);
}

void WheelCnt::setValue(int v, bool send)
{
    float f = (float)v;
    if (f < minimum)
        f = minimum;
    if (f > maximum)
        f = maximum;
    if (f == value)
        return;
    value = f;
    frame = (int)(f * frameFactor);
    if (send && controller != nullptr)
    {
        const int n = (int)f;
        const int channel = controller->instrumentChannel.load();
        // The wheels play the instrument; the host's own MIDI output never carries them.
        if (pitchWheel)
            controller->sendInstrumentPitchWheel(channel, n * 128);
        else
            controller->sendInstrumentController(channel, 1, n);
    }
    repaint();
}

void WheelCnt::setDesignBounds(float x, float y, float w, float h)
{
    designX = x;
    designY = y;
    designWidth = w;
    designHeight = h;
    setDisplayScale(scale);
}

void WheelCnt::setDisplayScale(float s)
{
    scale = s;
    setBounds((int)(designX * s), (int)(designY * s), (int)(designWidth * s), (int)(designHeight * s));
}

void WheelCnt::mouseDown(const juce::MouseEvent& e)
{
    pressY = e.y;
    valueAtPress = (int)value;
}

void WheelCnt::mouseDrag(const juce::MouseEvent& e)
{
    const int a = valueAtPress + pressY - e.y;
    if ((float)a != value)
        setValue(a, true);
}

void WheelCnt::mouseUp(const juce::MouseEvent&)
{
    // The pitch wheel springs back to its true centre, 64 (8192): the instrument is left in tune.
    if (pitchWheel)
        setValue(centre, true);
}

void WheelCnt::mouseWheelMove(const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY > 0.0f)
        setValue((int)value + 1, true);
    else if (wheel.deltaY < 0.0f)
        setValue((int)value - 1, true);
}

void WheelCnt::paint(juce::Graphics& g)
{
    g.setOpacity(1.0f);
    g.drawImage(wheelFilm, 0, 0, (int)(31.0f * scale), (int)(112.0f * scale), frame * 31, 0, 31, 112);
}
} // namespace zentak
