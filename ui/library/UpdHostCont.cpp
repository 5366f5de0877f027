#include "UpdHostCont.h"

namespace zentak
{
UpdHostCont::UpdHostCont(int program, const juce::String& name, int width, int height)
    : programNumber(program), x0((width - boxWidth) / 2), y0((height - boxHeight) / 2)
{
    text.setFont(juce::Font("Arial", 18.0f, juce::Font::plain));
    text.setJustificationType(juce::Justification::centred);
    text.setColour(juce::Label::textColourId, juce::Colour(0xfffcf5f5));
    text.setColour(juce::Label::backgroundColourId, juce::Colours::black);
    text.setColour(juce::Label::outlineColourId, juce::Colours::transparentBlack);
    addAndMakeVisible(text);
    setProgram(program, name);

    cancel.setup(x0 + 280, y0 + 164, 60, 24, true);
    ok.setup(x0 + 368, y0 + 164, 60, 24, true);
    addAndMakeVisible(cancel);
    addAndMakeVisible(ok);
    setBounds(0, 0, width, height);
    resized();
}

void UpdHostCont::resized()
{
    // The box stays in the middle of the editor, also when the editor is narrower than the box.
    x0 = (getWidth() - boxWidth) / 2;
    y0 = (getHeight() - boxHeight) / 2;
    text.setBounds(x0, y0 + 50, boxWidth, 24);
    cancel.setBounds(x0 + 280, y0 + 164, 60, 24);
    ok.setBounds(x0 + 368, y0 + 164, 60, 24);
}

UpdHostCont::~UpdHostCont() = default;

void UpdHostCont::setProgram(int program, const juce::String& name)
{
    programNumber = program;
    text.setText(juce::String(program) + ": " + name, juce::dontSendNotification);
}

void UpdHostCont::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x55000000));
    g.setColour(juce::Colour(0x56000000));
    g.fillRoundedRectangle((float)(x0 + 10), (float)(y0 + 10), (float)boxWidth, (float)boxHeight, 10.0f);
    const juce::Rectangle<float> box((float)x0, (float)y0, (float)boxWidth, (float)boxHeight);
    g.setColour(juce::Colours::black);
    g.fillRoundedRectangle(box, 10.0f);
    g.setColour(juce::Colour(0xff777777));
    g.drawRoundedRectangle(box, 10.0f, 2.0f);
    g.setColour(juce::Colours::white);
    g.setFont(juce::Font("Arial", 18.0f, juce::Font::plain));
    g.drawText("Current Host FX program:", x0, y0 + 15, boxWidth, 24, juce::Justification::centred, false);
    g.drawText("Select the Host FX Program slot to be updated!", x0, y0 + 85, boxWidth, 24,
               juce::Justification::centred, false);
}
} // namespace zentak
