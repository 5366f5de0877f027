// RenameCnt: the small dialog in which a program name (at most 16 characters) is typed, with OK
// (command id 1111) and Cancel (1113); the owner listens to both and reads the name. Message thread.
#pragma once

#include "StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class RenameCnt : public juce::Component
{
public:
    static constexpr int okCommand = 1111, cancelCommand = 1113;

    /** Placed at (x, y), 180 x 43, holding the given name. */
    RenameCnt(int x, int y, const juce::String& name);
    ~RenameCnt() override;

    StsBut& okButton() { return ok; }
    StsBut& cancelButton() { return cancel; }
    juce::TextEditor& nameField() { return field; }
    juce::String name() const { return field.getText(); }

    void paint(juce::Graphics& g) override;

private:
    StsBut ok{"OK", okCommand, StsBut::textDark};
    StsBut cancel{"Cancel", cancelCommand, StsBut::textDark};
    juce::TextEditor field;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(RenameCnt)
};

} // namespace zentak
