// The main component's side of the controller state: the notification codes, handled in order, and
// the refresh of everything shown from the edit record.
#include "MainComp.h"

#include "sounddata/ProgramCategories.h"

namespace zentak
{
void MainComp::midiCntrStateChanged(MidiCntrState*)
{
    triggerAsyncUpdate();
}

void MainComp::handleAsyncUpdate()
{
    bool banksChanged = false;
    for (const int code : controller->takePendingCodes())
    {
        switch (codes::kind(code))
        {
        case CS_PARAM_CHANGED:
            parameterUpdate(codes::paramIndex(code), codes::paramValue(code));
            break;
        case CS_EDIT_BUFFER_LOADED:
        case CS_PROGRAM2_EDIT_LOADED: // the second dump form replaces the edit record just the same
            refreshFromEditRecord();
            break;
        case CS_SYNTH_ONLINE:
            statusChanged(true);
            break;
        case CS_SYNTH_OFFLINE:
            statusChanged(false);
            break;
        case CS_TRANSFER_PROGRESS:
        case CS_TRANSFER_VERIFYING:
        case CS_TRANSFER_MISMATCH:
        case CS_TRANSFER_DONE:
            handleTransferCode(code);
            break;
        case CS_NOTICE:
            showNotices();
            break;
        case CS_EDITOR_COMMAND:
            // 180: the host chose another program from its audio thread while the host program
            // dialog is open: the dialog moves to it.
            for (const auto command : controller->takeEditorCommands())
                if (command == 180)
                    hostProgramChanged(controller->currentHostProgram.load());
            break;
        case CS_PROGRAM_STORED:
        case CS_PROGRAM2_STORED:
        case CS_NAMES_STORED:
            banksChanged = true; // the lists are filled once, after every code of this update
            break;
        case CS_EDIT_NAME_CHANGED:
            showProgramName();
            break;
        case CS_HOST_CONTROLLER:
            // The host's modulation wheel moves ours; shown only, never sent back.
            if (((code >> 7) & 0x7f) == 1)
                keys->modulationWheel().setValue(code & 0x7f, false);
            break;
        case CS_HOST_PITCH_BEND:
            keys->pitchWheel().setValue((code >> 7) & 0x7f, false);
            break;
        default:
            break; // host notes and the codes nothing shows
        }
    }
    if (banksChanged)
        refreshBankList();
}

void MainComp::statusChanged(bool online)
{
    const juce::String text =
        online ? (controller->simulatorChosen() ? "SIMULATOR ON-LINE" : "DSI:  EVOLVER DSK ON-LINE")
               : "OFF-LINE";
    bar->statusLabel().setText(text);
    if (midiSetup != nullptr)
        midiSetup->statusLabel().setText(text);
    if (online && globalSetup != nullptr)
        globalSetup->showMainParameters(controller->mainParameters);
}

void MainComp::showNotices()
{
    const auto notices = controller->takeNotices();
    if (notices.isEmpty())
        return;
    bar->showNotice(notices[notices.size() - 1]);
    layoutMessages();
}

void MainComp::parameterUpdate(int p, int v)
{
    if (p < 0 || p >= params::numProgramParams)
        return;
    if (p >= params::firstSeqStep)
    {
        sequencer->showStep(p, v);
        return;
    }
    editor->showValue(p, v);
    sequencer->showValue(p, v);
    flash->showValue(p, v);
}

void MainComp::showProgramName()
{
    const int category = (int)controller->hostBank().editByte(117);
    const int bank = controller->currentBank.load(), slot = controller->currentProgram.load();
    const auto name = controller->hostBank().editName();
    editor->lcd().show(bank, slot, category, name, categories::name(category));
    bankBrowser->showProgram(bank, slot, category, name);
}

void MainComp::refreshFromEditRecord()
{
    showProgramName();
    editor->refreshFromEditRecord();
    flash->refreshFromEditRecord();
    sequencer->refreshFromEditRecord();
}
} // namespace zentak
