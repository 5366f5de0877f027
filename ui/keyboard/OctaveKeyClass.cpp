#include "OctaveKeyClass.h"

#include "ui/widgets/SkinImage.h"

namespace zentak
{
OctaveKeyClass::OctaveKeyClass(MidiCntrState& state) : controller(state), strip(skinImage("octaveStrip"))
{
    setOpaque(true);
    setMouseCursor(juce::MouseCursor::LeftRightResizeCursor);
}

void OctaveKeyClass::setScale(float t)
{
    scale = t;
    repaint();
}

int OctaveKeyClass::keyX(int n)
{
    static constexpr int offset[12] = {0, 4, 6, 9, 10, 11, 14, 16, 20, 22, 23, 26};
    n = juce::jmax(0, n);
    return 25 * (n / 12) + offset[n % 12];
}

int OctaveKeyClass::noteAtPixel(float p)
{
    static constexpr int toNote[7] = {0, 1, 2, 2, 3, 4, 5};
    float w = juce::jmax(0.0f, p / 3.573f);
    const int o = (int)(w / 7.0f);
    const int r = juce::jlimit(0, 6, (int)(w - 7.0f * (float)o));
    w += (float)toNote[r];
    return (int)w + 5 * o;
}

void OctaveKeyClass::setFirstNote(int n)
{
    n = juce::jmax(0, n);
    firstNote = juce::jmin(72, (n / 12) * 12);
    repaint();
}

void OctaveKeyClass::choose(float x)
{
    if (x < 0.0f || x > (float)getWidth())
        return;
    setFirstNote(noteAtPixel(x / scale - 25.0f * scale));
    controller.keyboardOctave = firstNote / 12;
    sendChangeMessage();
}

void OctaveKeyClass::mouseDown(const juce::MouseEvent& e)
{
    choose((float)e.x);
}

void OctaveKeyClass::mouseDrag(const juce::MouseEvent& e)
{
    choose((float)e.x);
}

void OctaveKeyClass::paint(juce::Graphics& g)
{
    const float t = scale;
    g.setOpacity(1.0f);
    g.drawImage(strip, 0, 0, (int)(269.0f * t), (int)(18.0f * t), 0, 0, strip.getWidth(), strip.getHeight());
    g.setColour(juce::Colour(0x66000000));
    g.fillRect(juce::jmax(0.0f, (float)keyX(firstNote + span) * t), 0.0f, (float)juce::roundToInt(270.0f * t),
               18.0f * t);
    g.fillRect(0.0f, 0.0f, (float)keyX(firstNote) * t, 18.0f * t);
}
} // namespace zentak
