#include "VelIndClass.h"

#include "SkinImage.h"

namespace zentak
{
VelIndClass::VelIndClass(MidiCntrState* state) : controller(state), keyboardBox(skinImage("keyboardBox"))
{
    setSize(70, 118);
}

void VelIndClass::setVelocity(int v)
{
    v = juce::jlimit(0, 127, v);
    if (v == velocity)
        return;
    velocity = v;
    if (controller != nullptr)
        controller->keyboardVelocity = v;
    const float s = scale;
    repaint(0, (int)(16.0f * s), (int)(60.0f * s), (int)(102.0f * s));
}

void VelIndClass::setDisplayScale(float s)
{
    scale = s;
    setBounds((int)(designX * s), (int)(designY * s), (int)(designWidth * s), (int)(designHeight * s));
}

void VelIndClass::mouseDown(const juce::MouseEvent& e)
{
    pressInBar = (float)e.x < 40.0f * scale;
}

void VelIndClass::mouseDrag(const juce::MouseEvent& e)
{
    if (pressInBar)
        setVelocity(127 - e.y);
}

void VelIndClass::paint(juce::Graphics& g)
{
    const float s = scale;
    const int v = juce::jmax(0, velocity);
    g.setOpacity(1.0f);
    g.drawImage(keyboardBox, (int)(26.0f * s), (int)(16.0f * s), (int)(27.0f * s), (int)(13.0f * s), 0, 0, 27,
                13);
    g.setColour(juce::Colour(0x66374c53));
    g.fillRoundedRectangle(0.0f, 16.0f * s, 15.0f * s, 103.0f * s, 3.0f * s);
    g.setColour(juce::Colour(0xff101010));
    g.fillRoundedRectangle(0.0f, 16.0f * s, 15.0f * s, (float)(127 - v) * 103.0f * s / 127.0f, 3.0f * s);
    g.setColour(juce::Colour(0xff4d5051));
    g.drawRoundedRectangle(0.0f, 16.0f * s, 15.0f * s, 103.0f * s, 3.0f * s, 1.6f * s);
    g.setColour(juce::Colour(0xff76bdd2));
    g.setFont(juce::Font("Arial", 11.0f * s, juce::Font::plain));
    g.drawText(juce::String(v), // never "-1" before the first velocity arrives
               juce::Rectangle<float>(26.0f * s, 16.0f * s, 25.0f * s, 13.0f * s),
               juce::Justification::centred, false);
    g.setColour(juce::Colours::white);
    g.setFont(juce::Font("Arial", 10.0f * s, juce::Font::plain));
    g.drawText("Note Velocity", juce::Rectangle<float>(0.0f, 0.0f, 80.0f * s, 13.0f * s),
               juce::Justification::centredLeft, false);
}
} // namespace zentak
