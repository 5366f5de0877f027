#include "ProgBar.h"

namespace zentak
{
ProgBar::ProgBar(int width, int height) : x0((width - 400) / 2), y0((height - 40) / 2)
{
    barTrack.setColour(juce::TextButton::buttonColourId, juce::Colour(0xff767681));
    barTrack.setColour(juce::TextButton::buttonOnColourId, juce::Colour(0xff9b9ba6));
    barTrack.setBounds(x0, y0, 384, 24);
    barFill.setConnectedEdges(juce::Button::ConnectedOnRight);
    barFill.setColour(juce::TextButton::buttonColourId, juce::Colour(0xff37a6c8));
    barFill.setColour(juce::TextButton::buttonOnColourId, juce::Colour(0xff113f48));
    barFill.setBounds(x0, y0, 0, 24);
    // The bars only show progress; they take no clicks (and so never light up under the mouse).
    for (auto* bar : {&barTrack, &barFill})
    {
        bar->setInterceptsMouseClicks(false, false);
        addAndMakeVisible(*bar);
    }

    caption.setText("-", juce::dontSendNotification);
    caption.setFont(juce::Font("Arial", 18.0f, juce::Font::bold));
    caption.setJustificationType(juce::Justification::centred);
    caption.setColour(juce::Label::textColourId, juce::Colour(0xfffcf5f5));
    caption.setColour(juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    caption.setBounds(x0, y0 + 40, 88, 24);
    addAndMakeVisible(caption);

    cancel.setup(x0 + 319, y0 + 40, 60, 24, true);
    addAndMakeVisible(cancel);
    setBounds(0, 0, width, height);
}

ProgBar::~ProgBar() = default;

void ProgBar::showProgress(int v)
{
    value = juce::jlimit(minimum, maximum, v);
    barFill.setSize(3 * value, 24);
}

void ProgBar::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x55000000));
    g.setColour(juce::Colour(0xff050606));
    g.fillRoundedRectangle(barTrack.getBounds().toFloat(), 10.0f);
    g.fillRoundedRectangle(caption.getBounds().toFloat(), 5.0f);
    g.fillRoundedRectangle(barTrack.getBounds().toFloat(), 10.0f);
}
} // namespace zentak
