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
    for (const int code : controller->takePendingCodes())
    {
        switch (codes::kind(code))
        {
        case CS_PARAM_CHANGED:
            parameterUpdate(codes::paramIndex(code), codes::paramValue(code));
            break;
        case CS_EDIT_BUFFER_LOADED:
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
}

void MainComp::statusChanged(bool online)
{
    const juce::String text = online ? "DSI:  EVOLVER DSK ON-LINE" : "OFF-LINE";
    bar->statusLabel().setText(text);
    if (midiSetup != nullptr)
        midiSetup->statusLabel().setText(text);
    if (online && globalSetup != nullptr)
        globalSetup->showMainParameters(controller->mainParameters);
}

void MainComp::showNotices()
{
    const auto notices = controller->takeNotices();
    if (!notices.isEmpty())
        bar->showNotice(notices[notices.size() - 1]);
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

void MainComp::refreshFromEditRecord()
{
    const auto record = controller->hostBank().getEdit();
    const int category =
        record.getSize() > 117 ? (int)static_cast<const std::uint8_t*>(record.getData())[117] : 0;
    editor->lcd().show(controller->currentBank.load(), controller->currentProgram.load(), category,
                       controller->hostBank().editName(), categories::name(category));
    editor->refreshFromEditRecord();
    flash->refreshFromEditRecord();
    sequencer->refreshFromEditRecord();
}
} // namespace zentak
