// BankComp: the bank browser page. Lists the 128 programs of one program bank or every program of one
// category across banks A to C, selects a program, and reports its buttons (BANK A … D, FILE, MIDI,
// PRESETS, "Use Loaded Data") to the main component as a command code by change message; the category
// buttons switch the list themselves. The main component listens to the list and the OK button
// directly. Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"
#include "ui/widgets/LCD_Comp.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsGrid.h"
#include "ui/widgets/SwitchLED.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>
#include <vector>

namespace zentak
{

class BankComp : public juce::Component,
                 public juce::ChangeListener,
                 public juce::ChangeBroadcaster,
                 private stsbutChangeListener
{
public:
    static constexpr int neededWidth = 1000, neededHeight = 290; // the list and every button
    /** The command codes reported by change message (read lastCommand()). */
    enum Command
    {
        bankChosen = 200,
        presetsWanted = 201,
        useLoadedDataFlipped = 206,
        fileMenuWanted = 890,
        midiMenuWanted = 891
    };
    static constexpr int numCategoryButtons = 28;

    explicit BankComp(MidiCntrState* controller);
    ~BankComp() override;

    /** Places the browser at (0, 28, width, height) and its children inside. */
    void layout(int width, int height);
    /** Bank mode for bank b with slot selected (without reporting it) and scrolled into view. */
    void showBank(int b, int slot);
    /** Fills the list again in its current mode, keeping the selection and the scroll position where
        the selected program is still listed. */
    void refill();
    /** Shows the current program: bank, number, category and name. */
    void showProgram(int bank, int slot, int category, const juce::String& name);

    int lastCommand() const { return commandCode; }
    StsGrid& grid() { return list; }
    LCD_Comp& lcd() { return display; }
    SwitchLED& useLoadedDataSwitch() { return useLoaded; }
    StsBut& okButton() { return ok; }
    StsBut& bankButton(int b) { return *bankButtons[(size_t)b]; }
    StsBut& fileButton() { return file; }
    StsBut& midiButton() { return midi; }
    StsBut& presetsButton() { return presets; }
    StsBut& categoryButton(int n) { return *categoryButtons[(size_t)n]; }

    void changeListenerCallback(juce::ChangeBroadcaster* source) override;
    void paint(juce::Graphics& g) override;

private:
    void stsbutChanged(StsBut& button) override;
    void report(int code);
    /** The bank or category listed lights its button. */
    void showListChosen();

    MidiCntrState* controller; // never owned
    std::array<std::unique_ptr<StsBut>, 4> bankButtons;
    StsBut file{"FILE", 6, StsBut::textLined};
    StsBut midi{"MIDI", 6, StsBut::textLined};
    StsBut presets{"PRESETS", 6, StsBut::textLined};
    StsBut ok{"OK", 0, StsBut::textDark};
    SwitchLED useLoaded{"Use Loaded Data", 10.0f};
    StsGrid list;
    std::vector<std::unique_ptr<StsBut>> categoryButtons;
    LCD_Comp display;
    juce::String categoryText;
    juce::Image makerLogo, instrumentLogo, swoosh;
    int commandCode = 0;
    int innerWidth = 0, innerHeight = 0, margin = 9, top = 4;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BankComp)
};

} // namespace zentak
