#include "StsLabel.h"

namespace zentak
{
void StsLabel::setup(const juce::String& newText, const juce::String& typeface, float height,
                     int justificationFlags)
{
    text = newText;
    typefaceName = typeface;
    fontHeight = height;
    justification = justificationFlags;
    textColour = 0xffffffff;
    fontStyle = juce::Font::plain;
}

void StsLabel::setText(const juce::String& newText)
{
    text = newText;
    repaint();
}

void StsLabel::mouseDown(const juce::MouseEvent& e)
{
    if (e.x > 0 && e.x < getWidth() && e.y > 0 && e.y < getHeight())
        sendChangeMessage();
}

void StsLabel::paint(juce::Graphics& g)
{
    const auto area = getLocalBounds();
    if (frameMode >= 1)
    {
        g.setColour(juce::Colour(backgroundColour));
        g.fillRect(area);
    }
    if (frameMode == 2)
    {
        g.setColour(juce::Colour(outlineColour));
        g.drawRect(area, 1);
    }
    g.setColour(juce::Colour(textColour));
    g.setFont(juce::Font(typefaceName, fontHeight, fontStyle));
    g.drawText(text, area, juce::Justification(justification), false);
}
} // namespace zentak
