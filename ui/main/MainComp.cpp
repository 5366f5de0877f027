#include "MainComp.h"

namespace zentak
{
MainComp::MainComp(MidiCntrState* state) : controller(state)
{
    setOpaque(true);
}

void MainComp::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff00002f));
    g.setColour(juce::Colour(0xffd5b639));
    g.setFont(juce::Font("Arial", 22.0f * juce::jmax(0.3f, (float)getWidth() / 1607.0f), juce::Font::bold));
    g.drawText("Zentak Control", getLocalBounds().reduced(12), juce::Justification::topLeft);
}

void MainComp::showHostSlotInChooser(int n, const juce::String& label)
{
    hostChooserSlot = n;
    hostChooserLabel = label;
}
} // namespace zentak
