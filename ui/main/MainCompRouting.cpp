// The main component's routing: every change message of its children, the command ids of the buttons,
// and the program clipboard.
#include "MainComp.h"

namespace zentak
{
void MainComp::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (libraryChange(source))
        return;
    for (const auto& b : bar->buttons())
        if (source == b.get())
        {
            runCommand(b->getCommandId());
            return;
        }
    if (source == &bar->channelLabel())
    {
        channelMenu();
        return;
    }
    if (source == &sequencer->programButton())
    {
        runCommand(97);
        return;
    }
    if (source == editor->group(groups::seq).sequencerButton())
    {
        runCommand(98);
        return;
    }
    if (source == &editor->lcd())
    {
        if (editor->lcd().clickArea == LCD_Comp::slotArea)
            programMenu();
        return;
    }
    if (source == flash->group(groups::seq).sequencerButton())
    {
        closeFlashPanel();
        runCommand(98);
        return;
    }
    if (source == sequencer.get())
    {
        sequencerRequest();
        return;
    }
    if (about != nullptr && source == about.get())
    {
        if (writeDialog == nullptr)
            closeAbout();
        return;
    }
    if (routePanelChange(source))
        return;
    if (source == keys.get())
    {
        // A press on the keyboard: in front again, where the user left it until the next layout.
        keys->toFront(false);
        return;
    }
    for (auto& g : editor->allGroups())
        if (source == g.get())
        {
            showFlashGroup(g->groupId());
            return;
        }
    if (source == flash.get())
        closeFlashPanel();
}

void MainComp::runCommand(int id)
{
    switch (id)
    {
    case 71: // Recv: the instrument's edit buffer becomes the edit record when it answers
        controller->sendRequest(0x06, 0, 0);
        return;
    case 73:
        editMenu();
        return;
    case 75:
        fileMenu();
        return;
    case 99: // BANK, and the browser's OK
        if (writeDialog == nullptr)
            toggleBankBrowser();
        return;
    case 969:
        toggleWriteDialog();
        return;
    case 77: // MIDI, GLOBAL and Host wait while the write dialog is open
        if (writeDialog == nullptr)
            toggleMidiSetup();
        return;
    case 771:
        if (writeDialog == nullptr)
            toggleGlobalSetup();
        return;
    case 729:
        if (writeDialog == nullptr)
            openHostDialog(controller->currentHostProgram.load());
        return;
    case 97: // PROGRAM on the sequencer page
    case 98: // SEQUENCER in the sequencer group
        showPage(id);
        return;
    case 701:
        sendMenu();
        return;
    case 808: // SEQ
    case 809: // RST
        if (controller->ports().isOutputOpen())
        {
            const juce::uint8 body = id == 808 ? 0x12 : 0x04;
            controller->sendSysexBody(&body, 1);
        }
        return;
    default:
        return;
    }
}

void MainComp::showPage(int id)
{
    page = id == 98 ? 98 : 97;
    relayout();
}

void MainComp::sequencerRequest()
{
    switch (sequencer->requestCode)
    {
    case SeqPanel::laneEditingClosed:
        relayout();
        editor->setVisible(true);
        return;
    case SeqPanel::openLaneEditingRequest:
        editor->setTopLeftPosition(-2000, 28);
        editor->setVisible(false);
        sequencer->openLaneEditing(sequencer->requestArgument);
        return;
    default:
        return;
    }
}

void MainComp::copyProgram(bool fromBank, int bank, int slot)
{
    if (fromBank)
    {
        auto* b = controller->programBank(bank);
        if (b == nullptr || slot < 0 || slot > 127)
            return;
        clipboard = b->getSlot(slot);
    }
    else
    {
        clipboard = controller->hostBank().getEdit();
    }
}

void MainComp::pasteProgram(bool toBank, int bank, int slot)
{
    if (!clipboard.has_value())
        return;
    controller->storeProgram(toBank, bank, slot, *clipboard);
}
} // namespace zentak
