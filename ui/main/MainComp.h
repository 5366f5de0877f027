// MainComp: the main component that fills the editor window and owns every page and panel. This frame
// holds the panel backdrop and the product title; the pages are added to it. Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"
#include "ui/widgets/StsResor.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class MainComp : public juce::Component, public juce::ChangeBroadcaster
{
public:
    explicit MainComp(MidiCntrState* state);
    ~MainComp() override = default;

    void paint(juce::Graphics& g) override;

    /** Shows host slot n with its label in the host-slot chooser, when that chooser is open. */
    void showHostSlotInChooser(int n, const juce::String& label);
    MidiCntrState* state() const { return controller; }
    StsResor& skin() { return *resources; }
    int chooserSlot() const { return hostChooserSlot; }
    const juce::String& chooserLabel() const { return hostChooserLabel; }

private:
    MidiCntrState* controller;                       // never owned
    juce::SharedResourcePointer<StsResor> resources; // the shared skin; its look gives "Arial" our faces
    int hostChooserSlot = -1;
    juce::String hostChooserLabel;
};

} // namespace zentak
