#include "SwitchLED.h"

#include "SkinImage.h"

namespace zentak
{
SwitchLED::SwitchLED(const juce::String& text, float size)
    : caption(text), fontSize(size), ledPair(skinImage("ledPair"))
{
    setBounds(10, 10, 100, 15);
}

void SwitchLED::setOn(bool state)
{
    if (on != state)
    {
        on = state;
        repaint();
    }
}

void SwitchLED::mouseDown(const juce::MouseEvent& e)
{
    if (e.x >= 20)
        return;
    on = !on;
    sendChangeMessage();
    repaint();
}

void SwitchLED::paint(juce::Graphics& g)
{
    g.setOpacity(1.0f);
    g.drawImage(ledPair, 0, 5, 14, 9, on ? 14 : 0, 0, 14, 9);
    g.setColour(juce::Colour(captionColour));
    g.setFont(juce::Font("Arial", fontSize, juce::Font::plain));
    g.drawText(caption, 20, 0, 140, 18, juce::Justification::centredLeft, true);
}
} // namespace zentak
