// The controller state's program selection: a program from a bank into the edit record (from the
// screen, the host or the instrument), storing records, the host program, and keeping a restored
// project's edit record against the host's own re-selection. Message, MIDI-input and audio threads
// (selectProgram neither allocates nor waits).
#include "MidiCntrState.h"

namespace zentak
{
void MidiCntrState::editRecordReplaced(int code)
{
    editReplacedPending.store(true);
    postChange(code);
}

void MidiCntrState::markEditRestored()
{
    restoredEditPending.store(true);
}

bool MidiCntrState::keepsRestoredEdit(int program)
{
    // Hosts re-select the restored program at once, later, or more than once (a wrapper echoing its
    // program parameter, a busy machine): no clock decides, only what happened since the restore. An
    // edit or another program or sound ends it (forgetRestoredEdit), and then the slot loads again.
    return restoredEditPending.load() && program == currentHostProgram.load();
}

// Programs ---------------------------------------------------------------------------------------

void MidiCntrState::selectProgram(int bank, int slot, bool toSynth, bool toHost)
{
    if (bank < 0 || bank > 3 || slot < 0 || slot > 127)
        return;
    currentBank.store(bank);
    currentProgram.store(slot);
    forgetRestoredEdit();
    std::uint8_t record[Bank_Program::slotSize];
    programBanks[(size_t)bank]->copySlot(slot, record);
    hostProgramBank->setEdit(record, sizeof(record));
    editRecordReplaced();

    if (toHost)
    {
        queueHostController(hostChannel, 32, bank);
        queueHostProgramChange(hostChannel, slot);
    }
    if (toSynth)
    {
        const int ch = instrumentChannel.load();
        portsControl->sendController(ch, 32, bank);
        portsControl->sendProgramChange(ch, slot);
    }
}

void MidiCntrState::loadHostProgram()
{
    forgetRestoredEdit();
    hostProgramBank->copySlotToEdit(juce::jlimit(0, 127, currentHostProgram.load()));
    editRecordReplaced();
}

void MidiCntrState::storeProgram(bool intoBank, int bank, int slot, const juce::MemoryBlock& record)
{
    if (intoBank)
    {
        auto* target = programBank(bank);
        if (target == nullptr || slot < 0 || slot > 127)
            return;
        target->setSlot(slot, record);
        postChange(CS_PROGRAM_STORED);
        postChange(CS_EDIT_BUFFER_LOADED);
        return;
    }
    forgetRestoredEdit();
    hostProgramBank->setEdit(record);
    editRecordReplaced();
}

void MidiCntrState::checkConnection()
{
    onLine.store(false);
    postChange(CS_SYNTH_OFFLINE);
    sendRequest(14, 0, 0);
}
} // namespace zentak
