// WriteSnd: the write dialog, in which the user chooses the program bank, the slot and the name under
// which the edit record is stored in the instrument. Switches banks, follows the list's selection in
// its display and runs its own rename dialog; the main component listens to WRITE and CANCEL and reads
// the choice. Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"
#include "ui/widgets/LCD_Comp.h"
#include "ui/widgets/RenameCnt.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsGrid.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

namespace zentak
{

class WriteSnd : public juce::Component,
                 public juce::ChangeListener,
                 public juce::ChangeBroadcaster,
                 private stsbutChangeListener
{
public:
    /** For the edit record named name, of category (byte 117), offered for bank and slot. */
    WriteSnd(MidiCntrState* controller, int bank, int slot, const juce::String& name, int category);
    ~WriteSnd() override;

    /** Places the dialog at (0, 28, width, height) and its children inside. */
    void layout(int width, int height);

    /** The bank shown and the slot chosen (-1 while no row is selected). */
    int chosenBank() const { return list.getFillArgument(); }
    int chosenSlot() const { return list.selectedRow >= 0 ? list.selectedSlot : -1; }
    /** The name to store: 16 characters, padded with spaces. */
    const juce::String& chosenName() const { return name; }

    void openRename();
    bool isRenameOpen() const { return rename != nullptr; }
    RenameCnt* renameDialog() { return rename.get(); }

    StsBut& writeButton() { return write; }
    StsBut& cancelButton() { return cancel; }
    StsBut& bankButton(int b) { return *bankButtons[(size_t)b]; }
    StsGrid& grid() { return list; }
    LCD_Comp& lcd() { return display; }

    void changeListenerCallback(juce::ChangeBroadcaster* source) override;
    void paint(juce::Graphics& g) override;

private:
    void stsbutChanged(StsBut& button) override;
    void closeRename();
    /** The bank shown lights its button. */
    void showBankChosen();
    static juce::String sixteen(const juce::String& text);

    MidiCntrState* controller; // never owned
    std::array<std::unique_ptr<StsBut>, 4> bankButtons;
    StsBut write{"WRITE", 999, StsBut::textDark};
    StsBut cancel{"CANCEL", 999, StsBut::textDark};
    StsGrid list;
    LCD_Comp display;
    std::unique_ptr<RenameCnt> rename;
    juce::String name;
    int category;
    int margin = 9, boxWidth = 0, boxHeight = 0, left = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(WriteSnd)
};

} // namespace zentak
