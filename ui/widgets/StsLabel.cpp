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
    if (maxLines > 1)
        g.drawFittedText(text, area.reduced(margin, 1), juce::Justification(justification), maxLines, 1.0f);
    else
        g.drawText(text, area, juce::Justification(justification), false);
}

int StsLabel::heightForWidth(int w) const
{
    const juce::Font font(typefaceName, fontHeight, fontStyle);
    const int lineHeight = (int)std::ceil(font.getHeight()) + 1;
    if (maxLines <= 1)
        return lineHeight;
    juce::GlyphArrangement glyphs;
    glyphs.addJustifiedText(font, text, 0.0f, 0.0f, (float)juce::jmax(1, w - 2 * margin),
                            juce::Justification::left);
    int lines = 1;
    if (glyphs.getNumGlyphs() > 0)
        lines = juce::jlimit(
            1, maxLines, (int)std::ceil(glyphs.getBoundingBox(0, -1, true).getHeight() / font.getHeight()));
    return lines * lineHeight + 2;
}
} // namespace zentak
