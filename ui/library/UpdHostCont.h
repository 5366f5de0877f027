// UpdHostCont: the modal panel in which the user confirms that the edit record is to be stored into
// the host's current program slot. It shows the slot's number and name and carries OK and CANCEL
// (both command id 999: the owner tells them apart by object). Message thread only.
#pragma once

#include "ui/widgets/StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class UpdHostCont : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int buttonCommand = 999, boxWidth = 500, boxHeight = 200;

    /** A panel covering an editor of width x height for host program `program` named `name`. */
    UpdHostCont(int program, const juce::String& name, int width, int height);
    ~UpdHostCont() override;

    /** The host chose another program while the panel is open: it now names that one. */
    void setProgram(int program, const juce::String& name);
    int getProgram() const { return programNumber; }

    void paint(juce::Graphics& g) override;
    void resized() override;

    StsBut& okButton() { return ok; }
    StsBut& cancelButton() { return cancel; }
    juce::Label& label() { return text; }
    int boxX() const { return x0; }
    int boxY() const { return y0; }

private:
    int programNumber;
    int x0, y0;
    juce::Label text;
    StsBut ok{"OK", buttonCommand, StsBut::textDark};
    StsBut cancel{"CANCEL", buttonCommand, StsBut::textDark};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(UpdHostCont)
};

} // namespace zentak
