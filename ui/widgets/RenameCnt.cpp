#include "RenameCnt.h"

namespace zentak
{
RenameCnt::RenameCnt(int x, int y, const juce::String& name)
{
    cancel.setup(0, 26, 50, 18, true);
    ok.setup(130, 26, 50, 18, true);
    addAndMakeVisible(cancel);
    addAndMakeVisible(ok);

    field.setMultiLine(false);
    field.setScrollbarsShown(false);
    field.setCaretVisible(true);
    field.setFont(juce::Font("Arial", 14.0f, juce::Font::plain));
    field.setColour(juce::TextEditor::highlightColourId, juce::Colour(0x40ffffff));
    field.setInputRestrictions(16);
    field.setText(name, false);
    field.setBounds(0, 0, 180, 24);
    addAndMakeVisible(field);

    setBounds(x, y, 180, 43);
}

RenameCnt::~RenameCnt() = default;

void RenameCnt::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff221414));
}
} // namespace zentak
