// StsLabel: a text field of one line or wrapped lines, optionally filled and outlined, that broadcasts a
// press inside it (the status and channel fields of the application bar). Message thread only.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class StsLabel : public juce::Component, public juce::ChangeBroadcaster
{
public:
    StsLabel() = default;

    /** Stores the text, typeface, font height and justification flags; white plain text. */
    void setup(const juce::String& text, const juce::String& typeface, float height, int justification);
    void setText(const juce::String& newText);
    const juce::String& getText() const { return text; }

    void mouseDown(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;

    // Look, set by the owner directly.
    int frameMode = 0; // 0 none, 1 filled, 2 filled and outlined
    float fontHeight = 12.0f;
    juce::uint32 textColour = 0xffffffff;
    juce::String typefaceName;
    int justification = juce::Justification::left;
    int fontStyle = juce::Font::plain;
    juce::uint32 backgroundColour = 0xff000000;
    juce::uint32 outlineColour = 0xff9f9f9f;
    int maxLines = 1; // above 1: the text wraps onto as many lines, inset by `margin`
    int margin = 0;

    /** The height that shows the whole text wrapped to width w (at least one line). */
    int heightForWidth(int w) const;

private:
    juce::String text;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(StsLabel)
};

} // namespace zentak
