// MIDI_Setup: the overlay in which the user picks the MIDI input and output port to the instrument:
// two port fields with their lamps, a status line and OK. It changes nothing itself: each choice is
// broadcast as a request (300 input, 302 output, 203 OK) that the main component carries out and then
// shows back. Message thread only.
#pragma once

#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{
class MidiCntrState;

class MIDI_Setup : public juce::Component, public juce::ChangeBroadcaster, public stsbutChangeListener
{
public:
    static constexpr int neededWidth = 810, neededHeight = 290; // the box at (40, 20, 750, 250)
    /** Requests, read by the listener from lastCommand and lastValue. */
    enum Command
    {
        okPressed = 203,
        inputChosen = 300,  // lastValue: entry of inputNames (0 = "NONE")
        outputChosen = 302, // lastValue: entry of outputNames
    };
    static constexpr int okCommand = 1111;

    explicit MIDI_Setup(MidiCntrState* state);
    ~MIDI_Setup() override;

    /** inputNames = "NONE" + inputs, outputNames = "NONE" + outputs. */
    void setPortLists(const juce::StringArray& inputs, const juce::StringArray& outputs);
    /** Opens the input (or output) menu when it has a device to offer; the choice is broadcast. */
    void openPortMenu(bool input);

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    /** The application bar under the panel's top 28 pixels stays in reach (MIDI closes the panel). */
    bool hitTest(int x, int y) override { return y >= 28 && juce::Component::hitTest(x, y); }
    void stsbutChanged(StsBut& button) override;

    StsLabel& statusLabel() { return status; }
    StsBut& okButton() { return ok; }

    /** The name shown in a field: the selected entry, "NONE" when outside the list. */
    juce::String inputText() const
    {
        return inputNames[selectedInput].isEmpty() ? "NONE" : inputNames[selectedInput];
    }
    juce::String outputText() const
    {
        return outputNames[selectedOutput].isEmpty() ? "NONE" : outputNames[selectedOutput];
    }

    juce::StringArray inputNames{"NONE"}, outputNames{"NONE"};
    int selectedInput = 0, selectedOutput = 0;
    bool inputOpen = false, outputOpen = false;
    int lastCommand = 0, lastValue = 0;

    static juce::Rectangle<int> boxArea() { return {40, 20, 750, 250}; }
    static juce::Rectangle<int> inputField() { return {60, 60, 290, 24}; }
    static juce::Rectangle<int> outputField() { return {60, 110, 290, 24}; }

private:
    void choose(bool input, int entry);
    void paintField(juce::Graphics& g, juce::Rectangle<int> field, const juce::String& name, bool open);

    MidiCntrState* controller; // never owned
    StsLabel status;
    StsBut ok{"OK", okCommand, StsBut::textLined};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MIDI_Setup)
};

} // namespace zentak
