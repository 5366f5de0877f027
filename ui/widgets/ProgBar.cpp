#include "ProgBar.h"

namespace zentak
{
ProgBar::ProgBar(int width, int height) : x0((width - 400) / 2), y0((height - 40) / 2)
{
    barTrack.setColour(juce::TextButton::buttonColourId, juce::Colour(0xff767681));
    barTrack.setColour(juce::TextButton::buttonOnColourId, juce::Colour(0xff9b9ba6));
    barFill.setConnectedEdges(juce::Button::ConnectedOnRight);
    barFill.setColour(juce::TextButton::buttonColourId, juce::Colour(0xff37a6c8));
    barFill.setColour(juce::TextButton::buttonOnColourId, juce::Colour(0xff113f48));
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
    addAndMakeVisible(caption);

    title.setFont(juce::Font("Arial", 15.0f, juce::Font::bold));
    title.setJustificationType(juce::Justification::centredLeft);
    title.setColour(juce::Label::textColourId, juce::Colour(0xfffcf5f5));
    addChildComponent(title);
    details.setFont(juce::Font("Arial", 14.0f, juce::Font::plain));
    details.setJustificationType(juce::Justification::topLeft);
    details.setMinimumHorizontalScale(1.0f);
    addChildComponent(details);

    cancel.setup(x0 + 319, y0 + 40, 60, 24, true);
    addAndMakeVisible(cancel);
    setBounds(0, 0, width, height);
    resized();
}

void ProgBar::resized()
{
    // Centred in whatever it covers now: the window may be resized while a transfer runs. The box
    // with its title above and details below stays inside even the smallest window.
    x0 = juce::jmax(10, (getWidth() - boxWidth) / 2);
    y0 = juce::jlimit(36, juce::jmax(36, getHeight() - 130), (getHeight() - boxHeight) / 2);
    barTrack.setBounds(x0, y0, 384, 24);
    barFill.setBounds(x0, y0, 3 * value, 24);
    caption.setBounds(x0, y0 + 40, 88, 24);
    title.setBounds(x0, y0 - 30, 384, 24);
    details.setBounds(x0, y0 + 70, 384, 52);
    cancel.setBounds(x0 + 319, y0 + 40, 60, 24);
}

ProgBar::~ProgBar() = default;

void ProgBar::showProgress(int v)
{
    value = juce::jlimit(minimum, maximum, v);
    barFill.setSize(3 * value, 24);
}

void ProgBar::setTitle(const juce::String& text)
{
    title.setText(text, juce::dontSendNotification);
    title.setVisible(text.isNotEmpty());
    repaint();
}

void ProgBar::setDetails(const juce::String& text, juce::uint32 colour)
{
    details.setText(text, juce::dontSendNotification);
    details.setColour(juce::Label::textColourId, juce::Colour(colour));
    details.setVisible(text.isNotEmpty());
    repaint();
}

void ProgBar::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x55000000));
    if (title.isVisible() || details.isVisible())
    {
        // A backing behind the title and details, so that they read over any page.
        const int top = title.isVisible() ? y0 - 36 : y0 - 8;
        const int bottom = details.isVisible() ? details.getBottom() + 6 : y0 + 72;
        const juce::Rectangle<float> back((float)x0 - 10.0f, (float)top, 404.0f, (float)(bottom - top));
        g.setColour(juce::Colour(0xf0101418));
        g.fillRoundedRectangle(back, 8.0f);
        g.setColour(juce::Colour(0xff457089));
        g.drawRoundedRectangle(back, 8.0f, 1.5f);
    }
    g.setColour(juce::Colour(0xff050606));
    g.fillRoundedRectangle(barTrack.getBounds().toFloat(), 10.0f);
    g.fillRoundedRectangle(caption.getBounds().toFloat(), 5.0f);
    g.fillRoundedRectangle(barTrack.getBounds().toFloat(), 10.0f);
}
} // namespace zentak
